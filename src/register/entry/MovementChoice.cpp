#include "register/entry/MovementChoice.h"

#include <QDir>
#include <QFile>
#include <QMap>

#include <functional>
#include <optional>

#include "foundation/AppContext.h"
#include "foundation/Dates.h"
#include "foundation/IoError.h"
#include "foundation/NumberFormat.h"
#include "foundation/RecordFile.h"
#include "foundation/RegisterRecord.h"
#include "foundation/Text.h"
#include "register/store/RegisterStore.h"

namespace vt {

namespace {

enum class Columns { A, B, C };

struct Mode {
    Columns columns = Columns::A;
    bool guaranteeFile = false;
    bool counterpartIsSender = false; // "MITTENTE" rather than "DESTINATARIO"
    bool guarantee = false;           // "GARANZIA" column (set A)
    bool flow = false;                // "N. FLUSSO" column
    bool throughRientri = false;      // conclusion and change-of-destination candidates
    bool keepLatestProgressive = false;
    std::function<bool(const TRecMovimento&)> listed;
};

QString t(const QString& s)
{
    return s.trimmed();
}

bool is(const QString& field, const char* code)
{
    return field.trimmed() == QLatin1String(code);
}

bool sent(const TRecMovimento& r)
{
    return r.numeroFlusso > 0;
}

bool insertion(const TRecMovimento& r)
{
    return is(r.operazione, "I");
}

bool ofType(const TRecMovimento& r, std::initializer_list<const char*> types)
{
    for (const char* ty : types)
        if (is(r.tipoDocumento, ty))
            return true;
    return false;
}

bool conclusion(const TRecMovimento& r)
{
    return (is(r.tipoDocumento, "ROR") && is(r.tipoMovimento, "A")) || (is(r.tipoDocumento, "DAA") && is(r.operazione, "A"));
}

std::optional<Mode> modeOf(QChar op)
{
    Mode m;
    switch (op.unicode()) {
    case 'M':
        m.counterpartIsSender = true;
        m.listed = [](const TRecMovimento& r) { return is(r.tipoMovimento, "C") && insertion(r) && !sent(r); };
        return m;
    case 'm':
        m.guarantee = true;
        m.listed = [](const TRecMovimento& r) { return is(r.tipoMovimento, "S") && insertion(r) && !sent(r); };
        return m;
    case 'E': case 'e':
        m.counterpartIsSender = true;
        m.flow = true;
        m.listed = [](const TRecMovimento& r) { return is(r.tipoMovimento, "C") && insertion(r) && sent(r); };
        return m;
    case 'F': case 'f':
        m.guarantee = true;
        m.flow = true;
        m.listed = [](const TRecMovimento& r) { return is(r.tipoMovimento, "S") && insertion(r) && sent(r); };
        return m;
    case 'A':
        m.columns = Columns::B;
        m.throughRientri = true;
        m.listed = [](const TRecMovimento& r) { return sent(r) && ofType(r, {"EAD", "DAA", "COD"}) && r.dataCollegata == 0; };
        return m;
    case 'a':
        m.columns = Columns::B;
        m.throughRientri = true;
        m.listed = [](const TRecMovimento& r) { return !sent(r) && conclusion(r); };
        return m;
    case 'G':
        m.columns = Columns::B;
        m.throughRientri = true;
        m.flow = true;
        m.listed = [](const TRecMovimento& r) { return sent(r) && conclusion(r); };
        return m;
    case 'D': case 'K':
        m.columns = Columns::B;
        m.throughRientri = true;
        m.keepLatestProgressive = true;
        m.listed = [](const TRecMovimento& r) {
            return sent(r) && ofType(r, {"EAD", "FBC", "FBE", "COD"}) && r.dataCollegata == 0;
        };
        return m;
    case 'k':
        m.columns = Columns::B;
        m.throughRientri = true;
        m.keepLatestProgressive = true;
        m.listed = [](const TRecMovimento& r) { return !sent(r) && is(r.tipoDocumento, "COD"); };
        return m;
    case 'd':
        m.columns = Columns::B;
        m.throughRientri = true;
        m.listed = [](const TRecMovimento& r) { return sent(r) && is(r.tipoDocumento, "COD"); };
        return m;
    case 'H':
        m.columns = Columns::C;
        m.guaranteeFile = true;
        m.listed = [](const TRecMovimento& r) { return !sent(r); };
        return m;
    case 'J': case 'j':
        m.columns = Columns::C;
        m.guaranteeFile = true;
        m.flow = true;
        m.listed = [](const TRecMovimento& r) { return sent(r); };
        return m;
    default:
        return std::nullopt;
    }
}

QString dateText(double value)
{
    return value == 0 ? QString() : dates::ddmmyyyy(value);
}

QString amount(double v, int decimals)
{
    return FormatNumber(v, 0, qint16(decimals)).trimmed();
}

QStringList titlesOf(const Mode& m)
{
    QStringList titles;
    switch (m.columns) {
    case Columns::A:
        titles = {QStringLiteral("DATA MOV."), QStringLiteral("DOC."), QStringLiteral("N. e DATA DOCUMENTO"),
                  QStringLiteral(" CODICE PRODOTTO "), QStringLiteral("LITRI"), QStringLiteral("GRADO"),
                  QStringLiteral("PAESE"),
                  m.counterpartIsSender ? QStringLiteral("MITTENTE") : QStringLiteral("DESTINATARIO"),
                  QStringLiteral("NOTA")};
        if (m.guarantee)
            titles << QStringLiteral("GARANZIA");
        break;
    case Columns::B:
        titles = {QStringLiteral("DATA MOV."), QStringLiteral("DOC."), QStringLiteral("N. e DATA DOCUMENTO"),
                  QStringLiteral("PAESE"), QStringLiteral("DESTINATARIO"), QStringLiteral("GARANZIA"),
                  QStringLiteral("NOTA")};
        break;
    case Columns::C:
        titles = {QStringLiteral("DATA GAR."), QStringLiteral(" IMPEGNATA"), QStringLiteral("SVINCOLATA"),
                  QStringLiteral("   NUOVA"), QStringLiteral("  SCADUTA"), QStringLiteral("   RESTA"),
                  QStringLiteral("NOTA")};
        break;
    }
    if (m.flow)
        titles << QStringLiteral("N. FLUSSO");
    return titles;
}

QStringList columnsOf(const Mode& m, const TRecMovimento& r)
{
    QStringList c;
    switch (m.columns) {
    case Columns::A:
        c = {dateText(r.data), t(r.tipoDocumento), t(r.numeroDocumento) + QStringLiteral(" del ") + dateText(r.dataDocumento),
             t(r.codiceProdotto), amount(r.litri, 3), amount(r.grado, 2), t(r.paese), t(r.controparte), t(r.nota)};
        if (m.guarantee)
            c << amount(r.garanzia, 2);
        break;
    case Columns::B:
        c = {dateText(r.data), t(r.tipoDocumento),
             t(r.numeroDocumento) + QLatin1Char('-') + QString::number(r.progressivoEad) + QStringLiteral(" del ") +
                 dateText(r.dataDocumento),
             t(r.paese), t(r.controparte), amount(r.garanzia, 2), t(r.nota)};
        break;
    case Columns::C:
        c = {dateText(r.data), amount(r.impegnato(), 2), amount(r.svincolato(), 2), amount(r.nuovaCauzione(), 2),
             amount(r.riscattata(), 2), amount(r.disponibile(), 2), t(r.nota)};
        break;
    }
    if (m.flow)
        c << flowShortName(r.dataFlusso, r.numeroFlusso);
    return c;
}

// One candidate per document number and e-AD progressive, its guarantee summed over the lines.
QList<TRecMovimento> gatherCandidates(const QList<TRecMovimento>& records, bool keepLatestProgressive)
{
    QList<TRecMovimento> out;
    QMap<QPair<QString, int>, qsizetype> at;
    for (const TRecMovimento& r : records) {
        const auto key = qMakePair(r.numeroDocumento, int(r.progressivoEad));
        if (auto it = at.find(key); it != at.end()) {
            out[*it].garanzia += r.garanzia;
            continue;
        }
        at.insert(key, out.size());
        out << r;
    }
    if (keepLatestProgressive)
        for (TRecMovimento& a : out)
            for (const TRecMovimento& b : out)
                if (a.numeroDocumento == b.numeroDocumento && a.progressivoEad < b.progressivoEad)
                    a.stato = RegisterState::Superseded;
    return out;
}

void writeListing(const QString& path, const QByteArray& bytes)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size())
        throw IoError(QStringLiteral("ERRORE DI LETTURA/SCRITTURA SUL FILE %1: %2")
                          .arg(QDir::toNativeSeparators(path), out.errorString()));
}

