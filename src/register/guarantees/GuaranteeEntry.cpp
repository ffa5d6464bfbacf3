#include "register/guarantees/GuaranteeEntry.h"

#include <algorithm>

#include "foundation/AppContext.h"
#include "foundation/Dates.h"
#include "foundation/FileGroup.h"
#include "foundation/IoError.h"
#include "foundation/NumberFormat.h"
#include "foundation/RecordFile.h"
#include "foundation/Text.h"
#include "register/entry/MovementEntry.h"
#include "register/store/RegisterStore.h"

namespace vt {

namespace {

QString shown(double v)
{
    return FormatNumber(v, 0, 2).trimmed();
}

bool isSentDay(const TRecGaranzia& g)
{
    return g.numeroFlusso > 0 && guaranteeDayCounts(g);
}

} // namespace

QString toRectifyMessage(double day)
{
    return QStringLiteral("ATTENZIONE LA GARANZIA DEL ") + dates::ddmmyyyy(day) + QStringLiteral(" VA RETTIFICATA");
}

GuaranteePreparation prepareGuaranteeDays(const AppContext& ctx, int year)
{
    GuaranteePreparation p;
    const QHash<double, DayTotals> totals = movementTotalsByDay(ctx, year);
    QList<double> days = totals.keys();
    std::sort(days.begin(), days.end());
    const QList<TRecGaranzia> stored = readRegister(registerfiles::guarantees(ctx, year));
    QList<double> toRectify;
    for (double day : days) {
        TRecGaranzia t = blankRegisterRecord();
        t.data = day;
        t.registro = QStringLiteral("F");
        t.operazione = RegisterOperation::Insert;
        t.impegnato() = totals[day].impegnato;
        t.svincolato() = totals[day].svincolato;
        t.numeroFlusso = NoSentDay;
        for (const TRecGaranzia& g : stored)
            if (registerDay(g.data) == day && isSentDay(g))
                t.numeroFlusso = sameAmount(g.impegnato(), t.impegnato()) && sameAmount(g.svincolato(), t.svincolato())
                    ? SentDayMatches
                    : SentDayDiffers;
        if (t.numeroFlusso == SentDayDiffers)
            toRectify << day;
        p.days << t;
    }
    // A sent day whose committing and releasing movements were all cancelled since.
    for (const TRecGaranzia& g : stored) {
        const double day = registerDay(g.data);
        if (isSentDay(g) && !totals.contains(day) &&
            (!sameAmount(g.impegnato(), 0) || !sameAmount(g.svincolato(), 0)) && !toRectify.contains(day))
            toRectify << day;
    }
    std::sort(toRectify.begin(), toRectify.end());
    for (double day : toRectify)
        p.toRectify << toRectifyMessage(day);
    return p;
}

QString guaranteeCaption(QChar mode)
{
    switch (mode.toLatin1()) {
    case 'H':
        return QStringLiteral("Modifica garanzia sulla circolazione");
    case 'J':
        return QStringLiteral("RETTIFICA: cancella garanzia inviata");
    case 'j':
        return QStringLiteral("RETTIFICA: modifica i dati della garanzia inviata");
    default:
        return QStringLiteral("Inserisce garanzia sulla circolazione");
    }
}

bool isGuaranteeRectification(QChar mode)
{
    return mode == QLatin1Char('J') || mode == QLatin1Char('j');
}

GuaranteeFields startingFields(QChar mode, const TRecGaranzia& o, const GuaranteeDay& day)
{
    GuaranteeFields f;
    f.DATMOV = dates::toDate(o.data);
    f.DOUBL1 = shown(day.impegnato);
    f.DOUBL2 = shown(day.svincolato);
    f.DOUBL3 = shown(o.nuovaCauzione());
    f.DOUBL4 = shown(o.riscattata());
    f.MITDES = trimField(o.controparte);
    f.ANNOTA = trimField(o.nota);
    if (mode == QLatin1Char('I') || mode == QLatin1Char('i'))
        loadUnsentOfDay(day, f);
    return f;
}

bool loadUnsentOfDay(const GuaranteeDay& day, GuaranteeFields& f)
{
    if (!day.unsent)
        return false;
    f.DOUBL3 = shown(day.unsent->nuovaCauzione());
    f.DOUBL4 = shown(day.unsent->riscattata());
    f.MITDES = trimField(day.unsent->controparte);
    f.ANNOTA = trimField(day.unsent->nota);
    return true;
}

QList<TRecGaranzia> guaranteeRecordsOf(const AppContext& ctx, double date)
{
    QList<TRecGaranzia> out;
    const double day = registerDay(date);
    const int year = registerYear(day);
    if (year <= 0)
        return out;
    for (const TRecGaranzia& g : readRegister(registerfiles::guarantees(ctx, year)))
        if (registerDay(g.data) == day)
            out << g;
    return out;
}

GuaranteeComposition composeGuarantee(QChar mode, const TRecGaranzia& o, const GuaranteeDay& day,
    const GuaranteeFields& f, const QList<TRecGaranzia>& dayRecords)
{
    GuaranteeComposition c;
    if (!f.DATMOV.isValid()) {
        c.verdict = CheckResult::fail(QString(), QStringLiteral("DATMOV"));
        return c;
    }
    const double d = dates::fromDate(f.DATMOV);
    if (!isGuaranteeRectification(mode) && day.sentExists) {
        c.verdict = CheckResult::fail(QString::fromUtf8(GuaranteeAlreadyEntered), QStringLiteral("DATMOV"));
        return c;
    }
    if (mode == QLatin1Char('H')) {
        // Another record of that day would be overwritten by the modified one.
        const bool sameFile = registerYear(o.data) == registerYear(d);
        for (const TRecGaranzia& g : dayRecords)
            if (!(sameFile && g.numero == o.numero) && !codeIs(g.stato, RegisterState::Superseded)) {
                c.verdict = CheckResult::fail(QStringLiteral("ESISTE GIA' LA GARANZIA DEL %1: MODIFICARE QUELLA")
                                                  .arg(f.DATMOV.toString(QStringLiteral("dd/MM/yyyy"))),
                    QStringLiteral("DATMOV"));
                return c;
            }
    }
    const std::pair<const QString*, const char*> amounts[] = {
        {&f.DOUBL1, "DOUBL1"}, {&f.DOUBL2, "DOUBL2"}, {&f.DOUBL3, "DOUBL3"}, {&f.DOUBL4, "DOUBL4"}};
    double values[4];
    for (int i = 0; i < 4; ++i) {
        values[i] = ParseDecimal(*amounts[i].first, 2);
        if (values[i] < 0) {
            c.verdict = CheckResult::fail(
                QStringLiteral("L'IMPORTO NON PUO' ESSERE NEGATIVO"), QString::fromLatin1(amounts[i].second));
            return c;
        }
    }
    if (isGuaranteeRectification(mode) && f.ANNOTA.trimmed().isEmpty()) {
        c.verdict = CheckResult::fail(MsgNoteMandatory, QStringLiteral("ANNOTA"));
        return c;
    }
    TRecGaranzia n = blankRegisterRecord();
    n.data = registerDay(d);
    n.registro = QStringLiteral("F");
    n.operazione = RegisterOperation::Insert;
    n.impegnato() = values[0];
    n.svincolato() = values[1];
    n.nuovaCauzione() = values[2];
    n.riscattata() = values[3];
    n.disponibile() = day.before - values[0] + values[1] + values[2] - values[3];
    RoundTo(n.disponibile(), 2);
    n.controparte = f.MITDES.trimmed();
    n.nota = f.ANNOTA.trimmed();
    PadRegisterRecord(n);
    c.record = n;
    return c;
}

QStringList saveGuarantee(AppContext& ctx, QChar mode, const TRecGaranzia& o, const TRecGaranzia& n)
{
    const QString path = registerfiles::guarantees(ctx, registerYear(n.data));
    switch (mode.toLatin1()) {
    case 'H':
        ModifyRegisterRecord(o, registerfiles::guarantees(ctx, registerYear(o.data)), n, path, ctx.messenger());
        break;
    case 'J':
        RectifyRegisterRecord(
            o, registerfiles::guarantees(ctx, registerYear(o.data)), RectifyKind::Cancel, n, ctx.messenger());
        break;
    case 'j':
        RectifyRegisterRecord(
            o, registerfiles::guarantees(ctx, registerYear(o.data)), RectifyKind::Modify, n, ctx.messenger());
        break;
    default:
        InsertRegisterRecord(n, path, ctx.messenger());
        break;
    }
    QStringList messages = refreshGuaranteeBalances(ctx, registerYear(n.data));
    if (registerYear(o.data) > 0 && registerYear(o.data) != registerYear(n.data))
        messages << refreshGuaranteeBalances(ctx, registerYear(o.data));
    return messages;
}

QStringList refreshGuaranteeBalances(AppContext& ctx, int year)
{
    QStringList messages;
    const QString path = registerfiles::guarantees(ctx, year);
    FileGroup group({path}, &ctx.messenger());
    group.run([&](FileGroup& g) {
        const auto balances = recomputedBalances(ctx, year);
        QList<QByteArray> records = g.read(path, TRecGaranzia::Size);
        bool changed = false;
        for (QByteArray& b : records) {
            TRecGaranzia r = decodeRegisterRecord(b);
            if (!guaranteeDayCounts(r))
                continue;
            const double balance = recomputedBalance(balances, r.numero);
            if (sameAmount(balance, r.disponibile()))
                continue;
            if (r.numeroFlusso > 0) {
                messages << toRectifyMessage(r.data);
                continue;
            }
            r.disponibile() = balance;
            RoundTo(r.disponibile(), 2);
            b = encodeRegisterRecord(r);
            changed = true;
        }
        if (changed)
            g.replace(path, TRecGaranzia::Size, records);
    });
    return messages;
}

} // namespace vt
