#pragma once
#include <QByteArray>
#include <QString>

namespace vt {

// Windows-1252 conversion. A character the code page cannot hold makes toCp1252 fail.
bool isCp1252(const QString& text);
// Characters of text that Windows-1252 cannot hold, each once, in order of appearance.
QString nonCp1252Chars(const QString& text);
bool toCp1252(const QString& text, QByteArray& out);
QString fromCp1252(const QByteArray& bytes);

// Leading and trailing characters with codes up to 32 removed (the working form of a text field).
QString trimField(const QString& text);
// Text cut or padded with spaces to exactly width characters (the stored form).
QString padField(const QString& text, int width);

} // namespace vt