QByteArray readListing(const QString& path)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("ERRORE DI LETTURA/SCRITTURA SUL FILE %1: %2")
                          .arg(QDir::toNativeSeparators(path), in.errorString()));
    return in.readAll();
}

} // namespace

QString movementChooserTitle(QChar mode)
{
    switch (mode.unicode()) {
    case 'M': return QStringLiteral("MODIFICA UN MOVIMENTO DI CARICO");
    case 'm': return QStringLiteral("MODIFICA UN MOVIMENTO DI SCARICO");
    case 'E': return QStringLiteral("RETTIFICA: cancella un carico già inviato al sistema telematico");
    case 'e': return QStringLiteral("RETTIFICA: modifica i dati di un carico già inviato al sistema telematico");
    case 'F': return QStringLiteral("RETTIFICA: cancella uno scarico già inviato al sistema telematico");
    case 'f': return QStringLiteral("RETTIFICA: modifica i dati di uno scarico già inviato al sistema telematico");
    case 'A': return QStringLiteral("Conclusione e-AD emesso (ex rientro 3^ copia)");
    case 'a': return QStringLiteral("Modifica conclusione e-AD emesso (ex rientro 3^ copia)");
    case 'G': return QStringLiteral("RETTIFICA: cancella la conclusione di e-AD emesso già inviata al sistema telematico");
    case 'g': return QStringLiteral("RETTIFICA: modifica la conclusione di e-AD emesso già inviata al sistema telematico");
    case 'D': return QStringLiteral("Cambio di destinazione di tutti i prodotti");
    case 'K': return QStringLiteral("Cambio di destinazione per singolo prodotto");
    case 'k': return QStringLiteral("Modifica cambio di destinazione");
    case 'd': return QStringLiteral("RETTIFICA: cancella il cambio di destinazione già inviato al sistema telematico");
    case 'H': return QStringLiteral("MODIFICA LA GARANZIA DI UN GIORNO");
    case 'J': return QStringLiteral("RETTIFICA: cancella la garanzia già inviata");
    case 'j': return QStringLiteral("RETTIFICA: modifica i dati della garanzia già inviati");
    default: return {};
    }
}

