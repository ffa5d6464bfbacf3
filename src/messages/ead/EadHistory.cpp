#include "messages/ead/EadHistory.h"

#include <QDate>

#include <algorithm>
#include <optional>

#include "foundation/AppContext.h"
#include "foundation/Dates.h"
#include "foundation/EadRecord.h"
#include "foundation/IoError.h"
#include "foundation/NumberFormat.h"
#include "foundation/RecordFile.h"
#include "foundation/RegisterRecord.h"
#include "foundation/Text.h"
#include "messages/ead/EadStore.h"
#include "messages/ead/Summary.h"
#include "messages/flows/FlowName.h"
#include "register/store/RegisterStore.h"

namespace vt {

namespace {

QString day(double value)
{
    return value == 0 ? QString() : dates::ddmmyyyy(value);
}

QString amount(double value)
{
    return FormatNumber(value, 0, 2).trimmed();
}

// "flusso ABCD1209.C03 del 09/12/2026 n. 3", or the date and number alone
// without a user code.
QString flowText(const AppContext& ctx, double flowDate, std::int32_t flowNumber)
{
    const QString name = flow::flowName(trimField(ctx.CompanyRecord.CODUTE), dates::toDate(flowDate), int(flowNumber));
    QString text = QStringLiteral("del %1 n. %2").arg(day(flowDate)).arg(flowNumber);
    if (name != flow::errorName())
        text = name + QLatin1Char(' ') + text;
    return text;
}

QString sentText(const QString& state)
{
    return trimField(state) == QLatin1String("I") ? QStringLiteral("inviato e accettato")
                                                  : QStringLiteral("non ancora accettato");
}

// When the e-AD was saved: the day count that opens its local reference number
// (a fallback number has none: then the date of its document).
double compiledAt(const TRecEad& e)
{
    const QString ref = trimField(e.riferimentoLocale);
    const qsizetype dash = ref.indexOf(QLatin1Char('-'));
    if (trimField(e.INVDIF) != QLatin1String("S") && dash > 0) {
        bool ok = false;
        const double when = ref.left(dash).toDouble(&ok);
        if (ok && dates::toDate(when).isValid())
            return when;
    }
    return e.DATFAT;
}

struct Reader {
    AppContext& ctx;
    EadHistory& out;
    QString storedArc; // the ARC as stored: 21 characters, space-padded

    template <typename Record, typename Decode> QList<Record> read(const QString& path, int size, Decode decode)
    {
        QList<Record> records;
        try {
            for (const QByteArray& bytes : RecordFile(path, size).readAll())
                records << decode(bytes);
        } catch (const IoError& e) {
            out.damaged << e.text();
        }
        return records;
    }

    bool mine(const QString& arc) const { return !storedArc.trimmed().isEmpty() && padField(arc, 21) == storedArc; }

    void add(double date, const QString& kind, const QString& detail, HistoryOpens opens = HistoryOpens::Nothing,
             const QString& year = {}, std::int32_t number = 0)
    {
        out.events << HistoryEvent{date, kind, detail, opens, year, number};
    }

    void ead(const TRecEad& e, const QString& year)
    {
        add(compiledAt(e), QStringLiteral("e-AD compilato"),
            QStringLiteral("e-AD n. %1 dell'anno %2, fattura %3 del %4, spedizione "
                           "del %5, destinatario %6 %7")
                .arg(e.progressivo)
                .arg(year, trimField(e.NUMFAT), day(e.DATFAT), day(e.DATSPE), trimField(e.DENDES), trimField(e.CITDES)),
            HistoryOpens::Ead, year, e.progressivo);
        if (e.dataFlusso != 0)
            add(e.dataFlusso, QStringLiteral("Flusso IE815"), flowText(ctx, e.dataFlusso, e.numeroFlusso));
        const QString state = padField(e.stato, 1);
        if (state == EadState::Compiled) {
            if (e.dataFlusso != 0)
                add(e.dataFlusso, QStringLiteral("IE815 senza ARC"),
                    QStringLiteral("nessun esito positivo registrato: flusso non "
                                   "inviato o respinto"));
        } else {
            add(e.dataFlusso != 0 ? e.dataFlusso : e.DATSPE, QStringLiteral("IE815 accettato"),
                QStringLiteral("ARC ") + trimField(e.ARC));
            if (state == EadState::Completed || state == EadState::Refused || state == EadState::PartlyRefused)
                add(e.DATSPE, QStringLiteral("Stato dell'e-AD"),
                    state == EadState::Completed ? QStringLiteral("concluso")
                    : state == EadState::Refused ? QStringLiteral("rifiutato")
                                                 : QStringLiteral("rifiutato in parte"));
        }
    }

