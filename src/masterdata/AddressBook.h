#pragma once
// The address book: consignees (INDIRIZZI_D), transport companies (INDIRIZZI_T), guarantors
// (INDIRIZZI_G) and suppliers (INDIRIZZI_F). What the insert, modify and delete windows need
// without widgets: the fields each kind and consignee type shows, the checks, the duplicate
// warnings, the record built from the fields and the fields filled from a record.
#include <QString>
#include <QStringList>

#include <cstdint>

#include "foundation/Check.h"
#include "foundation/CompanyRecord.h"

namespace vt {

struct AppContext;
class Messenger;

enum class AddressKind { Consignee, Transporter, Guarantor, Supplier };

// "INDIRIZZI_D" -> Consignee, "_T" -> Transporter, "_G" -> Guarantor, anything else -> Supplier.
AddressKind KindOfAddressFile(const QString& fileName);

inline const QString kConsigneeFile = QStringLiteral("INDIRIZZI_D");

enum class AddressAction { Insert, Modify, Delete };
QString AddressWindowTitle(AddressKind kind, AddressAction action);
// Caption of BMOSTRA.
QString ShowAddressesCaption(AddressKind kind);

// What a consignee type shows. An unknown (or empty) type shows the identifier only.
struct ConsigneeLayout {
    QString identifierLabel;    // LIDEN: "Identificativo" followed by the type's text
    bool identifier = true;     // CACCI1
    bool placeExcise = false;   // CACCI2
    bool place = false;         // DENOM2, INDIR2, NUMCI2, C_A_P2, CITTA2
    bool exemption = false;     // ESENZIONE and CODUTE (member state)
};
ConsigneeLayout ConsigneeTypeLayout(const QString& type);

// Type "8" is refused: it becomes empty, which makes the T015 lookup fail.
QString AcceptedConsigneeType(const QString& type);

// The language of the descriptions from an excise number: its first two characters in lower
// case, "gb" becoming "en".
QString LanguageFromExcise(const QString& excise);

// The fields of the four edit windows, as typed (the window's components).
struct AddressFields {
    QString TIPOIN, CACCI1, CACCI2, DENOM1, DENOM2, ESENZIONE;
    QString INDIR1, NUMCI1, C_A_P1, CITTA1;
    QString INDIR2, NUMCI2, C_A_P2, CITTA2;
    QString CODUTE, SEZDOG, CAUESO, CONGAR;
};

// Which fields are shown for a kind (and, for consignees, the type in the fields).
struct ShownFields {
    bool identifier = true;   // CACCI1
    bool secondId = true;     // CACCI2 (place excise number of a consignee, VAT number otherwise)
    bool place = false;       // consignee: place-of-destination group
    bool exemption = false;   // consignee type 5: ESENZIONE, CODUTE
    bool guarantee = false;   // guarantors: CAUESO, CONGAR
};
ShownFields FieldsShown(AddressKind kind, const QString& consigneeType);

// Name and addresses: trimmed, first character capitalised.
QString CapitaliseFirst(const QString& text);

// "DIGITA: C per cauzione, E pe esonero" unless the first character is C or E.
CheckResult CheckDepositOrExemption(const QString& text);

// The required fields: when some are empty the focus goes to the last of them in the order of
// the window (no message). Passes when every shown required field is filled.
CheckResult CheckRequiredAddressFields(AddressKind kind, const AddressFields& f);

// The record built from the fields: blank (code 0), then every slot of the kind's meaning;
// hidden fields give a single space. The member state is kept only when memberStateValid.
TRecIndirizzo BuildAddressRecord(AddressKind kind, const AddressFields& f, bool memberStateValid);

// The fields filled from a (trimmed) record.
AddressFields FieldsFromRecord(AddressKind kind, const TRecIndirizzo& r);

// Duplicate warnings of the insert windows: the message to show, or an empty text. The address
// file is created empty when missing.
QString DuplicateExciseWarning(const QString& path, const QString& excise);
QString DuplicateVatWarning(const QString& path, const QString& vat);
QString DuplicateNameWarning(const QString& path, const QString& name);

// Replaces the record with that code by record (which gets the same code), at its name
// position, in one rewrite under the lock: the address is never lost on the way. Returns the code.
std::int32_t ReplaceAddress(const QString& path, std::int32_t code, const TRecIndirizzo& record, Messenger& messenger);

// The address a window hands on once written (CurrentAddress): the record trimmed, with its code.
TRecIndirizzo WrittenAddress(const TRecIndirizzo& record, std::int32_t code);

// The lines of the delete window's memo.
QStringList DeleteMemoLines(AddressKind kind, const TRecIndirizzo& r);

// Web address 0 of WEB.CFG ("Banca Dati SEED"): from the loaded configuration, else from the
// file; empty when there is none.
QString SeedWebAddress(const AppContext& ctx);

// Path of an address file (name without extension) in DatiGenFolder.
QString AddressFilePath(const AppContext& ctx, const QString& fileName);

inline const QString kDuplicateExcise = QStringLiteral("ATTENZIONE CODICE D'ACCISA GIA' PRESENTE IN ARCHIVIO !");
inline const QString kDuplicateVat = QStringLiteral("ATTENZIONE PARTITA IVA GIA' PRESENTE IN ARCHIVIO !");
inline const QString kDuplicateName = QStringLiteral("ATTENZIONE DENOMINAZIONE GIA' PRESENTE IN ARCHIVIO !");
inline const QString kDepositOrExemption = QStringLiteral("DIGITA: C per cauzione, E pe esonero");

} // namespace vt
