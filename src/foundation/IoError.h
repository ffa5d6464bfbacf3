#pragma once
#include <QString>

#include "foundation/Text.h"
#include <stdexcept>

namespace vt {

// A failure of a file operation, carrying the message the user will see.
class IoError : public std::runtime_error {
public:
    explicit IoError(const QString& message)
        : std::runtime_error(message.toStdString()), text_(message) {}
    const QString& text() const { return text_; }

private:
    QString text_;
};

// A text that the Windows-1252 code page cannot hold; raised before anything is written. The
// message shows the offending characters, not the whole (padded) value.
class EncodingError : public IoError {
public:
    EncodingError(const QString& field, const QString& value)
        : IoError(QStringLiteral("IL CAMPO %1 CONTIENE CARATTERI NON AMMESSI: %2").arg(field, nonCp1252Chars(value))),
          field_(field) {}
    const QString& field() const { return field_; }

private:
    QString field_;
};

} // namespace vt