    void cancellation(const TRecEad& c)
    {
        add(c.dataFlusso != 0 ? c.dataFlusso : c.DATSPE, QStringLiteral("Annullamento"),
            QStringLiteral("motivo %1 %2 %3")
                .arg(trimField(c.MOTANN()), trimField(c.descrizioneMotivo()), trimField(c.NOTMOT()))
                .simplified());
        if (c.dataFlusso != 0)
            add(c.dataFlusso, QStringLiteral("Flusso IE810"),
                flowText(ctx, c.dataFlusso, c.numeroFlusso) + QStringLiteral(", ") + sentText(c.stato));
    }

    void change(const TRecEad& c)
    {
        add(c.DATFAT != 0 ? c.DATFAT : c.dataFlusso, QStringLiteral("Cambio di destinazione"),
            QStringLiteral("n. %1: nuovo destinatario %2 %3 %4, documento %5")
                .arg(c.progressivo)
                .arg(trimField(c.DENDES), trimField(c.COIDDE), trimField(c.CITDES), trimField(c.NUMFAT))
                .simplified());
        if (c.dataFlusso != 0)
            add(c.dataFlusso, QStringLiteral("Flusso IE813"),
                flowText(ctx, c.dataFlusso, c.numeroFlusso) + QStringLiteral(", ") + sentText(c.stato));
    }

    void receipt(const TRecEad& r)
    {
        // The report's arrival date and global conclusion sit where an e-AD keeps
        // other fields.
        add(r.IMGPRO != 0 ? r.IMGPRO : r.dataFlusso, QStringLiteral("Nota di ricezione"),
            QStringLiteral("n. %1: arrivo del %2, esito %3")
                .arg(r.progressivo)
                .arg(day(r.IMGPRO), trimField(r.LINPRG)));
        if (r.dataFlusso != 0)
            add(r.dataFlusso, QStringLiteral("Flusso IE818"),
                flowText(ctx, r.dataFlusso, r.numeroFlusso) + QStringLiteral(", ") + sentText(r.stato));
    }

    static QString movementKind(const TRecMovimento& m)
    {
        if (codeIs(m.operazione, RegisterOperation::Cancellation))
            return QStringLiteral("Registro: rettifica (annulla il n. %1)").arg(m.collegato);
        if (codeIs(m.stato, RegisterState::Replacement))
            return QStringLiteral("Registro: rettifica (sostituisce il n. %1)").arg(m.collegato);
        if (codeIs(m.operazione, RegisterOperation::Conclusion))
            return QStringLiteral("Registro: conclusione");
        if (codeIs(m.operazione, RegisterOperation::ConclusionCancelled))
            return QStringLiteral("Registro: annullamento della conclusione");
        const QString type = m.tipoMovimento.trimmed();
        if (type == QLatin1String("S"))
            return QStringLiteral("Registro: scarico");
        if (type == QLatin1String("C"))
            return QStringLiteral("Registro: carico");
        if (codeIs(m.tipoDocumento, QStringLiteral("COD")))
            return QStringLiteral("Registro: cambio di destinazione");
        return QStringLiteral("Registro: annotazione");
    }

    static QString stateText(const TRecMovimento& m)
    {
        if (codeIs(m.stato, RegisterState::Superseded))
            return QStringLiteral("superato");
        if (codeIs(m.stato, RegisterState::Replacement))
            return QStringLiteral("sostitutivo");
        return QStringLiteral("attivo");
    }

    static bool commits(const TRecMovimento& m)
    {
        const QString doc = m.tipoDocumento.trimmed();
        return (doc == QLatin1String("EAD") || doc == QLatin1String("FBE") || doc == QLatin1String("DAA")
                || doc == QLatin1String("COD") || doc == QLatin1String("FBC"))
               && codeIs(m.operazione, RegisterOperation::Insert) && !codeIs(m.stato, RegisterState::Superseded);
    }

    static bool releases(const TRecMovimento& m)
    {
        const QString doc = m.tipoDocumento.trimmed();
        const bool receipt = (doc == QLatin1String("ROR") || doc == QLatin1String("FBR"))
                             && codeIs(m.operazione, RegisterOperation::Insert)
                             && codeIs(m.tipoMovimento, QStringLiteral("A"));
        return (receipt || codeIs(m.operazione, RegisterOperation::Conclusion))
               && !codeIs(m.stato, RegisterState::Superseded);
    }

