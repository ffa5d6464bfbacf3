#pragma once
// The lines of the e-AD in hand, in the work files TRASPORTO.DAT and PRODOTTI.DAT: their listing
// (which renumbers them 1, 2, ... in file order), a line confirmed by its number (replacing the
// line with that number, or appended), the transport line and the product line built from what
// the user typed, the product's defaults and derived quantities, and the excise amount of the
// guarantee page. The change of destination shares the transport lines.
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

#include "foundation/Check.h"
#include "foundation/EadRecord.h"
#include "foundation/TableRecord.h"

namespace vt {

inline const QString MsgTransportUnitId = QStringLiteral("indicare la targa o la matricola o altro identificativo");
inline const QString MsgGrossAdjusted = QStringLiteral("PESO LORDO RETTIFICATO");
inline const QString MsgNoTreatments = QStringLiteral("Trattamenti del vino: NESSUNO");
// Asked when the page is left with a line typed but not confirmed (Yes confirms it, No drops it).
inline const QString MsgLineNotConfirmed =
    QStringLiteral("IL DETTAGLIO IN CORSO NON E' STATO CONFERMATO: CONFERMARLO ORA ?");

// ---- work files ------------------------------------------------------------------------------
// Renumbers the lines of a work file by position and returns them (working form).
QList<TRecDettaglio> listWorkLines(const QString& workFile);
// Replaces the line whose number is n, or appends the line (then numbered count + 1). The line is
// written in stored form. Returns the number it got.
int putWorkLine(const QString& workFile, int n, TRecDettaglio line);

// ---- transport lines ---------------------------------------------------------------------------
struct TransportLineFields {
    QString UNITRA, IDUNTR, SIGTRA, INSITR, INAGTR;
};
// "n. 1: UT=2 Id.UT=AB123CD NOTE SIGILLO INFO" (each piece trimmed).
QString transportEntry(const TRecDettaglio& line, int n);
TransportLineFields transportFields(const TRecDettaglio& line);
// The line from the fields; fails on a missing unit identity (the unit code is checked by the
// caller against T009).
CheckResult buildTransportLine(const TransportLineFields& f, TRecDettaglio& line);

// ---- product lines -------------------------------------------------------------------------------
struct ProductLineFields {
    QString COAZPR, LEDEPR, META20, NUMCON, VOLCON, TOTLIT, GRADOA, PNETTO, PLORDO, CODIMB, NUMIMB, SIGIMB, INSIIM,
        DESCOM;
    bool packaged = true; // NUMCON, VOLCON, NUMIMB and DESCOM shown
};
// "n. 1 = PRAZ01 Litri:90 CHIANTI Gradi:13,5 W200-..." (numbers in general format).
QString productEntry(const TRecDettaglio& line, int n);
ProductLineFields productFields(const TRecDettaglio& line);

// What leaving the product code puts into the line fields.
struct ProductDefaults {
    QString LEDEPR, META20, VOLCON, GRADOA, CODIMB;
    bool packaged = true; // bulk-or-packaged flag "N"
};
ProductDefaults productDefaults(const TRecTabella& product);
// The memo MCODAZ: "categoria CC - zona Z", then the treatments of the product found in T020 (in
// the table's order) under "Trattamenti del vino:", or "Trattamenti del vino: NESSUNO".
QStringList productMemo(const TRecTabella& product, const QList<TRecTabella>& treatments);

// Leaving NUMCON: litres = containers x unit volume into TOTLIT and PNETTO, containers x bottle
// weight into PLORDO, and the packages (rounded up) when the product has bottles per package.
struct ContainerQuantities {
    QString TOTLIT, PNETTO, PLORDO;
    std::optional<QString> NUMIMB;
};
ContainerQuantities quantitiesFromContainers(const QString& numcon, const QString& volcon, const TRecTabella& product);
// Leaving TOTLIT of a bulk product: empty (or not positive) weights take the litres.
void weightsFromLitres(ProductLineFields& f);
// Leaving PLORDO: a gross weight below the net weight is raised to it (true: it was).
bool adjustGrossWeight(ProductLineFields& f);

// The certification sentence for the second character of the product's category code.
QString certificationSentence(const QString& category, const QString& attestation, const QString& body);

// The line from the fields and the product (the codes are checked by the caller): fails with
// "CAMPO OBBLIGATORIO NON COMPILATO" and the field to focus on a missing quantity.
CheckResult buildProductLine(ProductLineFields& f, const TRecTabella& product, TRecDettaglio& line);

// ---- excise -------------------------------------------------------------------------------------
// The excise amount of the product lines for the consignee's country: per line, the first rate
// row whose range holds its strength (W200: rows 0 and 1, W300: rows 5 and 6) gives litres x rate
// / 1000, rounded to 2 decimals. No rate record: 0.
double exciseAmount(const std::optional<TRecTabella>& rates, const QList<TRecDettaglio>& products);

} // namespace vt
