#pragma once
// Fixture builders for e-AD tests: a filled header, transport and product lines, the work files
// TRASPORTO.DAT / PRODOTTI.DAT, and an e-AD saved in the yearly files.
#include <QDate>
#include <QList>

#include "foundation/AppContext.h"
#include "foundation/EadRecord.h"

namespace vt::test {

// A complete e-AD header in working form (trimmed), as the compilation window builds it: standard
// submission to a German consignee, transport by the consignor (no transport company), journey of
// 2 days, dispatch on `dispatch` at 23:00, consignor as guarantor (TIPGAR "1", deposit of 125,5).
// Progressive, local reference number, flow data and ARC are left 0/blank.
TRecEad sampleEadHeader(const QDate& dispatch = QDate(2026, 12, 9));

// Line n of each kind, working form, with field 0 = n and the e-AD progressive 0 (work-file form).
// Every text differs by n so that tests can tell lines apart:
//   transport: UNITRA "1", SIGTRA "SIGILLO n", INSITR "SIGILLI INTEGRI n", IDUNTR "AB12n CD",
//              INAGTR "NOTA TRASPORTO n"
//   product:   category "1", CODIMB "CT", zone "C01", COAZPR "PRAZ0n", LEDEPR "CHIANTI CLASSICO n",
//              META20 "W200-22042138-00-0000", treatments "1", NUMIMB 20, NUMCON 120,
//              VOLCON 0,75, TOTLIT 90, GRADOA 13,5, PNETTO 90, PLORDO 150
TRecDettaglio sampleTransportLine(int n);
TRecDettaglio sampleProductLine(int n);

// Rewrites the work files with the given lines in stored form, in order.
void writeWorkFiles(const AppContext& ctx, const QList<TRecDettaglio>& transport,
                    const QList<TRecDettaglio>& products);
// Rewrites the work files with sample lines 1..n and 1..m.
void writeWorkFiles(const AppContext& ctx, int nTransport, int mProducts);

// Saves an e-AD with n sample transport lines and m sample product lines through the store (the
// work files are rewritten first); returns the header as stored (its progressive at offset 0).
TRecEad saveSampleEad(AppContext& ctx, int nTransport, int mProducts, const QDate& dispatch = QDate(2026, 12, 9));

// Reads a record file of lines (stored form), e.g. a work file or a yearly line file.
QList<TRecDettaglio> readLineFile(const QString& path);
QList<TRecEad> readHeaderFile(const QString& path);

} // namespace vt::test
