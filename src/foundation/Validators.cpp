#include "foundation/Validators.h"

namespace vt {

namespace {
bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool isCapital(QChar c) { return c >= QLatin1Char('A') && c <= QLatin1Char('Z'); }

// Value of a character in an odd position (1st, 3rd, ...): digits share the values of A..J.
constexpr int kOdd[26] = {1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18, 20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};
} // namespace

std::optional<bool> CheckFiscalCode(const QString& text)
{
    if (text.size() != 16)
        return std::nullopt;
    int sum = 0;
    for (int i = 0; i < 15; ++i) {
        const QChar c = text.at(i);
        int index;
        if (isDigit(c))
            index = c.unicode() - '0';
        else if (isCapital(c))
            index = c.unicode() - 'A';
        else
            return false;
        // Position i + 1 is odd when i is even.
        sum += (i % 2 == 0) ? kOdd[index] : index;
    }
    return text.at(15) == QChar(QLatin1Char(char('A' + sum % 26)));
}

bool CheckVatNumber(const QString& text)
{
    if (text.size() != 11)
        return false;
    for (QChar c : text)
        if (!isDigit(c))
            return false;
    int sum = 0;
    for (int i = 0; i < 10; ++i) {
        const int d = text.at(i).unicode() - '0';
        if (i % 2 == 0) {
            sum += d;
        } else {
            const int twice = 2 * d;
            sum += twice / 10 + twice % 10;
        }
    }
    return (10 - sum % 10) % 10 == text.at(10).unicode() - '0';
}

bool CheckExciseNumber(const QString& text, const QString& allowedSeventh)
{
    if (text.size() < 13 || !text.startsWith(QLatin1String("IT00")))
        return false;
    if (!allowedSeventh.contains(text.at(6)))
        return false;
    for (int i = 0; i < 13; ++i)
        if (!isDigit(text.at(i)) && !isCapital(text.at(i)))
            return false;
    return true;
}

} // namespace vt
