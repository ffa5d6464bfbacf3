#pragma once
// The company's own wines (table PRAZ): the consistency rules between their fields, the row as
// stored, and the product photographs DatiGenFolder/<row number><extension>.
#include <QString>
#include <QStringList>

#include <optional>

#include "foundation/Check.h"
#include "foundation/TableRecord.h"

namespace vt {

struct AppContext;

inline const QString MsgLowStrength = QStringLiteral("GRADO ALCOLICO BASSO");
inline const QString MsgCheckCadd = QStringLiteral("VERIFICA IL CODICE CADD PER IL GRADO");
inline const QString MsgVolumeNotPositive = QStringLiteral("IL VOLUME DEVE ESSERE MAGGIORE DI ZERO");
inline const QString MsgWeightNotPositive = QStringLiteral("IL PESO DEVE ESSERE MAGGIORE DI ZERO");
inline const QString MsgUnitsNotPositive = QStringLiteral("IL NUMERO DEVE ESSERE MAGGIORE DI ZERO");
inline const QString MsgBulkNumerable =
    QStringLiteral("SE IL PRODOTTO E' SFUSO L'IMBALLAGGIO NON PUO' ESSERE NUMERABILE");
inline const QString MsgPackagedNotNumerable =
    QStringLiteral("SE IL PRODOTTO E' CONDIZIONATO L'IMBALLAGGIO DEVE ESSERE NUMERABILE");
inline const QString MsgPhotoInvalid = QStringLiteral("FOTO NON VALIDA");
inline const QString MsgPhotoTooLarge = QStringLiteral("LA DIMENSIONE DELLA FOTO DEVE ESSERE INFERIORE A 100 KB");

// The largest photograph accepted: 100 KB.
inline constexpr qint64 MaxPhotoBytes = 102400;

// Strength (R10), read with 5 decimals: below 7 is refused.
CheckResult CheckStrength(const QString& r10);
// The additional code (last four characters of the TA20 code) against the strength: S118 wants a
// strength above 13 and not above 15, S117 one not above 13. A warning only.
std::optional<QString> CaddWarning(const QString& ta20Code, double strength);

// "S" bulk (sfuso), "N" packaged (condizionato), by the first character.
enum class BulkKind { Packaged, Bulk, Invalid };
BulkKind bulkKindOf(const QString& le5);
QString bulkDescription(BulkKind kind); // "Condizionato", "Sfuso", "S o N"

// Packaged products only: unit volume (R11), weight (R12), units per package (I10) above zero.
CheckResult CheckVolume(const QString& r11);
CheckResult CheckWeight(const QString& r12);
CheckResult CheckUnits(const QString& i10);
// The packaging's numerable flag (Fld[2] of its T010 row) must agree with bulk or packaged.
CheckResult CheckPackaging(const QString& numerableFlag, BulkKind kind);

// What the category (T018 code) shows: the certification body for categories beginning with
// "3", the import country for those beginning with "4", the attestation with a label chosen by
// the second character (none: hidden).
struct CategoryView {
    bool certificationBody = false;
    bool importCountry = false;
    std::optional<QString> attestationLabel;
};
CategoryView categoryView(const QString& category);

// The treatments check list: one item per row of T020 in file order, "<code> <description>".
QStringList treatmentItems(AppContext& ctx);
// Fld[7]: the two-character codes of the ticked items, each followed by "-" ("01-05-").
QString treatmentsField(const QStringList& tickedItems);
// Whether an item is among the treatments of a stored Fld[7].
bool treatmentTicked(const QString& item, const QString& field);

// The fields of the window, as typed.
struct ProductForm {
    QString code, description, category, zone, ta20, bulk, packaging, treatments, country;
    QString attestation, certificationBody, photoExtension;
    QString strength, volume, weight, units;
};
// The row from a form whose checks have passed; a bulk product stores no volume, weight or units,
// a category that does not show them stores no country, attestation or certification body.
void BuildProductRow(const ProductForm& form, TRecTabella& row);

// Writes ctx.EditRow into PRAZ.TAB in code order with the number highest + 1, replacing the old
// row in the same rewrite when modifying. Returns the new number.
std::int32_t SaveProduct(AppContext& ctx, std::optional<std::int32_t> replacing);

// DatiGenFolder/<number><extension>.
QString photoPath(const AppContext& ctx, std::int32_t number, const QString& extension);
QString defaultPhotoPath(const AppContext& ctx);

enum class PhotoVerdict { Ok, TooLarge, Invalid };
// A picture file the user chose: at most MaxPhotoBytes and readable as a picture.
PhotoVerdict CheckPhotoFile(const QString& path);

// Stores the picture shown (source) as the photo of the row numbered number; the old photo of a
// renumbered product (oldPhoto, when it is another file) is removed, as nothing else can use it.
// Throws IoError when the picture cannot be stored.
void StoreProductPhoto(AppContext& ctx, const QString& source, std::int32_t number, const QString& extension,
                       const QString& oldPhoto);
// Deletes the row and its photo.
void DeleteProduct(AppContext& ctx, std::int32_t number, const QString& photoExtension);

} // namespace vt
