#include "register/flow/RegisterFlow.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <numeric>

#include "foundation/AppContext.h"
#include "foundation/Dates.h"
#include "foundation/FileGroup.h"
#include "foundation/IoError.h"
#include "foundation/NumberFormat.h"
#include "foundation/RecordFile.h"
#include "foundation/Text.h"
#include "messages/flows/FlowEntryCheck.h"
#include "messages/flows/FlowName.h"
#include "messages/flows/FlowText.h"
#include "register/guarantees/GuaranteeBalance.h"
#include "register/store/RegisterStore.h"

namespace vt {

namespace {

constexpr int kSize = TRecMovimento::Size;

// A TAB, CR or LF inside a field would break the line's layout: it goes out as
// a space.
QString clean(const QString& text)
{
    QString s = text;
    for (QChar& c : s)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    return s;
}

QString trimmed(const QString& text)
{
    return clean(trimField(text));
}

QString positive(double value, int decimals)
{
    return value > 0 ? flow::number(value, decimals) : QString();
}

QString positive(std::int32_t value)
{
    return value > 0 ? QString::number(value) : QString();
}

QString exciseCode(const TRecAzienda& company)
{
    // The first 13 characters of the stored (space-padded) code: the fields after
    // it keep their positions whatever the code's length.
    return clean(padField(trimField(company.CACCI1), 13).left(13));
}

QString prefix(const TRecAzienda& company, const TRecMovimento& r)
{
    return QStringLiteral("ALCOAV") + exciseCode(company) + flow::date(r.data) + clean(r.registro.left(1)) +
        clean(r.operazione.left(1));
}

bool isGuaranteeDay(const TRecMovimento& r)
{
    return codeIs(r.registro, QStringLiteral("F"));
}

// Conclusions and changes of destination carry no movement kind, reason or
// "002".
bool isAnnotation(const TRecMovimento& r)
{
    return (codeIs(r.tipoDocumento, QStringLiteral("ROR")) && !codeIs(r.tipoMovimento, QStringLiteral("C"))) ||
        codeIs(r.tipoDocumento, QStringLiteral("COD"));
}

QString movementLine(const TRecAzienda& company, const TRecMovimento& r)
{
    flow::FieldLine l(prefix(company, r));
    l.add(QStringLiteral("P"));
    l.add(trimmed(company.UFFDO1));
    l.add(clean(r.annoProtocollo));
    l.add(clean(r.numeroProtocollo));
    l.add(QString::number(r.progressivo));
    QString code;
    for (const QChar c : r.codiceProdotto)
        if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')))
            code += c;
    l.add(code);
    l.empty(2);
    l.add(positive(r.litri, 5));
    l.empty(3);
    l.add(positive(r.grado, 5));
    l.add(clean(r.stoccaggio));
    l.add(positive(r.volumeConfezione, 5));
    l.add(positive(r.confezioni));
    l.add(clean(r.tipoDocumento));
    l.add(trimmed(r.numeroDocumento));
    l.add(flow::date(r.dataDocumento));
    l.empty();
    l.add(clean(r.paese));
    l.add(trimmed(r.controparte));
    if (isAnnotation(r)) {
        l.empty(3);
    } else {
        l.add(clean(r.tipoMovimento));
        l.add(clean(r.causale));
        l.add(QStringLiteral("002"));
    }
    l.empty();
    l.add(QStringLiteral("NOTA: ") + trimmed(r.nota));
    l.add(positive(r.progressivoEad));
    l.add(r.progressivoDettaglio > 0 ? clean(r.riferimentoLocale) : QString());
    l.add(positive(r.progressivoDettaglio));
    return l.text();
}

QString guaranteeLine(const TRecAzienda& company, const TRecMovimento& g)
{
    flow::FieldLine l(prefix(company, g));
    l.add(QStringLiteral("C"));
    for (double amount : {g.impegnato(), g.svincolato(), g.nuovaCauzione(), g.riscattata(), g.disponibile()})
        l.add(flow::number(amount, 2));
    l.add(trimmed(g.controparte));
    l.add(QStringLiteral("NOTA: ") + trimmed(g.nota));
    return l.text();
}

QString amount(double value)
{
    return FormatNumber(value, 0, 2).trimmed();
}

// A day that needs a guarantee record: an unload that commits, a conclusion
// that releases.
bool needsGuaranteeDay(const TRecMovimento& r)
{
    if (!(r.garanzia > 0))
        return false;
    const bool conclusion =
        (codeIs(r.tipoMovimento, QStringLiteral("A")) && codeIs(r.tipoDocumento, QStringLiteral("ROR"))) ||
        codeIs(r.operazione, RegisterOperation::Conclusion) ||
        codeIs(r.operazione, RegisterOperation::ConclusionCancelled);
    const bool unload = codeIs(r.tipoMovimento, QStringLiteral("S")) &&
        (codeIs(r.operazione, RegisterOperation::Cancellation) || codeIs(r.operazione, RegisterOperation::Insert));
    return conclusion || unload;
}

// The keys that tie a record to the others it travels with.
QStringList travelKeys(const TRecMovimento& r)
{
    const QString file = r.registro.trimmed();
    QStringList keys{file + QStringLiteral("#") + QString::number(r.numero)};
    if (r.collegato != 0 &&
        (codeIs(r.operazione, RegisterOperation::Cancellation) || codeIs(r.stato, RegisterState::Replacement)))
        keys << file + QStringLiteral("R") + QString::number(r.collegato);
    const QString day = QString::number(registerDay(r.data), 'f', 0);
    if (!isGuaranteeDay(r)) {
        if (codeIs(r.tipoDocumento, QStringLiteral("COD")) && codeIs(r.operazione, RegisterOperation::Insert))
            keys << QStringLiteral("COD|") + day + QLatin1Char('|') + r.numeroDocumento;
        if (codeIs(r.operazione, RegisterOperation::Conclusion) ||
            codeIs(r.operazione, RegisterOperation::ConclusionCancelled))
            keys << QStringLiteral("CONCL|") + r.operazione + day + QLatin1Char('|') + r.numeroDocumento;
    }
    return keys;
}

QList<QList<int>> travelGroups(const QList<TRecMovimento>& records)
{
    const int n = int(records.size());
    std::vector<int> parent(n);
    std::iota(parent.begin(), parent.end(), 0);
    auto find = [&](int i) {
        while (parent[i] != i)
            i = parent[i] = parent[parent[i]];
        return i;
    };
    QHash<QString, int> first;
    for (int i = 0; i < n; ++i)
        for (const QString& key : travelKeys(records[i])) {
            auto it = first.constFind(key);
            if (it == first.cend())
                first.insert(key, i);
            else
                parent[find(i)] = find(*it);
        }
    QHash<int, QList<int>> members;
    for (int i = 0; i < n; ++i)
        members[find(i)] << i;
    QList<QList<int>> groups(n);
    for (int i = 0; i < n; ++i)
        groups[i] = members.value(find(i));
    return groups;
}

// Flow numbers that register records carry for a flow date.
QList<int> numbersCarried(const AppContext& ctx, const QDate& flowDate)
{
    QList<int> carried;
    const double day = dates::fromDate(flowDate);
    for (int y = flowDate.year() - 1; y <= flowDate.year() + 1; ++y)
        for (const QString& path : {registerfiles::movements(ctx, y), registerfiles::guarantees(ctx, y)}) {
            if (!QFileInfo(path).isFile())
                continue;
            for (const TRecMovimento& r : readRegister(path))
                if (r.numeroFlusso > 0 && registerDay(r.dataFlusso) == day)
                    carried << r.numeroFlusso;
        }
    return carried;
}

QString recordName(const TRecMovimento& r)
{
    return QStringLiteral("%1 N. %2 DEL %3")
        .arg(isGuaranteeDay(r) ? QStringLiteral("LA GARANZIA") : QStringLiteral("IL MOVIMENTO"))
        .arg(r.numero)
        .arg(dates::ddmmyyyy(r.data));
}

} // namespace

QStringList registerFlowLines(const TRecAzienda& company, const QString& flowName, const QList<TRecMovimento>& records)
{
    int movements = 0, days = 0;
    QStringList data;
    for (const TRecMovimento& r : records) {
        if (isGuaranteeDay(r)) {
            ++days;
            data << guaranteeLine(company, r);
        } else {
            ++movements;
            data << movementLine(company, r);
        }
    }
    QStringList lines;
    lines << flow::headerLine(company, flowName, QStringLiteral("001"), 2 + movements + days);
    flow::FieldLine fileRecord(QStringLiteral("ALCOAV") + exciseCode(company) + QStringLiteral("00000000A") +
        clean(trimField(company.PARIVA)) + QString(5, QLatin1Char(' ')));
    fileRecord.add(QString::number(movements)).add(QStringLiteral("0")).add(QStringLiteral("0"));
    fileRecord.add(QString::number(days)).add(QStringLiteral("0")).add(QStringLiteral("0"));
    fileRecord.add(QString::number(movements + days + RegisterFlowClosingExtra));
    lines << fileRecord.text();
    lines << data;
    return lines;
}

QByteArray registerFlowBytes(const TRecAzienda& company, const QString& flowName, const QList<TRecMovimento>& records)
{
    return flow::fileBytes(registerFlowLines(company, flowName, records));
}

QString registerListLine(const TRecMovimento& r)
{
    const QString date = dates::ddmmyyyy(r.data);
    if (isGuaranteeDay(r))
        return date + r.operazione + QStringLiteral(" Garanzia | Imp. ") + amount(r.impegnato()) +
            QStringLiteral(" | Svin. ") + amount(r.svincolato()) + QStringLiteral(" | Nuova ") +
            amount(r.nuovaCauzione()) + QStringLiteral(" | Scad. ") + amount(r.riscattata()) +
            QStringLiteral(" | Disp. ") + amount(r.disponibile()) + QStringLiteral(" |");
    const QString head = date + QLatin1Char(' ') + r.operazione + QLatin1Char(' ') + r.tipoDocumento +
        QLatin1Char(' ') + trimField(r.numeroDocumento);
    if (codeIs(r.operazione, RegisterOperation::Conclusion) ||
        codeIs(r.operazione, RegisterOperation::ConclusionCancelled))
        return head + QLatin1Char(' ') + trimField(r.controparte) + QStringLiteral(" rientro 3^ copia");
    return head + QStringLiteral(" - ") + QString::number(r.progressivoEad) + QLatin1Char(' ') +
        trimField(r.controparte) + QStringLiteral(" lt. ") + amount(r.litri) + QStringLiteral(" - ") +
        trimField(r.codiceProdotto) + QLatin1Char(' ') + trimField(r.prodottoAziendale);
}

QString missingGuaranteeMessage(double day)
{
    return QStringLiteral("ATTENZIONE MANCA LA GARANZIA DEL ") + dates::ddmmyyyy(day);
}

QList<int> RegisterFlowList::groupOf(int i) const
{
    return groups.value(i, QList<int>{i});
}

RegisterFlowList buildRegisterFlowList(const AppContext& ctx, int year)
{
    RegisterFlowList list;
    list.year = year;
    QList<double> needDays;
    const QList<TRecMovimento> movements = readRegister(registerfiles::movements(ctx, year));
    for (const TRecMovimento& r : movements) {
        if (r.numeroFlusso != 0)
            continue;
        list.records << r;
        list.lines << registerListLine(r);
        const double day = registerDay(r.data);
        if (needsGuaranteeDay(r) && !needDays.contains(day))
            needDays << day;
    }
    QList<double> covered;
    const QList<TRecGaranzia> days = readRegister(registerfiles::guarantees(ctx, year));
    const auto balances = recomputedBalances(ctx, year, days, movements);
    for (const TRecGaranzia& g : days) {
        covered << registerDay(g.data);
        if (g.numeroFlusso != 0)
            continue;
        list.records << g;
        // The balance the flow will send, as the register holds today.
        TRecGaranzia shown = g;
        if (guaranteeDayCounts(g))
            shown.disponibile() = recomputedBalance(balances, g.numero);
        list.lines << registerListLine(shown);
    }
    std::sort(needDays.begin(), needDays.end());
    for (double day : needDays)
        if (!covered.contains(day))
            list.missingGuaranteeDays << day;
    list.groups = travelGroups(list.records);
    return list;
}

RegisterFlowRequest registerFlowRequest(const RegisterFlowList& list, const QList<int>& ticked)
{
    QSet<int> chosen;
    for (int i : ticked)
        for (int j : list.groupOf(i))
            chosen.insert(j);
    QList<int> items(chosen.begin(), chosen.end());
    std::sort(items.begin(), items.end());
    RegisterFlowRequest rq;
    rq.year = list.year;
    for (int i : items)
        rq.records << list.records[i];
    return rq;
}

QString registerFlowNumberTaken(const AppContext& ctx, const QDate& flowDate, int flowNumber)
{
    if (numbersCarried(ctx, flowDate).contains(flowNumber))
        return QStringLiteral("IL FLUSSO N. %1 DEL %2 E' GIA' STATO CREATO PER IL "
                              "REGISTRO: INDICARE UN ALTRO NUMERO")
            .arg(flowNumber)
            .arg(flowDate.toString(QStringLiteral("dd/MM/yyyy")));
    const QString name = flow::flowName(trimField(ctx.CompanyRecord.CODUTE), flowDate, flowNumber);
    if (QFileInfo::exists(flow::pathIn(ctx.AppConfig.Fld[1], name)))
        return QStringLiteral("IL FLUSSO %1 E' GIA' PRESENTE NELLA CARTELLA DEI "
                              "FILE DA FIRMARE: INDICARE UN ALTRO NUMERO")
            .arg(name);
    return {};
}

int proposedRegisterFlowNumber(const AppContext& ctx, const QDate& flowDate)
{
    int n = proposedFlowNumber(ctx, flowDate);
    for (int carried : numbersCarried(ctx, flowDate))
        n = std::max(n, carried + 1);
    return n;
}

RegisterFlowWritten writeRegisterFlow(AppContext& ctx, const RegisterFlowRequest& rq)
{
    if (rq.records.isEmpty())
        throw IoError(QString::fromLatin1(NothingSelected));
    const QString taken = registerFlowNumberTaken(ctx, rq.flowDate, rq.flowNumber);
    if (!taken.isEmpty())
        throw IoError(taken);

    const double flowDate = dates::fromDate(rq.flowDate);
    QList<TRecMovimento> marked = rq.records;
    // A guarantee day goes with the balance the register holds today, and only
    // when its amounts are still those of the day's movements.
    QList<std::pair<std::int32_t, double>> balances;
    QHash<double, DayTotals> totals;
    bool recomputed = false;
    QStringList stale;
    for (TRecMovimento& r : marked) {
        r.dataFlusso = flowDate;
        r.numeroFlusso = rq.flowNumber;
        if (!isGuaranteeDay(r) || !guaranteeDayCounts(r))
            continue;
        if (!recomputed) {
            balances = recomputedBalances(ctx, rq.year);
            totals = movementTotalsByDay(ctx, rq.year);
            recomputed = true;
        }
        const DayTotals t = totals.value(registerDay(r.data));
        if (!sameAmount(t.impegnato, r.impegnato()) || !sameAmount(t.svincolato, r.svincolato()))
            stale << QStringLiteral("LA GARANZIA DEL %1 NON CORRISPONDE AI MOVIMENTI DEL GIORNO (IMPEGNATO %2, "
                                    "SVINCOLATO %3): VA REINSERITA O RETTIFICATA")
                         .arg(dates::ddmmyyyy(r.data), amount(t.impegnato), amount(t.svincolato));
        r.disponibile() = recomputedBalance(balances, r.numero);
    }
    if (!stale.isEmpty())
        throw IoError(stale.join(QLatin1Char('\n')) + QStringLiteral("\nIL FLUSSO NON E' STATO CREATO"));
    // Every byte of the flow before anything changes: a character the code page
    // cannot hold stops here.
    const QByteArray bytes = registerFlowBytes(ctx.CompanyRecord, rq.flowName, marked);
    const QString flowPath = flow::pathIn(ctx.AppConfig.Fld[1], rq.flowName);
    const QString movementsPath = registerfiles::movements(ctx, rq.year);
    const QString guaranteesPath = registerfiles::guarantees(ctx, rq.year);

    RegisterFlowWritten written{flowPath, 0, 0};
    bool fileWritten = false;
    try {
        FileGroup group({movementsPath, guaranteesPath}, &ctx.messenger());
        group.run([&](FileGroup& g) {
            QList<QByteArray> files[2] = {g.read(movementsPath, kSize), g.read(guaranteesPath, kSize)};
            bool touched[2] = {false, false};
            QHash<std::int32_t, qsizetype> index[2];
            for (int f = 0; f < 2; ++f)
                for (qsizetype i = 0; i < files[f].size(); ++i)
                    index[f].insert(RecordFile::numberOf(files[f][i]), i);
            for (qsizetype k = 0; k < rq.records.size(); ++k) {
                const TRecMovimento& offered = rq.records[k];
                const int f = isGuaranteeDay(offered) ? 1 : 0;
                (f ? written.guaranteeDays : written.movements) += 1;
                QList<QByteArray>& records = files[f];
                const qsizetype i = index[f].value(offered.numero, -1);
                // Another workstation may have changed, sent or removed it since the
                // list was built.
                if (i < 0 || encodeRegisterRecord(decodeRegisterRecord(records[i])) != encodeRegisterRecord(offered))
                    throw IoError(recordName(offered) +
                        QStringLiteral(" E' STATO MODIFICATO, INVIATO O CANCELLATO DA UN'ALTRA "
                                       "POSTAZIONE: "
                                       "IL FLUSSO NON E' STATO CREATO. RICOSTRUIRE L'ELENCO"));
                records[i] = encodeRegisterRecord(marked[k]);
                touched[f] = true;
            }
            if (touched[0])
                g.replace(movementsPath, kSize, files[0]);
            if (touched[1])
                g.replace(guaranteesPath, kSize, files[1]);
            // The flow file is written while the register is locked, just before the
            // marks are.
            flow::writeFlowFile(flowPath, bytes);
            fileWritten = true;
        });
    } catch (const IoError& e) {
        if (!fileWritten)
            throw;
        QFile::remove(flowPath);
        throw IoError(e.text() + QStringLiteral(" - I RECORD NON SONO STATI CONTRASSEGNATI E IL FLUSSO ") +
            QDir::toNativeSeparators(flowPath) + QStringLiteral(" E' STATO ELIMINATO"));
    }
    removeReplacedSigned(ctx, FlowEntry{rq.flowDate, rq.flowNumber, rq.flowName, rq.replaceSigned});
    return written;
}

} // namespace vt
