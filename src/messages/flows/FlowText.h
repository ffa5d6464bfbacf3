#pragma once
// The text conventions shared by every flow file: pieces appended and cut at fixed lengths,
// tab-terminated fields, dates as yyyymmdd, numbers with a decimal point and fixed decimals,
// Windows-1252 lines ended by CR LF.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include "foundation/CompanyRecord.h"

namespace vt::flow {

// Appends piece to text, then cuts the result at cut characters (cut < 0: no cut). A shorter
// value therefore moves the following pieces to the left.
void appendCut(QString& text, const QString& piece, int cut = -1);

// value with a decimal point, exactly `decimals` decimals, no grouping, no padding: 750.000
QString number(double value, int decimals);
// value with leading zeros up to width digits: 7, 3 gives "007"
QString digits(long long value, int width);
// yyyymmdd; "00000000" for a date that cannot be written
QString date(double value);
// A text counts as given when, trimmed, it sorts after "!".
bool given(const QString& text);

// The first line of every message flow, 75 characters with full-width values: user code, flow
// name, customs section, VAT number (company values trimmed), premises as stored and the number
// of lines of the file including this one.
QString headerLine(const QString& userCode, const QString& flowName, const QString& customsSection,
                   const QString& vatNumber, const QString& premises, int lineCount);

// The same line for the company in hand (CompanyRecord: user code, customs section, VAT number).
QString headerLine(const TRecAzienda& company, const QString& flowName, const QString& premises, int lineCount);

// The prefix at the start of every record line of a message flow, one builder for every message:
// the message code ("IE815", "IE810", ...), the company excise number of the company record as
// loaded, trimmed (cut at 23), five spaces (cut at 28), the message's reference as stored - the
// local reference number (22) of an IE815, the ARC (21) of the other messages - and the flow date
// yyyymmdd. With full-width values: 58 characters for an IE815, 57 for the others.
QString recordPrefix(const QString& messageCode, const TRecAzienda& company, const QString& reference,
                     int referenceWidth, double flowDate);

// Builds the fields of one record line; every field is followed by a tab.
class FieldLine {
public:
    explicit FieldLine(QString prefix = {}) : text_(std::move(prefix)) {}
    FieldLine& add(const QString& field);
    FieldLine& empty(int count = 1);
    const QString& text() const { return text_; }

private:
    QString text_;
};

// The lines in Windows-1252, each ended by CR LF. Throws EncodingError for a character the code
// page cannot hold, before anything is written.
QByteArray fileBytes(const QStringList& lines);

// Writes the bytes as the whole new content of path (replaced atomically). Throws IoError.
void writeFlowFile(const QString& path, const QByteArray& bytes);

} // namespace vt::flow
