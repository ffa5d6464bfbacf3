#pragma once
// The import of received e-ADs that starts a report of receipt: the XML files of one year in the
// EMCS download folder (APPL.CFG, fourth path), named after their ARC and therefore beginning with
// the two-digit year, are read in name order; those whose e-AD already has a report of receipt in
// that year's store are left out; the others become one header in TempFolder\XML.DAT and one
// record per body line in TempFolder\XML.ITE, numbered 1, 2, 3 ... in import order.
//
// A document that cannot be read soundly (see ReceivedEadParser.h) is left out with a message that
// names its file; a file whose first line is not an XML declaration is not a received e-AD and is
// left out silently.
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

#include "foundation/EadRecord.h"

namespace vt {

struct AppContext;

namespace receiptfiles {
QString xmlHeaders(const AppContext& ctx);  // TempFolder\XML.DAT
QString xmlLines(const AppContext& ctx);    // TempFolder\XML.ITE
QString reports(const AppContext& ctx, const QString& year);        // yyyy_818_J.DAT
QString reportLines(const AppContext& ctx, const QString& year);    // yyyy_818_K.DAT
QString registerWork(const AppContext& ctx, const QString& year);   // yyyy_818_RGM.DAT
} // namespace receiptfiles

inline const char* const NoMessagesFound = "NON SONO STATI TROVATI MESSAGGI DA COMPLETARE";

struct ImportResult {
    int imported = 0;        // headers written to XML.DAT
    QStringList messages;    // documents left out, addressed to another consignee or whose characters were
                             // replaced, in file order
};

// The files of the download folder that the import considers for the year: regular files whose
// names begin with the year's last two digits, in name order.
QStringList receivedFiles(const AppContext& ctx, const QString& year);

// The ARCs (stored form, 21 characters) already reported in the year's store.
QStringList reportedArcs(const AppContext& ctx, const QString& year);

// Runs the import for the year (four digits). Throws IoError for a download folder that does not
// exist, and for a scratch file or the store that cannot be read or written.
ImportResult importReceivedEads(AppContext& ctx, const QString& year);

// The lines of XML.ITE that belong to the header numbered messageNumber, as stored.
QList<TRecDettaglio> importedLines(const AppContext& ctx, std::int32_t messageNumber);

} // namespace vt
