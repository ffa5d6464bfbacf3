#include "messages/receipt/ReceiptReport.h"

#include <QDir>
#include <QFileInfo>

#include <limits>
#include <optional>

#include "foundation/AppContext.h"
#include "foundation/Dates.h"
#include "foundation/FieldAccess.h"
#include "foundation/FileGroup.h"
#include "foundation/IoError.h"
#include "foundation/NumberFormat.h"
#include "foundation/RecordFile.h"
#include "foundation/Tables.h"
#include "foundation/Text.h"
#include "messages/ead/EadStore.h"
#include "messages/flows/FlowText.h"
#include "messages/receipt/ReceiptRegister.h"
#include "messages/receipt/ReceivedImport.h"
#include "messages/ead/Summary.h"

namespace vt {

namespace {

// Offsets of the report header (TRecEad) and its lines (TRecDettaglio).
namespace J {
constexpr int Number = 0, Language = 4, Reserved = 30, Excise = 116, Name = 135, Street = 236, StreetNumber = 302,
              Postcode = 314, City = 325, Office = 1288, Note3 = 1683, Arrival = 2120, Note2 = 2161, Note1 = 2438,
              Outcome = 2679, Arc = 78;
}
namespace K {
constexpr int Number = 0, Report = 4, Line = 8, Indicator = 12, ExciseProduct = 23, Reasons = 39, Note = 56,
              Difference = 2072, Refused = 2080, Quantity = 2088;
}

QString t(const TRecEad& r, int offset)
{
    return trimmedAt(r, offset);
}

QString quantity(double value)
{
    return FormatNumber(value, 0, 3).trimmed();
}

// Slots of the address record: the excise number (length byte and 18 characters) and the name
// that orders the book (length byte and 100 characters).
constexpr int AddressExcise = 4, AddressExciseBytes = 19, AddressName = 42, AddressNameBytes = 101;

// The consignor of a report as a new supplier (stored form, code 0): excise number, name with its
// first letter in upper case, address, and the language (slot 576) from the excise number's
// country. Nothing when the report carries no excise number.
std::optional<QByteArray> consignorAddress(const TRecEad& report)
{
    TRecIndirizzo a = blankCompany();
    trimCompany(a);
    a.CACCI1 = t(report, J::Excise);
    if (a.CACCI1.isEmpty())
        return std::nullopt;
    QString name = t(report, J::Name);
    if (!name.isEmpty())
        name[0] = name[0].toUpper();
    a.DENOM1 = name;
    a.INDIR1 = t(report, J::Street);
    a.NUMCI1 = t(report, J::StreetNumber);
    a.C_A_P1 = t(report, J::Postcode);
    a.CITTA1 = t(report, J::City);
    a.SEZDOG = a.CACCI1.left(2).toLower();
    return encodeCompany(a); // a character the code page cannot hold stops here, before any file
}

// Inserts the supplier into the book unless its excise number is there: the next code, in name
// order (after the records of the same name). False when it was there already.
bool insertSupplier(QList<QByteArray>& book, QByteArray supplier)
{
    const QByteArray excise = supplier.mid(AddressExcise, AddressExciseBytes);
    std::int32_t highest = 0;
    for (const QByteArray& r : book) {
        if (r.mid(AddressExcise, AddressExciseBytes) == excise)
            return false;
        highest = std::max(highest, RecordFile::numberOf(r));
    }
    if (highest == std::numeric_limits<std::int32_t>::max())
        throw IoError(QStringLiteral("LA RUBRICA DEI FORNITORI HA RAGGIUNTO IL NUMERO MASSIMO DI INDIRIZZI: "
                                     "LA NOTA DI RICEZIONE NON E' STATA REGISTRATA"));
    RecordFile::setNumber(supplier, highest + 1);
    const QByteArray key = supplier.mid(AddressName, AddressNameBytes);
    qsizetype at = book.size();
    for (qsizetype i = 0; i < book.size(); ++i)
        if (book[i].mid(AddressName, AddressNameBytes) > key) {
            at = i;
            break;
        }
    book.insert(at, supplier);
    return true;
}

} // namespace

QStringList reasonCodes(const QList<TRecTabella>& t025)
{
    QStringList codes;
    for (const TRecTabella& row : t025) {
        const QString c = trimField(row.Fld[0]);
        if (!c.isEmpty())
            codes << c;
    }
    return codes;
}

bool outcomeWithoutDifferences(const QString& outcome)
{
    const QString o = trimField(outcome);
    return o == QLatin1String("1") || o == QLatin1String("21");
}

QString typeColumnHeader(const QString& outcome)
{
    const QString o = trimField(outcome);
    if (o == QLatin1String("3"))
        return QStringLiteral("   R ");
    if (o == QLatin1String("4"))
        return QStringLiteral(" C/E/R");
    return QStringLiteral(" C / E");
}

QString typeCell(const QString& text, const QString& outcome)
{
    const QString s = trimField(text);
    QChar c = s.isEmpty() ? QLatin1Char(' ') : s.at(0).toUpper();
    if (c == QLatin1Char('R') && trimField(outcome).startsWith(QLatin1Char('2')))
        c = QLatin1Char(' ');
    if (c == QLatin1Char('C') || c == QLatin1Char('E') || c == QLatin1Char('R'))
        return QStringLiteral("   ") + c;
    return {};
}

QString quantityCell(const QString& text)
{
    return FormatNumber(ParseDecimal(trimField(text), 3), 10, 3);
}

QString reasonsIn(const QString& text, const QStringList& codes)
{
    QString found;
    for (const QString& code : codes)
        if (text.contains(code) && !found.contains(code))
            found += code;
    return found;
}

QString reasonsCell(const QString& text, const QStringList& codes)
{
    return QStringLiteral("    ") + reasonsIn(text, codes);
}

bool cellFull(int column, const QString& trimmed)
{
    return (column == 2 && trimmed.size() >= 1) || (column == 4 && trimmed.size() >= 7)
           || (column == 5 && trimmed.size() >= 250);
}

bool keyAccepted(int column, QChar key, const QString& trimmed)
{
    if (column != 3 && column != 4)
        return true;
    if (!(key.isDigit() && key.unicode() < 128) && key != QLatin1Char(','))
        return false;
    return trimmed.size() <= 9;
}

ReceiptGridRow refusedRow(const TRecDettaglio& line)
{
    return {QStringLiteral("   R"), FormatNumber(doubleAt(line, K::Quantity), 10, 3), {}, {}};
}

ReceiptLines buildReceiptLines(const QList<TRecDettaglio>& app, const QList<ReceiptGridRow>& rows,
                               const QString& outcome, const QStringList& codes)
{
    ReceiptLines out;
    const QString o = trimField(outcome);
    // Without the differences page ("1", "21") nothing typed earlier under another outcome counts.
    if (o.startsWith(QLatin1Char('1')) || outcomeWithoutDifferences(o))
        return out;
    const bool refusalAllowed = o == QLatin1String("3") || o == QLatin1String("4");
    for (qsizetype i = 0; i < app.size(); ++i) {
        ReceiptGridRow row = i < rows.size() ? rows[i] : ReceiptGridRow{};
        // A refused e-AD has every line refused whole, whether or not the grid was ever shown.
        if (o == QLatin1String("3")) {
            const ReceiptGridRow refused = refusedRow(app[i]);
            row.type = refused.type;
            row.quantity = refused.quantity;
        }
        TRecDettaglio line = app[i];
        const QString reasons = reasonsIn(row.reasons, codes);
        setTextAt(line, K::Reasons, padField(trimField(reasons).left(7), 7));
        const QString note = trimField(row.note).left(250);
        setTextAt(line, K::Note, note);
        bool enters = flow::given(note) || !reasons.isEmpty();
        if (reasons.contains(QLatin1Char('0')) && note.isEmpty() && out.ok) {
            out.ok = false;
            out.message = QString::fromUtf8(ReasonZeroNeedsNote);
            out.failRow = int(i) + 1;
            out.failColumn = 5;
        }
        double q = ParseDecimal(trimField(row.quantity), 3);
        const double lineQuantity = doubleAt(line, K::Quantity);
        if (q > lineQuantity)
            q = lineQuantity;
        setTextAt(line, K::Indicator, QStringLiteral(" "));
        setDoubleAt(line, K::Difference, 0);
        setDoubleAt(line, K::Refused, 0);
        const QString type = trimField(row.type).toUpper();
        if (type == QLatin1String("E")) {
            setTextAt(line, K::Indicator, QStringLiteral("E"));
            setDoubleAt(line, K::Difference, q);
            enters = true;
        } else if (type == QLatin1String("C")) {
            setTextAt(line, K::Indicator, QStringLiteral("S"));
            setDoubleAt(line, K::Difference, q);
            enters = true;
        } else if (type == QLatin1String("R") && refusalAllowed) {
            setDoubleAt(line, K::Refused, q);
            enters = true;
        }
        // A shortage, an excess or a refusal of no litres would reach the customs as such.
        const bool measured = type == QLatin1String("E") || type == QLatin1String("C")
                              || (type == QLatin1String("R") && refusalAllowed);
        if (measured && q < 0.0005 && out.ok) {
            out.ok = false;
            out.message = QString::fromUtf8(MissingQuantity).arg(int32At(line, K::Line));
            out.failRow = int(i) + 1;
            out.failColumn = 3;
        }
        if (enters) {
            lineToStoredForm(line);
            out.lines << line;
        }
    }
    return out;
}

PageOneCheck checkPageOne(const ReceiptEntry& e, bool outcomeFound, bool languageFound)
{
    if (!outcomeFound || trimField(e.outcome).isEmpty())
        return {false, QStringLiteral("LINPRG"), {}};
    if (!e.arrival.isValid())
        return {false, QStringLiteral("IMGPRO"), {}};
    if (!arrivalYearAccepted(e.arrival))
        return {false, QStringLiteral("IMGPRO"), QString::fromUtf8(ArrivalYearOutOfRange)};
    if (!languageFound || trimField(e.language).isEmpty())
        return {false, QStringLiteral("LINGUA"), {}};
    return {};
}

bool arrivalYearAccepted(const QDate& arrival)
{
    return arrival.isValid() && arrival.year() >= 2008 && arrival.year() <= 2060;
}

QString arrivalQuestion(const QDate& arrival, const QDate& today, const QDate& validated)
{
    if (!arrival.isValid())
        return {};
    if (arrival > today)
        return QString::fromUtf8(ArrivalAfterToday);
    if (validated.isValid() && arrival < validated)
        return QString::fromUtf8(ArrivalBeforeValidation).arg(validated.toString(QStringLiteral("dd/MM/yyyy")));
    return {};
}

TRecEad buildReceiptHeader(const TRecEad& received, const TRecAzienda& company, const ReceiptEntry& e)
{
    TRecEad r = received;
    eadToWorkingForm(r);
    r.progressivo = 0;
    setTextAt(r, J::Reserved, QString());
    r.dataFlusso = 0;
    r.numeroFlusso = 0;
    r.stato = EadState::Compiled;
    setTextAt(r, J::Office, trimField(company.UFFDO2));
    setTextAt(r, J::Language, trimField(e.language));
    const QString note = e.note.left(300);
    setTextAt(r, J::Note1, note.mid(0, 100));
    setTextAt(r, J::Note2, note.mid(100, 100));
    setTextAt(r, J::Note3, note.mid(200, 100));
    setDoubleAt(r, J::Arrival, e.arrival.isValid() ? dates::fromDate(e.arrival) : 0.0);
    setTextAt(r, J::Outcome, trimField(e.outcome));
    return r;
}

QStringList receiptSummaryLines(const TRecEad& r, const QList<TRecDettaglio>& lines, const QList<TRecTabella>& t025,
                                const QString& outcomeDescription)
{
    QStringList s;
    s << QStringLiteral("           Lingua: ") + t(r, J::Language) + QStringLiteral("     - Ufficio Doganale: ")
             + t(r, J::Office);
    s << QStringLiteral("------------------------------ MITTENTE ------------------------------");
    s << QStringLiteral("   Identificativo: ") + t(r, J::Excise);
    s << QStringLiteral("    Denominazione: ") + t(r, J::Name);
    s << QStringLiteral("        Indirizzo: ") + t(r, J::Street) + QStringLiteral(" - n. ") + t(r, J::StreetNumber);
    s << QStringLiteral("         Località: ") + t(r, J::City) + QStringLiteral(" - CAP ") + t(r, J::Postcode);
    s << QString(70, QLatin1Char('-'));
    s << QStringLiteral("   Data di arrivo: ") + dates::ddmmyyyy(doubleAt(r, J::Arrival));
    QString outcomeLine = QStringLiteral("  Esito Ricezione: ") + t(r, J::Outcome);
    if (!outcomeDescription.isEmpty())
        outcomeLine += QLatin1Char(' ') + trimField(outcomeDescription);
    s << outcomeLine;
    s << QStringLiteral("Note/Informazioni: ") + t(r, J::Note1);
    s << QString(19, QLatin1Char(' ')) + t(r, J::Note2);
    s << QString(19, QLatin1Char(' ')) + t(r, J::Note3);
    for (const TRecDettaglio& l : lines) {
        s << QStringLiteral("---------- Eccedenze / Cali / Rifiuto del dettaglio n. ") + QString::number(int32At(l, K::Line))
                 + QStringLiteral(" -----------");
        const QString indicator = trimmedAt(l, K::Indicator);
        if (indicator == QLatin1String("E"))
            s << QStringLiteral("         Eccedenza: ") + quantity(doubleAt(l, K::Difference));
        else if (indicator == QLatin1String("S"))
            s << QStringLiteral("              Calo: ") + quantity(doubleAt(l, K::Difference));
        s << QStringLiteral("               CPA: ") + trimmedAt(l, K::ExciseProduct);
        if (doubleAt(l, K::Refused) > 0.0009)
            s << QStringLiteral("Quantità Rifiutata: ") + quantity(doubleAt(l, K::Refused));
        const QString reasons = storedAt(l, K::Reasons);
        for (QChar c : reasons) {
            if (c == QLatin1Char(' '))
                continue;
            for (const TRecTabella& row : t025)
                if (trimField(row.Fld[0]) == QString(c)) {
                    s << QStringLiteral(" Motivo Insoddisf.: ") + QString(c) + QStringLiteral(" - ")
                             + trimField(row.Fld[1]);
                    break;
                }
        }
        s << QStringLiteral("              Nota: ") + trimmedAt(l, K::Note);
        s << QStringLiteral(" ");
    }
    return s;
}

QString reportDetailsPath(const AppContext& ctx)
{
    return ctx.temp(QStringLiteral("DETTAGLI.818"));
}

QString reportLinesWorkPath(const AppContext& ctx)
{
    return ctx.temp(QStringLiteral("XML.APP"));
}

QList<TRecTabella> readReasons(const AppContext& ctx)
{
    const QString path = tablePath(ctx, QStringLiteral("T025"), ".TAB");
    if (!QFileInfo(path).isFile())
        throw IoError(QStringLiteral("IL FILE %1 NON ESISTE: IMPOSSIBILE COMPILARE LA NOTA DI RICEZIONE")
                          .arg(QDir::toNativeSeparators(path)));
    return ReadRows(path);
}

QStringList writeReceiptSummary(const AppContext& ctx, const TRecEad& report)
{
    QList<TRecDettaglio> lines;
    for (const QByteArray& b : RecordFile(reportDetailsPath(ctx), TRecDettaglio::Size).readAll())
        lines << decodeLine(b);
    QList<TRecTabella> t025;
    const QString path = tablePath(ctx, QStringLiteral("T025"), ".TAB");
    if (QFileInfo(path).isFile())
        t025 = ReadRows(path);
    const QStringList s = receiptSummaryLines(report, lines, t025);
    writeTextLines(eadSummaryPath(ctx), s);
    return s;
}

ReceiptStored storeReceipt(AppContext& ctx, const QString& year, const TRecEad& report,
                           const QList<TRecDettaglio>& app, const QList<TRecDettaglio>& lines)
{
    const QString arrivalYear = yearOfDate(doubleAt(report, J::Arrival));
    if (arrivalYear.isEmpty())
        throw IoError(QStringLiteral("LA DATA DI ARRIVO NON E' VALIDA: LA NOTA DI RICEZIONE NON E' STATA REGISTRATA"));
    TRecEad header = report;
    eadToStoredForm(header);
    const QString arc = storedAt(header, J::Arc);
    (void)encodeEad(header); // a text the code page cannot hold is refused before any file is touched

    const QString jPath = receiptfiles::reports(ctx, year);
    const QString kPath = receiptfiles::reportLines(ctx, year);
    const QString rgmPath = receiptfiles::registerWork(ctx, arrivalYear);
    const QString suppliers = ctx.datiGen(QStringLiteral("INDIRIZZI_F.DAT"));
    const std::optional<QByteArray> consignor = consignorAddress(header);
    ReceiptStored stored;
    FileGroup group({jPath, kPath, rgmPath, suppliers}, &ctx.messenger());
    group.run([&](FileGroup& g) {
        QList<QByteArray> reports = g.read(jPath, TRecEad::Size);
        std::int32_t number = 0;
        for (const QByteArray& r : reports) {
            if (padField(codec::getText(r, J::Arc, 21), 21) == arc)
                throw IoError(QString::fromUtf8(AlreadyReported).arg(trimField(arc)));
            number = std::max(number, RecordFile::numberOf(r));
        }
        number = nextRecordNumber(number, jPath);
        header.progressivo = number;

        // Lines before the header that owns them.
        QList<QByteArray> kLines = g.read(kPath, TRecDettaglio::Size);
        QList<TRecDettaglio> numbered;
        for (TRecDettaglio l : lines) {
            l.numero = number;
            l.progressivo = number;
            kLines << encodeLine(l);
            numbered << l;
        }
        g.replace(kPath, TRecDettaglio::Size, kLines);

        QList<QByteArray> rgm = g.read(rgmPath, RegisterWorkSize);
        rgm << receiptRegisterRecords(header, app, numbered);
        g.replace(rgmPath, RegisterWorkSize, rgm);

        // The consignor into the supplier address book when its excise number is not there yet.
        if (consignor) {
            QList<QByteArray> book = g.read(suppliers, TRecAzienda::Size);
            if (insertSupplier(book, *consignor)) {
                g.replace(suppliers, TRecAzienda::Size, book);
                stored.consignorAdded = true;
            }
        }

        reports << encodeEad(header);
        g.replace(jPath, TRecEad::Size, reports);
        stored.number = number;
    });
    return stored;
}

} // namespace vt