QString movementChoiceFile(const AppContext& ctx, QChar mode, const QString& year)
{
    const auto m = modeOf(mode);
    if (!m)
        return {};
    return ctx.registri(year + (m->guaranteeFile ? QStringLiteral(".GAR") : QStringLiteral(".RGM")));
}

QString flowShortName(double flowDate, int flowNumber)
{
    const QDate d = dates::toDate(flowDate);
    if (flowNumber <= 0 || !d.isValid())
        return {};
    return d.toString(QStringLiteral("MMdd")) + QStringLiteral(".C") + QStringLiteral("%1").arg(flowNumber, 2, 10, QLatin1Char('0'));
}

ChoiceList buildMovementChoice(const AppContext& ctx, QChar op, const QString& year)
{
    ChoiceList list;
    const auto m = modeOf(op);
    QList<ChoiceRow> rows;
    if (m) {
        list.titles = titlesOf(*m);
        QList<TRecMovimento> candidates;
        for (const TRecMovimento& r : readRegister(movementChoiceFile(ctx, op, year))) {
            if (codeIs(r.stato, RegisterState::Superseded) || codeIs(r.operazione, RegisterOperation::Cancellation))
                continue;
            if (m->listed(r))
                candidates << r;
        }
        if (m->throughRientri) {
            candidates = gatherCandidates(candidates, m->keepLatestProgressive);
            QList<QByteArray> work;
            for (const TRecMovimento& r : candidates)
                work << encodeRegisterRecord(r);
            RecordFile(registerfiles::work(ctx, "RIENTRI.DAT"), TRecMovimento::Size).replaceAll(work);
        }
        for (const TRecMovimento& r : candidates)
            if (!codeIs(r.stato, RegisterState::Superseded))
                rows << ChoiceRow{r.numero, columnsOf(*m, r)};
    }
    const QString listing = ctx.temp(QStringLiteral("TABELLA.TXT"));
    writeListing(listing, listingBytes(rows));
    list.rows = parseListing(readListing(listing));
    return list;
}

} // namespace vt
