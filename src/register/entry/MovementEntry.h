#pragma once
// Movement entry: the logic behind TFMOVIMENTI. The mode of the window (from the shared flags),
// its captions, the field checks in their fixed order, the register protocol in force, the
// committed guarantee of an unload from the excise bands, the counterpart rules, the duplicate
// warning, and the write of a confirmed movement (insert, modify, rectification).
//
// Checks return a CheckResult naming the field to focus; the window shows them. Nothing is
// written while any check fails.
#include <QDate>
#include <QString>

#include <optional>

#include "foundation/Check.h"
#include "foundation/RegisterRecord.h"
#include "foundation/TableRecord.h"

namespace vt {

struct AppContext;

enum class MovementMode { Insert, Modify, RectifyCancel, RectifyModify, Prepared };

MovementMode movementModeOf(const AppContext& ctx);
bool isRectification(MovementMode m);
// Window caption and the text of LMOVIMENTO for the mode and side.
QString movementCaption(MovementMode mode, bool loadSide);
QString movementBanner(MovementMode mode, bool loadSide);

// Messages.
inline const QString MsgNoteMandatory = QStringLiteral("Nota obbligatoria per le rettifiche");
inline const QString MsgNoProtocol = QStringLiteral("NON CI SONO REGISTRI ATTIVI PER LA DATA DEL MOVIMENTO");
inline const QString MsgDocumentAfterMovement =
    QStringLiteral("ATTENZIONE LA DATA DEL DOCUMENTO E' SUCCESSIVA A QUELLA DEL MOVIMENTO");
inline const QString MsgDuplicate = QStringLiteral("ATTENZIONE DOCUMENTO GIA` IN MEMORIA !");
inline const QString MsgSenderMandatory = QStringLiteral("MITTENTE OBBLIGATORIO");
inline const QString MsgConsigneeMandatory = QStringLiteral("DESTINATARIO OBBLIGATORIO");
inline const QString MsgOfficeMandatory =
    QStringLiteral("INDICARE IL CODICE DELL'UFFICIO DI DESTINAZIONE / ESPORTAZIONE");
inline const QString MsgOfficeCode = QStringLiteral("CODICE DELL'UFFICIO DI DESTINAZIONE / ESPORTAZIONE");
inline const QString UnknownDestination = QStringLiteral("DESTINAZIONE IGNOTA");
inline const QString MsgNoRateBand =
    QStringLiteral("NESSUNA FASCIA DI ACCISA COMPRENDE IL GRADO ALCOLICO: GARANZIA IMPEGNATA 0");
inline const QString MsgControlCharacters = QStringLiteral("IL TESTO CONTIENE CARATTERI DI CONTROLLO NON AMMESSI");
inline const QString MsgInvalidDate = QStringLiteral("DATA NON VALIDA");
inline const QString MsgLoadDocumentType =
    QStringLiteral("TIPO DOCUMENTO NON AMMESSO PER UN CARICO (EAD E COD SONO DOCUMENTI DI SCARICO)");

// Register protocol in force for a movement date: the last row of PROTOCOLLI.TAB (in file order)
// whose start date (its day) is not later than the date.
struct Protocol {
    QString anno;    // year of the protocol date
    QString numero;  // protocol number
    TRecTabella row; // the whole row (the prints show its texts Fld[2] and Fld[3])
};
std::optional<Protocol> protocolInForce(const AppContext& ctx, const QDate& movementDate);

// e-AD document types: the e-AD block (progressive, local reference, line number) is shown.
bool eadBlockShown(const QString& tipoDocumento);
// e-AD progressive fixed at 1 (EAD, FBE).
bool eadProgressiveFixed(const QString& tipoDocumento);

// Committed guarantee of an unload: garanzia = litri x rate / 1000 (2 decimals), the rate of the
// first band of the country's excise row (W200 or W300 bands) that holds the strength.
struct Guarantee {
    double garanzia = 0;
    double aliquota = 0;
    QString warning; // no band holds the strength: the amounts are 0 and the user is told
};
Guarantee committedGuarantee(const AppContext& ctx, const QString& country, const QString& productCode,
                             double grado, double litri);

// Field checks (text as typed); focus names are the components'.
CheckResult checkMovementDate(const QString& datmov, const QDate& parsed);
CheckResult checkDocumentType(bool found, const QString& code, bool loadSide);
CheckResult checkDocumentNumber(const QString& numdoc, bool shown);
CheckResult checkEadProgressive(const QString& nprdaa, bool shown);
CheckResult checkDocumentDate(const QDate& parsed);
// Warning (empty when none) for a document dated after the movement.
QString documentDateWarning(const QDate& document, const QDate& movement);
CheckResult checkLocalReference(const QString& nilodd, bool shown);
CheckResult checkLineNumber(const QString& numcpr, bool shown);
CheckResult checkStorage(const QString& tipsto);
// PRODAZ: empty (the company product may be left out) or a row of PRAZ.
CheckResult checkCompanyProduct(const QString& prodaz, bool found);
// PRODDO: a row of TA20 whose code begins with W200 or W300.
CheckResult checkProductCode(bool found, const QString& code);
CheckResult checkPackages(const QString& numcon);
CheckResult checkPackageVolume(const QString& doubl3);
CheckResult checkStrengthValue(const QString& doubl2);
CheckResult checkLitres(const QString& doubl1);
CheckResult checkGuaranteeAmount(const QString& doubl5);
// Free text typed by the user: no TAB, CR, LF or other control character.
CheckResult checkPlainText(const QString& text, const QString& focus);

// Counterpart rules (MITDES). destinationType is O.tipoDestinazione (empty for a new movement).
struct Counterpart {
    CheckResult check;
    std::optional<QString> replaceWith; // MITDES := this (DESTINAZIONE IGNOTA)
    QString description;                // DMITDES
};
Counterpart checkCounterpart(AppContext& ctx, const QString& mitdes, bool loadSide, const QString& tipoDocumento,
                             const QString& destinationType);

// A record of the year file, not superseded, with the same data as N: the duplicate warning.
// `self` is the stored record N modifies or rectifies: it is not a duplicate of itself.
bool isDuplicateMovement(const AppContext& ctx, const TRecMovimento& n, const TRecMovimento* self = nullptr);

// The base of N before the fields are copied in: blank, or a copy of O; numbers and state reset.
TRecMovimento movementBase(const AppContext& ctx, MovementMode mode, const TRecMovimento& old, bool loadSide,
                           const QString& note);

// Writes the confirmed movement N (O: the picked record, for the modify and rectification modes).
// Returns the record as written (for a cancel rectification, the cancellation record). Throws
// IoError (also when O is gone, superseded or in the wrong sent state meanwhile).
TRecMovimento writeMovement(AppContext& ctx, MovementMode mode, const TRecMovimento& old, const TRecMovimento& n);

// The picked record read again under the lock by its number, for the mode (modify: unsent;
// rectification: sent); nullopt with the message shown when it may not be worked on.
std::optional<TRecMovimento> rereadPickedMovement(AppContext& ctx, MovementMode mode);

} // namespace vt
