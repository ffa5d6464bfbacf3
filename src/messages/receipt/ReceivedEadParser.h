#pragma once
// Reading one received e-AD: the XML document the customs system delivers to the consignee,
// turned into the header and the body lines its report of receipt needs.
//
// The file comes from outside, so it is read as untrusted input: elements are matched by their
// local name (whatever namespace prefix the document uses) and their values are the element's own
// text; a document larger than MaxDocumentBytes, nested deeper than MaxDepth, carrying a DTD, or
// malformed or truncated is refused, and so is one whose key values cannot be right (an ARC that
// is not 21 letters and digits, a validation date that is not a date, a sequence number that is not a
// number, a body reference outside 1-999 or repeated, a negative quantity, strength or number of
// packages, no body line). A refused document gives no
// header at all, never a blank one.
//
// Tabs and line breaks inside a value become blanks (they would split the fields and lines of the
// flow files). Characters that Windows-1252 cannot hold lose their accent where the letter has a plain form
// (ő -> o) and otherwise become "?"; the document is then still read, with charactersReplaced set.
#include <QByteArray>
#include <QList>
#include <QString>

#include "foundation/EadRecord.h"

namespace vt {

struct ReceivedEad {
    bool ok = false;
    QString problem;                // why the document was refused (ok false)
    TRecEad header;                 // working form; progressive 0, flow data 0, state " "
    QList<TRecDettaglio> lines;     // working form, in document order; numbers at 0 and 4 left 0
    bool charactersReplaced = false;
    QString consigneeId;            // the consignee the document is addressed to ("Traderid"), if given
    QString consigneeName;
};

inline constexpr qint64 MaxDocumentBytes = 4 * 1024 * 1024;
inline constexpr int MaxDepth = 64;

ReceivedEad parseReceivedEad(const QByteArray& xml);

// The text with every character Windows-1252 cannot hold replaced: the accent dropped where the
// letter has a plain form, otherwise "?". replaced tells whether anything changed.
QString toCp1252Letters(const QString& text, bool* replaced = nullptr);

// `ProductKey` of a received line: Trim(excise product code) + "-" + Trim(CN code) + "-" + the two
// characters at offset 14 as stored + "-" + the CADD code as stored (4 characters).
QString receivedProductKey(const TRecDettaglio& line);

} // namespace vt
