#pragma once
// Numbers typed and shown the Italian way: comma as decimal separator, point as thousands
// separator.
#include <QString>
#include <QtGlobal>

namespace vt {

// The digits among the first 20 characters, read as an integer; negative when a minus sign occurs
// among them. No digits give 0; a value outside the 32-bit range gives 0 as well.
qint32 ParseInteger(const QString& text);

// The first 20 characters read as a number: points before the first comma are thousands points,
// the first comma is the decimal point; negative when a minus sign occurs among them. Rounded
// half away from zero to the given decimals. A text that cannot be read as a number gives 0.
double ParseDecimal(const QString& text, qint16 decimals);

// Reduces the value to 5 decimals, then rounds it half away from zero to the given decimals.
void RoundTo(double& value, int decimals);

// The value with thousands points and a decimal comma, right-aligned in width + 1 characters
// (never cut when longer). Decimals 0 (or -1) choose as many as the value has, up to 5.
QString FormatNumber(double value, int width, qint16 decimals);

} // namespace vt
