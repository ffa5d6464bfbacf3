// Number functions and validators on arbitrary typed text and arbitrary values: no crash, no
// undefined behaviour, and the properties the windows, prints and flow files rely on.
#include <cmath>
#include <cstring>
#include <limits>

#include "FuzzCheck.h"
#include "foundation/NumberFormat.h"
#include "foundation/Validators.h"

using namespace vt;

namespace {

// Widths and decimals as the windows and prints ask for them, and out-of-range ones.
const int kWidths[] = {std::numeric_limits<int>::min(), -1, 0, 3, 10, 19, std::numeric_limits<int>::max()};
const qint16 kDecimals[] = {-32768, -1, 0, 1, 2, 3, 5, 21, 32767};
const int kRoundDecimals[] = {-3, 0, 2, 3, 5, 6, 255};

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// The value a formatted text shows: thousands points dropped, the comma as decimal point.
double shownValue(QString s)
{
    s.remove(QLatin1Char(' '));
    s.remove(QLatin1Char('.'));
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = s.toDouble(&ok);
    FUZZ_CHECK(ok, "formatted text does not read as a number: " + s);
    return v;
}

void checkFormat(double v, int width, qint16 decimals)
{
    const QString s = FormatNumber(v, width, decimals);
    auto what = [&] {
        return QStringLiteral("FormatNumber(%1, %2, %3) = [%4]").arg(v, 0, 'g', 17).arg(width).arg(decimals).arg(s);
    };
    for (QChar c : s)
        FUZZ_CHECK(isDigit(c) || c == QLatin1Char(' ') || c == QLatin1Char('.') || c == QLatin1Char(',')
                       || c == QLatin1Char('-'),
                   what());
    FUZZ_CHECK(s.count(QLatin1Char(',')) <= 1, what());

    const qsizetype comma = s.indexOf(QLatin1Char(','));
    const QString whole = comma < 0 ? s : s.left(comma);
    const QString fraction = comma < 0 ? QString() : s.mid(comma + 1);
    for (QChar c : fraction)
        FUZZ_CHECK(isDigit(c), what());
    if (decimals > 0)
        FUZZ_CHECK(fraction.size() == std::min<int>(decimals, 20), what());
    else
        FUZZ_CHECK(fraction.size() <= 5, what()); // automatic decimals stop at 5

    // Right-aligned in width + 1 characters when it fits, never cut when it does not.
    const QString shown = whole.trimmed();
    FUZZ_CHECK(!shown.isEmpty() && !shown.contains(QLatin1Char(' ')), what());
    const qsizetype field = std::max<qsizetype>(qsizetype(std::min(width, 1000)) + 1, shown.size());
    FUZZ_CHECK(whole.size() == field, what());

    // "-" only in front; groups of three digits after the first, at most four points.
    QString digits = shown;
    const bool minus = digits.startsWith(QLatin1Char('-'));
    if (minus)
        digits.remove(0, 1);
    FUZZ_CHECK(!digits.contains(QLatin1Char('-')), what());
    const QStringList groups = digits.split(QLatin1Char('.'));
    FUZZ_CHECK(groups.size() <= 5, what());
    for (qsizetype i = 0; i < groups.size(); ++i) {
        FUZZ_CHECK(!groups[i].isEmpty(), what());
        if (i > 0)
            FUZZ_CHECK(groups[i].size() == 3, what());
    }
    if (groups.size() < 5)
        FUZZ_CHECK(groups[0].size() <= 3, what());
    FUZZ_CHECK(groups[0] == QLatin1String("0") || !groups[0].startsWith(QLatin1Char('0')), what());

    if (!std::isfinite(v)) {
        FUZZ_CHECK(s == FormatNumber(0.0, width, decimals), what()); // shown as 0, never "nan"/"inf"
        return;
    }
    // The value shown is the value rounded to the decimals shown.
    const double back = shownValue(s);
    const double tolerance = 0.5 * std::pow(10.0, -double(fraction.size())) + std::fabs(v) * 1e-15 + 1e-300;
    FUZZ_CHECK(std::fabs(back - v) <= tolerance, what() + QStringLiteral(" shows %1").arg(back, 0, 'g', 17));
    FUZZ_CHECK(minus == (back != 0.0 && v < 0), what());

    // What the program formats, it reads back: ParseDecimal and ParseInteger look at 20 characters.
    if (s.size() <= 20) {
        const qint16 n = decimals > 0 ? decimals : qint16(20);
        const double parsed = ParseDecimal(s, n);
        FUZZ_CHECK(parsed == back, what() + QStringLiteral(" parses as %1").arg(parsed, 0, 'g', 17));
        if (fraction.isEmpty() && std::fabs(back) <= 2147483647.0)
            FUZZ_CHECK(ParseInteger(s) == qint32(back), what());
    }
}

void checkRound(double v, int decimals)
{
    double r = v;
    RoundTo(r, decimals);
    auto what = [&] { return QStringLiteral("RoundTo(%1, %2) = %3").arg(v, 0, 'g', 17).arg(decimals).arg(r, 0, 'g', 17); };
    FUZZ_CHECK(std::isfinite(r) == std::isfinite(v), what());
    if (!std::isfinite(v))
        return;
    const int n = std::clamp(decimals, 0, 5);
    const double bound = 0.5 * std::pow(10.0, -n) + (decimals < 5 ? 0.5e-5 : 0.0) + std::fabs(v) * 1e-15;
    FUZZ_CHECK(std::fabs(r - v) <= bound, what());
    FUZZ_CHECK(r == 0.0 || std::signbit(r) == std::signbit(v), what());
    double again = r;
    RoundTo(again, decimals);
    FUZZ_CHECK(again == r, what() + QStringLiteral(" then %1").arg(again, 0, 'g', 17));
}

void checkParse(const QString& text)
{
    const QString typed = text.left(20);
    QString digits;
    for (QChar c : typed)
        if (isDigit(c))
            digits += c;
    const bool minus = typed.contains(QLatin1Char('-'));
    auto what = [&] { return QStringLiteral("text [%1]").arg(text); };

    const qint32 i = ParseInteger(text);
    if (digits.isEmpty())
        FUZZ_CHECK(i == 0, what());
    if (i != 0)
        FUZZ_CHECK((i < 0) == minus, what());
    QString significant = digits;
    while (significant.startsWith(QLatin1Char('0')))
        significant.remove(0, 1);
    if (significant.size() <= 9) {
        const qint32 magnitude = significant.isEmpty() ? 0 : significant.toInt();
        FUZZ_CHECK(i == (minus ? -magnitude : magnitude), what() + QStringLiteral(" ParseInteger %1").arg(i));
    }

    for (qint16 n : {qint16(-3), qint16(0), qint16(2), qint16(5), qint16(20), qint16(32767)}) {
        const double d = ParseDecimal(text, n);
        auto w = [&] { return what() + QStringLiteral(" ParseDecimal(%1) = %2").arg(n).arg(d, 0, 'g', 17); };
        FUZZ_CHECK(std::isfinite(d), w());
        if (digits.isEmpty())
            FUZZ_CHECK(d == 0.0, w()); // nothing readable gives 0
        if (d != 0.0)
            FUZZ_CHECK((d < 0) == minus, w());
        FUZZ_CHECK(std::fabs(d) < 1e21, w()); // at most 20 digits before the comma
        if (n >= 0 && n <= 5) {
            const double scaled = d * std::pow(10.0, n);
            FUZZ_CHECK(std::fabs(scaled - std::round(scaled)) <= std::fabs(scaled) * 1e-15 + 1e-9, w());
        }
        // Without a comma the decimal reading is the integer reading.
        if (n == 0 && !typed.contains(QLatin1Char(',')) && significant.size() <= 9)
            FUZZ_CHECK(d == double(i), w());
    }
}

const char kAlnum[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

void checkValidators(const QString& text, const uint8_t* data, size_t size)
{
    const std::optional<bool> fiscal = CheckFiscalCode(text);
    FUZZ_CHECK(fiscal.has_value() == (text.size() == 16), text);
    if (fiscal.value_or(false))
        for (QChar c : text)
            FUZZ_CHECK(isDigit(c) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')), text);

    const bool vat = CheckVatNumber(text);
    if (vat) {
        FUZZ_CHECK(text.size() == 11, text);
        for (QChar c : text)
            FUZZ_CHECK(isDigit(c), text);
    }

    const QString allowed = text.left(2);
    if (CheckExciseNumber(text, allowed)) {
        FUZZ_CHECK(text.size() >= 13 && text.startsWith(QLatin1String("IT00")) && allowed.contains(text.at(6)), text);
        for (int k = 0; k < 13; ++k)
            FUZZ_CHECK(isDigit(text.at(k)) || (text.at(k) >= QLatin1Char('A') && text.at(k) <= QLatin1Char('Z')), text);
    }
    FUZZ_CHECK(!CheckExciseNumber(QString(), QStringLiteral("VX")), "empty excise number");

    if (size < 15)
        return;
    // Any 15 letters and digits: exactly one check letter makes a correct fiscal code, and a
    // lower-case or digit check character never does.
    QString code;
    for (size_t k = 0; k < 15; ++k)
        code += QLatin1Char(kAlnum[data[k] % 36]);
    int correct = 0;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        correct += CheckFiscalCode(code + QLatin1Char(letter)).value() ? 1 : 0;
    FUZZ_CHECK(correct == 1, code);
    FUZZ_CHECK(!CheckFiscalCode(code + QLatin1Char('7')).value(), code);
    FUZZ_CHECK(!CheckFiscalCode(code.toLower() + QLatin1Char('a')).value() || code.toLower() == code, code);

    // Any ten digits: exactly one check digit, and every single changed digit is caught.
    QString vatBase;
    for (size_t k = 0; k < 10; ++k)
        vatBase += QLatin1Char(char('0' + data[k] % 10));
    QString good;
    for (char c = '0'; c <= '9'; ++c)
        if (CheckVatNumber(vatBase + QLatin1Char(c)))
            good = vatBase + QLatin1Char(c);
    FUZZ_CHECK(good.size() == 11, vatBase);
    for (int k = 0; k < 11; ++k) {
        QString changed = good;
        changed[k] = QLatin1Char(char('0' + (good.at(k).unicode() - '0' + 1 + data[10 + k % 5] % 9) % 10));
        FUZZ_CHECK(!CheckVatNumber(changed), good + QStringLiteral(" changed to ") + changed);
    }

    // The excise number's form: IT00, two characters, the seventh letter, six more.
    QString excise = QStringLiteral("IT00");
    for (size_t k = 0; k < 9; ++k)
        excise += QLatin1Char(kAlnum[data[k] % 36]);
    excise[6] = QLatin1Char('V');
    FUZZ_CHECK(CheckExciseNumber(excise, QStringLiteral("V")) && CheckExciseNumber(excise, QStringLiteral("VX")), excise);
    excise[6] = QLatin1Char('X');
    FUZZ_CHECK(!CheckExciseNumber(excise, QStringLiteral("V")) && CheckExciseNumber(excise, QStringLiteral("VX")), excise);
    FUZZ_CHECK(!CheckExciseNumber(excise.left(12), QStringLiteral("VX")), excise);
    excise[3] = QLatin1Char('1');
    FUZZ_CHECK(!CheckExciseNumber(excise, QStringLiteral("VX")), excise);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = latin1Text(data, size);
    checkParse(text);
    checkParse(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
    checkValidators(text, data, size);

    // Values: the text read the C way ("1234.5", "-1e300", "nan"), the text read the Italian way,
    // the first eight bytes as a double, and the typed integer.
    QList<double> values{text.toDouble(), ParseDecimal(text, 20), double(ParseInteger(text))};
    if (size >= 8) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        values << raw;
    }
    for (double v : values) {
        for (int n : kRoundDecimals)
            checkRound(v, n);
        for (int w : kWidths)
            for (qint16 d : kDecimals)
                checkFormat(v, w, d);
    }
    return 0;
}
