#include "messages/receipt/ReceivedEadParser.h"

#include <QDate>
#include <QXmlStreamReader>

#include <vector>

#include "foundation/Dates.h"
#include "foundation/FieldAccess.h"
#include "foundation/NumberFormat.h"
#include "foundation/Text.h"

namespace vt {

namespace {

// Offsets of the header (TRecEad) and line (TRecDettaglio) fields a received e-AD fills.
namespace H {
constexpr int LocalReference = 7, Sequence = 56, Arc = 78, Excise = 116, Name = 135, Street = 236, Number = 302,
              Postcode = 314, City = 325, Validated = 2088;
}
namespace L {
constexpr int Reference = 8, Blank14 = 14, ExciseProduct = 23, Cadd = 28, Cn = 47, Brand = 307, Key = 558,
              Description = 809, Packages = 2064, Quantity = 2088, Strength = 2096;
}

bool named(QStringView local, const char* name)
{
    return local.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

bool plainAscii(QStringView text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

// An ARC holds capital letters and digits only.
bool lettersAndDigits(QStringView text)
{
    for (QChar c : text)
        if (!((c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('0') && c <= QLatin1Char('9'))))
            return false;
    return true;
}

// A whole number made of digits only (after trimming); nothing for any other text.
std::optional<int> plainNumber(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 9)
        return std::nullopt;
    for (QChar c : t)
        if (!c.isDigit() || c.unicode() > 127)
            return std::nullopt;
    return t.toInt();
}

// The decimal of a document ("1234.500"): the first point becomes the decimal comma.
double documentDecimal(const QString& text, int decimals)
{
    QString t = text.trimmed().left(20);
    const qsizetype point = t.indexOf(QLatin1Char('.'));
    if (point >= 0)
        t[point] = QLatin1Char(',');
    return ParseDecimal(t, qint16(decimals));
}

class Reader {
public:
    // A default record is a cleared record in working form: every text empty, every number 0.
    explicit Reader(ReceivedEad& out) : out_(out) { out_.header = TRecEad{}; }

    void leaf(QStringView local, const QString& raw, int depth)
    {
        // Line breaks and tabs inside a value become blanks: they would break the flow files'
        // fields and lines.
        QString trimmed = raw.trimmed();
        for (QChar& c : trimmed)
            if (c.unicode() < 0x20)
                c = QLatin1Char(' ');
        const QString value = plainAscii(trimmed) ? trimmed : toCp1252Letters(trimmed, &out_.charactersReplaced);
        if (value.isEmpty())
            return; // an empty element holds no text: it is as if it were missing
        if (!inBody_ && named(local, "BodyRecordUniqueReference"))
            inBody_ = true;
        if (inBody_)
            body(local, value);
        else
            header(local, value, depth);
    }

    void elementEnded(int depth)
    {
        if (consigneeOpen_ && depth < consigneeDepth_)
            consigneeOpen_ = false;
        // The consignor's block ends with the element that holds it.
        if (consignorOpen_ && depth < consignorDepth_) {
            consignorOpen_ = false;
            consignorDone_ = true;
        }
    }

    void finish()
    {
        if (line_)
            finishLine();
    }

    QString problem;

private:
    void header(QStringView local, const QString& value, int depth)
    {
        TRecEad& h = out_.header;
        if (named(local, "AdministrativeReferenceCode")) {
            setTextAt(h, H::Arc, value);
            arcSeen_ = true;
        } else if (local.startsWith(QLatin1String("DateAndTimeOfValidationOfEad"), Qt::CaseInsensitive)) {
            // Later versions of the message call it DateAndTimeOfValidationOfEadEsad.
            const QDate d = QDate::fromString(value.left(10), QStringLiteral("yyyy-MM-dd"));
            if (!d.isValid())
                fail(QStringLiteral("DATA DI CONVALIDA DELL'e-AD NON VALIDA (%1)").arg(value.left(30)));
            setDoubleAt(h, H::Validated, dates::fromDate(d));
        } else if (named(local, "LocalReferenceNumber")) {
            setTextAt(h, H::LocalReference, value.left(22));
        } else if (named(local, "SequenceNumber")) {
            const auto n = plainNumber(value.left(10));
            if (!n)
                fail(QStringLiteral("NUMERO PROGRESSIVO DELL'e-AD NON VALIDO (%1)").arg(value.left(30)));
            setInt32At(h, H::Sequence, n.value_or(0));
        }
        // The consignee: the first trader block that starts with an identifier (the place of
        // delivery, later, has one too).
        if (named(local, "Traderid") && out_.consigneeId.isEmpty() && !consignorOpen_) {
            out_.consigneeId = value.left(18);
            consigneeOpen_ = true;
            consigneeDepth_ = depth;
        } else if (consigneeOpen_ && named(local, "TraderName")) {
            out_.consigneeName = value.left(100);
        }
        // Only the trader block that starts with an excise number is the consignor's.
        if (named(local, "TraderExciseNumber") && !consignorOpen_ && !consignorDone_) {
            consignorOpen_ = true;
            consignorDepth_ = depth;
        }
        if (consignorOpen_) {
            if (named(local, "TraderExciseNumber"))
                setTextAt(h, H::Excise, value.left(18));
            else if (named(local, "TraderName"))
                setTextAt(h, H::Name, value.left(100));
            else if (named(local, "StreetName"))
                setTextAt(h, H::Street, value.left(65));
            else if (named(local, "StreetNumber"))
                setTextAt(h, H::Number, value.left(11));
            else if (named(local, "Postcode"))
                setTextAt(h, H::Postcode, value.left(10));
            else if (named(local, "City")) {
                setTextAt(h, H::City, value.left(50));
                consignorOpen_ = false;
                consignorDone_ = true;
            }
        }
    }

    void body(QStringView local, const QString& value)
    {
        if (named(local, "BodyRecordUniqueReference")) {
            if (line_)
                finishLine();
            const auto n = plainNumber(value.left(10));
            if (!n || *n < 1 || *n > 999) {
                fail(QStringLiteral("RIFERIMENTO DI RIGA NON VALIDO (%1): DEVE ESSERE DA 1 A 999").arg(value.left(30)));
                return;
            }
            for (const TRecDettaglio& l : out_.lines)
                if (l.rigaProdotto == *n) {
                    fail(QStringLiteral("RIFERIMENTO DI RIGA %1 RIPETUTO").arg(*n));
                    return;
                }
            line_ = TRecDettaglio{};
            setInt32At(*line_, L::Reference, *n);
            return;
        }
        if (!line_)
            return;
        TRecDettaglio& l = *line_;
        if (named(local, "ExciseProductCode"))
            setTextAt(l, L::ExciseProduct, value.left(4));
        else if (named(local, "CnCode"))
            setTextAt(l, L::Cn, value.left(8));
        else if (named(local, "CaddCode"))
            setTextAt(l, L::Cadd, value.left(4));
        else if (named(local, "CommercialDescription"))
            setTextAt(l, L::Description, value.left(100));
        else if (named(local, "BrandNameOfProducts"))
            setTextAt(l, L::Brand, value.left(100));
        else if (named(local, "Quantity"))
            setDoubleAt(l, L::Quantity, notNegative(documentDecimal(value, 3), "QUANTITA' NEGATIVA", value));
        else if (local.startsWith(QLatin1String("AlcoholicStrength"), Qt::CaseInsensitive))
            setDoubleAt(l, L::Strength, notNegative(documentDecimal(value, 2), "GRADO ALCOLICO NEGATIVO", value));
        else if (named(local, "NumberOfPackages"))
            setInt32At(l, L::Packages,
                       int(notNegative(ParseInteger(value.left(20)), "NUMERO DI COLLI NEGATIVO", value)));
    }

    // Litres, strength and packages of a line are never below 0: such a document is refused.
    double notNegative(double number, const char* what, const QString& value)
    {
        if (number < 0)
            fail(QStringLiteral("%1 ALLA RIGA %2 (%3)")
                     .arg(QLatin1String(what))
                     .arg(line_ ? line_->rigaProdotto : 0)
                     .arg(value.left(30)));
        return number;
    }

    void finishLine()
    {
        setTextAt(*line_, L::Key, receivedProductKey(*line_));
        out_.lines << *line_;
        line_.reset();
    }

    void fail(const QString& why)
    {
        if (problem.isEmpty())
            problem = why;
    }

public:
    bool arcSeen_ = false;

private:
    ReceivedEad& out_;
    bool inBody_ = false;
    bool consigneeOpen_ = false;
    int consigneeDepth_ = 0;
    bool consignorOpen_ = false;
    bool consignorDone_ = false;
    int consignorDepth_ = 0;
    std::optional<TRecDettaglio> line_;
};

} // namespace

QString toCp1252Letters(const QString& text, bool* replaced)
{
    if (isCp1252(text))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        QString one = text.mid(i, text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1);
        i += one.size() - 1;
        if (isCp1252(one)) {
            out += one;
            continue;
        }
        // The letter without its marks, when it has a plain form the code page holds.
        QString plain;
        for (QChar c : one.normalized(QString::NormalizationForm_D))
            if (c.category() != QChar::Mark_NonSpacing && c.category() != QChar::Mark_SpacingCombining
                && c.category() != QChar::Mark_Enclosing)
                plain += c;
        out += (!plain.isEmpty() && plain != one && isCp1252(plain)) ? plain : QStringLiteral("?");
    }
    if (replaced)
        *replaced = true;
    return out;
}

QString receivedProductKey(const TRecDettaglio& line)
{
    return trimField(trimmedAt(line, L::ExciseProduct)) + QLatin1Char('-') + trimmedAt(line, L::Cn) + QLatin1Char('-')
           + storedAt(line, L::Blank14) + QLatin1Char('-') + storedAt(line, L::Cadd);
}

ReceivedEad parseReceivedEad(const QByteArray& xml)
{
    ReceivedEad out;
    if (xml.size() > MaxDocumentBytes) {
        out.problem = QStringLiteral("DOCUMENTO TROPPO GRANDE (PIU' DI %1 MB)").arg(MaxDocumentBytes / (1024 * 1024));
        return out;
    }
    Reader reader(out);
    QXmlStreamReader xr(xml);
    // Text of the element in hand at each depth, and whether it holds other elements.
    struct Open {
        QString text;
        bool hasChild = false;
    };
    std::vector<Open> stack;
    while (!xr.atEnd() && reader.problem.isEmpty()) {
        switch (xr.readNext()) {
        case QXmlStreamReader::DTD:
            reader.problem = QStringLiteral("IL DOCUMENTO CONTIENE UNA DTD, NON AMMESSA");
            break;
        case QXmlStreamReader::StartElement:
            if (!stack.empty())
                stack.back().hasChild = true;
            if (int(stack.size()) >= MaxDepth) {
                reader.problem = QStringLiteral("DOCUMENTO CON PIU' DI %1 LIVELLI DI ELEMENTI").arg(MaxDepth);
                break;
            }
            stack.push_back({{}, false});
            break;
        case QXmlStreamReader::Characters:
            if (!stack.empty() && !stack.back().hasChild && stack.back().text.size() < 4096)
                stack.back().text += xr.text();
            break;
        case QXmlStreamReader::EndElement: {
            if (stack.empty())
                break;
            const Open e = std::move(stack.back());
            stack.pop_back();
            const int depth = int(stack.size()) + 1;
            if (!e.hasChild)
                reader.leaf(xr.name(), e.text, depth);
            reader.elementEnded(depth);
            break;
        }
        default:
            break;
        }
    }
    if (reader.problem.isEmpty() && xr.hasError())
        reader.problem = QStringLiteral("DOCUMENTO XML NON VALIDO O INCOMPLETO (RIGA %1: %2)")
                             .arg(xr.lineNumber())
                             .arg(xr.errorString());
    reader.finish();
    if (reader.problem.isEmpty()) {
        const QString arc = trimmedAt(out.header, H::Arc);
        if (!reader.arcSeen_)
            reader.problem = QStringLiteral("ARC MANCANTE");
        else if (arc.size() != 21)
            reader.problem = QStringLiteral("ARC DI %1 CARATTERI INVECE DI 21 (%2)").arg(arc.size()).arg(arc);
        else if (!lettersAndDigits(arc))
            reader.problem = QStringLiteral("ARC CON CARATTERI NON AMMESSI (%1): SOLO LETTERE E CIFRE").arg(arc);
        else if (doubleAt(out.header, H::Validated) == 0)
            reader.problem = QStringLiteral("DATA DI CONVALIDA DELL'e-AD MANCANTE");
        else if (out.lines.isEmpty())
            reader.problem = QStringLiteral("NESSUNA RIGA DI PRODOTTO (BodyRecordUniqueReference)");
    }
    out.problem = reader.problem;
    out.ok = out.problem.isEmpty();
    if (!out.ok)
        out.lines.clear();
    return out;
}

} // namespace vt
