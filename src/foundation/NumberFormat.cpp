#include "foundation/NumberFormat.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace vt {

namespace {
constexpr int kTypedChars = 20;   // only the first 20 typed characters count
constexpr int kMaxDecimals = 20;  // more would only show binary noise
constexpr int kMaxWidth = 1000;   // a field wider than any window or page

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// A non-negative decimal number as its integer and fraction digits.
struct Digits {
    QString whole;
    QString fraction;
};

// Rounds half away from zero to n fraction digits, on the decimal digits themselves, so that
// 0,125 becomes 0,13 and not what its binary neighbour would give.
Digits roundDigits(Digits d, int n)
{
    if (d.whole.isEmpty())
        d.whole = QStringLiteral("0");
    if (d.fraction.size() <= n) {
        d.fraction = d.fraction.leftJustified(n, QLatin1Char('0'));
        return d;
    }
    const bool up = d.fraction.at(n) >= QLatin1Char('5');
    d.fraction.truncate(n);
    if (up) {
        QString all = d.whole + d.fraction;
        int i = int(all.size()) - 1;
        for (; i >= 0; --i) {
            if (all[i] == QLatin1Char('9')) {
                all[i] = QLatin1Char('0');
            } else {
                all[i] = QChar(all[i].unicode() + 1);
                break;
            }
        }
        if (i < 0)
            all.prepend(QLatin1Char('1'));
        d.whole = all.left(all.size() - n);
        d.fraction = all.right(n);
    }
    return d;
}

// The shortest decimal text that reads back as |value|, as digits.
Digits digitsOf(double value)
{
    const QString text = QString::number(std::fabs(value), 'f', QLocale::FloatingPointShortest);
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return {text, {}};
    return {text.left(dot), text.mid(dot + 1)};
}

double toDouble(const Digits& d, bool negative)
{
    const QString text = d.fraction.isEmpty() ? d.whole : d.whole + QLatin1Char('.') + d.fraction;
    const double v = text.toDouble();
    return (negative && v != 0.0) ? -v : v;
}

bool isZero(const QString& digits)
{
    return std::all_of(digits.begin(), digits.end(), [](QChar c) { return c == QLatin1Char('0'); });
}
} // namespace

qint32 ParseInteger(const QString& text)
{
    const QString t = text.left(kTypedChars);
    QString digits;
    for (QChar c : t)
        if (isDigit(c))
            digits.append(c);
    const bool negative = t.contains(QLatin1Char('-'));
    while (digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    if (digits.isEmpty() || digits.size() > 10)
        return 0;
    const qint64 magnitude = digits.toLongLong();
    if (negative)
        return magnitude > 2147483648LL ? 0 : qint32(-magnitude);
    return magnitude > 2147483647LL ? 0 : qint32(magnitude);
}

double ParseDecimal(const QString& text, qint16 decimals)
{
    const QString t = text.left(kTypedChars);
    const bool negative = t.contains(QLatin1Char('-'));
    QString whole;
    QString fraction; // from the first comma on: its points and digits, the comma as the point
    bool inFraction = false;
    for (QChar c : t) {
        if (!inFraction) {
            if (c == QLatin1Char(','))
                inFraction = true;
            else if (isDigit(c))
                whole.append(c);
        } else if (isDigit(c) || c == QLatin1Char('.')) {
            fraction.append(c);
        }
    }
    // A point after the decimal comma leaves a text that is not a number.
    if (fraction.contains(QLatin1Char('.')) || (whole.isEmpty() && fraction.isEmpty()))
        return 0.0;
    const int n = std::clamp<int>(decimals, 0, kMaxDecimals);
    return toDouble(roundDigits({whole, fraction}, n), negative);
}

void RoundTo(double& value, int decimals)
{
    if (!std::isfinite(value))
        return;
    const bool negative = value < 0;
    Digits d = roundDigits(digitsOf(value), 5);
    if (decimals < 5)
        d = roundDigits(d, std::max(decimals, 0));
    value = toDouble(d, negative);
}

QString FormatNumber(double value, int width, qint16 decimals)
{
    if (!std::isfinite(value))
        value = 0.0;
    width = std::min(width, kMaxWidth);
    int d = decimals;
    if (d <= 0) {
        // Automatic decimals: as many as the fraction has, once reduced to 5.
        double fraction = std::fabs(value) - std::trunc(std::fabs(value));
        RoundTo(fraction, 5);
        Digits f = roundDigits(digitsOf(fraction), 5);
        while (f.fraction.endsWith(QLatin1Char('0')))
            f.fraction.chop(1);
        d = int(f.fraction.size());
    }
    d = std::min(d, kMaxDecimals);

    Digits digits = roundDigits(digitsOf(value), d);
    while (digits.whole.size() > 1 && digits.whole.startsWith(QLatin1Char('0')))
        digits.whole.remove(0, 1);
    const bool fractionZero = isZero(digits.fraction);
    const bool negative = value < 0 && !(isZero(digits.whole) && fractionZero);

    // Thousands points every three digits from the right, at most four of them.
    QString whole = digits.whole;
    for (int pos = int(whole.size()) - 3, n = 0; pos > 0 && n < 4; pos -= 3, ++n)
        whole.insert(pos, QLatin1Char('.'));
    if (negative)
        whole.prepend(QLatin1Char('-'));
    whole = whole.rightJustified(width + 1, QLatin1Char(' '));

    if (fractionZero && d <= 0)
        return whole;
    return whole + QLatin1Char(',') + digits.fraction.leftJustified(d, QLatin1Char('0'));
}

} // namespace vt
