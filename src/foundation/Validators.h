#pragma once
// Checks of the Italian fiscal code, VAT number and excise number, as typed by the user.
#include <QString>

#include <optional>

namespace vt {

// The check character of a 16-character fiscal code. A text whose length is not 16 gets no
// verdict (std::nullopt): the caller shows nothing.
std::optional<bool> CheckFiscalCode(const QString& text);

// An 11-digit VAT number with its check digit.
bool CheckVatNumber(const QString& text);

// The form of an Italian excise number: "IT00", an allowed seventh character ("VX" for the head
// office, "V" for the other premises), and at least 13 characters, the first 13 digits or capital
// letters. An empty text is wrong.
bool CheckExciseNumber(const QString& text, const QString& allowedSeventh);

} // namespace vt
