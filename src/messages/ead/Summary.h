#pragma once
// The e-AD summary (TempFolder\RIEPILOGO.RTF) and the cancellation summary (TempFolder\IE810.RTF):
// plain-text lines that the user reads before sending, cancelling or acting on an e-AD.
#include <QList>
#include <QString>
#include <QStringList>

#include "foundation/AppContext.h"
#include "foundation/EadRecord.h"

namespace vt {

// Which optional blocks the e-AD summary holds. The compilation window passes the visibility of its
// panels; from a stored header a block is present when its name is not blank.
struct SummaryBlocks {
    bool consignee = false;        // DESTINATARIO
    bool exportOffice = false;     // "Ufficio export" line (compilation window only)
    bool placeOfDelivery = false;  // LUOGO DESTINAZIONE
    bool exemption = false;        // certificate of exemption
    bool transportCompany = false; // AZIENDA DI TRASPORTO
};
SummaryBlocks blocksFromHeader(const TRecEad& header);

// "Not blank" in the summaries: greater than "!" as a string.
bool notBlank(const QString& text);

// A number in general format: at most 15 significant digits, trailing zeros dropped, a decimal
// comma and no grouping (12,5; 750; 0,75), whatever the regional settings.
QString generalNumber(double value);

// The lines of the e-AD summary of a header (values written as held: typed values in the
// compilation window, stored values elsewhere) and its transport and product lines (trimmed here).
QStringList eadSummaryLines(const TRecEad& header, const QList<TRecDettaglio>& transport,
                            const QList<TRecDettaglio>& products, const SummaryBlocks& blocks);

// Writes RIEPILOGO.RTF from the header in hand and the work files TRASPORTO.DAT and PRODOTTI.DAT
// (a missing work file gives no lines). Returns the lines written.
QStringList writeEadSummary(const AppContext& ctx, const TRecEad& header);

// The three lines of the cancellation summary of a cancellation record (yyyy_810.DAT).
QStringList cancellationSummaryLines(const TRecEad& cancellation);
QStringList writeCancellationSummary(const AppContext& ctx, const TRecEad& cancellation);

QString eadSummaryPath(const AppContext& ctx);          // TempFolder\RIEPILOGO.RTF
QString cancellationSummaryPath(const AppContext& ctx); // TempFolder\IE810.RTF

// Text files of the summaries: Windows-1252, lines ended by CR LF, replaced atomically.
void writeTextLines(const QString& path, const QStringList& lines);
// The text of a summary file for a read-only box ("" for a missing file).
QString readTextFile(const QString& path);

} // namespace vt