    void movement(const TRecMovimento& m, int year)
    {
        const QString sent = m.numeroFlusso != 0
                                 ? QStringLiteral("inviato con il ") + flowText(ctx, m.dataFlusso, m.numeroFlusso)
                                 : QStringLiteral("non inviato");
        QString detail = QStringLiteral("numero %1, progressivo %2, %3, %4")
                             .arg(m.numero)
                             .arg(m.progressivo)
                             .arg(stateText(m), sent);
        if (!m.prodottoAziendale.trimmed().isEmpty())
            detail += QStringLiteral(", prodotto %1 litri %2").arg(m.prodottoAziendale.trimmed(), amount(m.litri));
        add(m.data, movementKind(m), detail, HistoryOpens::Movement, QString::number(year), m.numero);
        if (commits(m))
            add(m.data, QStringLiteral("Garanzia impegnata"),
                QStringLiteral("euro %1 (registro n. %2)").arg(amount(m.garanzia)).arg(m.numero));
        else if (releases(m))
            add(m.data, QStringLiteral("Garanzia svincolata"),
                QStringLiteral("euro %1 (registro n. %2)").arg(amount(m.garanzia)).arg(m.numero));
    }

    void guaranteeDay(const TRecGaranzia& g)
    {
        const QString sent = g.numeroFlusso != 0
                                 ? QStringLiteral("inviato con il ") + flowText(ctx, g.dataFlusso, g.numeroFlusso)
                                 : QStringLiteral("non inviato");
        add(g.data, QStringLiteral("Registro garanzie del giorno"),
            QStringLiteral("numero %1, progressivo %2: impegnato %3, svincolato "
                           "%4, disponibile %5, %6")
                .arg(g.numero)
                .arg(g.progressivo)
                .arg(amount(g.impegnato()), amount(g.svincolato()), amount(g.disponibile()), sent));
    }
};

int arcYear(const QString& arc)
{
    bool ok = false;
    const int yy = arc.left(2).toInt(&ok);
    return ok ? 2000 + yy : 0;
}

void readAll(AppContext& ctx, EadHistory& out, int firstYear, const std::optional<TRecEad>& onlyEad,
             const QString& onlyEadYear)
{
    Reader r{ctx, out, onlyEad ? QString() : padField(out.arc, 21)};
    auto header = [](const QByteArray& b) { return decodeEad(b); };
    auto movement = [](const QByteArray& b) { return decodeRegisterRecord(b); };
    if (onlyEad) {
        r.ead(*onlyEad, onlyEadYear);
        return;
    }
    QList<double> guaranteeDays;
    for (int year = firstYear; year <= firstYear + 1; ++year) {
        const QString y = QString::number(year);
        for (const TRecEad& e : r.read<TRecEad>(eadfiles::headers(ctx, y), TRecEad::Size, header))
            if (r.mine(e.ARC))
                r.ead(e, y);
        for (const TRecEad& c : r.read<TRecEad>(ctx.registri(y + QStringLiteral("_810.DAT")), TRecEad::Size, header))
            if (r.mine(c.ARC))
                r.cancellation(c);
        for (const TRecEad& c : r.read<TRecEad>(ctx.registri(y + QStringLiteral("_813.DAT")), TRecEad::Size, header))
            if (r.mine(c.ARC))
                r.change(c);
        for (const TRecEad& c : r.read<TRecEad>(ctx.registri(y + QStringLiteral("_818_J.DAT")), TRecEad::Size, header))
            if (r.mine(c.ARC))
                r.receipt(c);
        for (const TRecMovimento& m :
             r.read<TRecMovimento>(registerfiles::movements(ctx, year), TRecMovimento::Size, movement))
            if (r.mine(m.numeroDocumento)) {
                r.movement(m, year);
                if (Reader::commits(m) || Reader::releases(m))
                    guaranteeDays << registerDay(m.data);
            }
    }
    if (!guaranteeDays.isEmpty()) {
        QList<int> years;
        for (double d : guaranteeDays)
            if (const int y = registerYear(d); y > 0 && !years.contains(y))
                years << y;
        for (int year : years)
            for (const TRecGaranzia& g :
                 r.read<TRecGaranzia>(registerfiles::guarantees(ctx, year), TRecGaranzia::Size, movement))
                if (guaranteeDays.contains(registerDay(g.data)) && codeIs(g.registro, QStringLiteral("F"))
                    && !codeIs(g.stato, RegisterState::Superseded)
                    && !codeIs(g.operazione, RegisterOperation::Cancellation))
                    r.guaranteeDay(g);
    }
}

void sortByDay(EadHistory& h)
{
    std::stable_sort(h.events.begin(), h.events.end(), [](const HistoryEvent& a, const HistoryEvent& b) {
        return registerDay(a.date) < registerDay(b.date);
    });
}

} // namespace

bool historyArcValid(const QString& arc)
{
    const QString a = arc.trimmed();
    if (a.size() != 21 || arcYear(a) == 0)
        return false;
    return std::all_of(a.cbegin(), a.cend(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
               || (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
    });
}

EadHistory eadHistory(AppContext& ctx, const QString& arc)
{
    EadHistory h;
    h.arc = arc.trimmed().toUpper();
    if (!historyArcValid(h.arc))
        return h;
    readAll(ctx, h, arcYear(h.arc), std::nullopt, {});
    sortByDay(h);
    return h;
}

EadHistory eadHistoryOf(AppContext& ctx, const QString& year, std::int32_t progressive)
{
    EadHistory h;
    std::optional<TRecEad> e;
    try {
        e = findHeader(eadfiles::headers(ctx, year), progressive);
    } catch (const IoError& err) {
        h.damaged << err.text();
        return h;
    }
    if (!e)
        return h;
    if (historyArcValid(trimField(e->ARC))) {
        // The e-AD's own year first: an ARC given early in January may carry the
        // year after.
        h.arc = trimField(e->ARC).toUpper();
        bool ok = false;
        const int y = year.toInt(&ok);
        readAll(ctx, h, ok ? y : arcYear(h.arc), std::nullopt, {});
    } else {
        readAll(ctx, h, 0, e, year);
    }
    sortByDay(h);
    return h;
}

QStringList historyRecordText(AppContext& ctx, const HistoryEvent& event)
{
    if (event.opens == HistoryOpens::Ead) {
        const std::optional<TRecEad> e = findHeader(eadfiles::headers(ctx, event.year), event.number);
        if (!e)
            return {};
        auto mine = [&](const QString& path) {
            QList<TRecDettaglio> out;
            for (const TRecDettaglio& l : readLines(path))
                if (l.progressivo == event.number)
                    out << l;
            return out;
        };
        return eadSummaryLines(*e, mine(eadfiles::transport(ctx, event.year)),
                               mine(eadfiles::products(ctx, event.year)), blocksFromHeader(*e));
    }
    if (event.opens == HistoryOpens::Movement) {
        const std::optional<TRecMovimento> m =
            findRegisterRecord(registerfiles::movements(ctx, event.year.toInt()), event.number);
        if (!m)
            return {};
        QStringList lines;
        for (const auto& f : TRecMovimento::fields()) {
            const QString name = QString::fromLatin1(f.name);
            QString value;
            switch (f.kind) {
            case FieldKind::Int32: value = QString::number(*static_cast<const std::int32_t*>(f.cref(*m))); break;
            case FieldKind::Double: {
                const double d = *static_cast<const double*>(f.cref(*m));
                value = name.startsWith(QLatin1String("data")) ? day(d) : amount(d);
                break;
            }
            case FieldKind::Text: value = static_cast<const QString*>(f.cref(*m))->trimmed(); break;
            }
            lines << name.leftJustified(22, QLatin1Char(' ')) + value;
        }
        return lines;
    }
    return {};
}

Listing historyListing(const EadHistory& history)
{
    Listing l;
    l.title = history.arc.isEmpty() ? QStringLiteral("STORIA DELL'e-AD")
                                    : QStringLiteral("STORIA DELL'e-AD - ARC ") + history.arc;
    l.columnTitles = {QStringLiteral("DATA"), QStringLiteral("EVENTO"), QStringLiteral("DETTAGLI")};
    l.widths.fill(0);
    for (int i = 0; i < 3; ++i)
        l.widths[i] = kListingMinWidth;
    for (const HistoryEvent& e : history.events) {
        ListingItem item;
        item.columns = {day(e.date), e.kind, e.detail};
        item.number = e.number;
        for (int i = 0; i < 3; ++i)
            l.widths[i] = std::max<int>(l.widths[i], int(item.columns[i].size()));
        l.items << item;
    }
    return l;
}

} // namespace vt
