#pragma once
// Company data (DatiGenFolder/UTENTE.001, the head office) and the other authorised premises
// (UTENTE.002 ... UTENTE.999): the checks, derivations and record building behind TFDATIAZIENDA
// and TFALTRESEDI. Each file holds one TRecAzienda record, rewritten whole on confirmation.
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

#include "foundation/Check.h"
#include "foundation/CompanyRecord.h"

namespace vt {

struct AppContext;

inline const QString kExciseWrong = QStringLiteral("ATTENZIONE CODICE D'ACCISA ERRATO");
inline const QString kAtLeastOneCharacter = QStringLiteral("DIGITARE ALMENO UN CARATTERE");
inline const QString kFiscalCodeWrong = QStringLiteral("ATTENZIONE CODICE FISCALE ERRATO");
inline const QString kVatWrong = QStringLiteral("ATTENZIONE PARTITA I.V.A. ERRATA");

// Excise number: seventh character "V" or "X" for the head office, "V" alone for other premises.
CheckResult CheckCompanyExcise(const QString& text, bool headOffice, const QString& focus);
// The user code names every flow file: four letters or digits once it is given (empty: not yet
// assigned by the customs system).
CheckResult CheckUserCode(const QString& text);

// Trimmed, first character capitalised.
QString Capitalised(const QString& text);

struct NamedValue {
    QString name;  // objectName of the field
    QString value; // normalised in place (trimmed, first character capitalised)
};
// Every empty field fails; the focus goes to the last empty one; one message for all of them.
CheckResult CheckAddresses(QList<NamedValue>& fields);
// The name, normalised in place, must start with a digit or a capital letter A-Z.
CheckResult CheckCompanyName(NamedValue& name);

// Customs office code (table TA03): the export office has "1" as sixth character, the section is
// the six characters from the third on (IT075000 gives IT075100 and 075000).
QString ExportOfficeFor(const QString& office);
QString SectionFor(const QString& office);
// The description of a customs office, or nothing when the code is not in TA03.
std::optional<QString> CustomsOfficeDescription(AppContext& ctx, const QString& office);

// Warnings given when a field is left (empty: nothing to say). A fiscal code that is not 16
// characters long gets no verdict.
QString FiscalCodeWarning(const QString& text);
QString VatNumberWarning(const QString& text);

// UTENTE.nnn: path, read (first record, trimmed; nothing when missing) and write (padded,
// rewrite single).
QString CompanyFilePath(const AppContext& ctx, const QString& premises);
std::optional<TRecAzienda> ReadCompanyFile(const AppContext& ctx, const QString& premises);
void WriteCompanyFile(const AppContext& ctx, const QString& premises, const TRecAzienda& record);

// The first premises number from 002 on whose file does not exist ("" when all up to 999 do).
QString FirstFreePremises(const AppContext& ctx);
// A premises number a premises file may carry: three digits, 002 to 999.
CheckResult CheckPremisesNumber(const QString& text);

// The head-office record from the window's values (held in a TRecAzienda under the field names):
// excise number and name each into both of their slots, type "2" or "1".
TRecAzienda HeadOfficeRecord(const TRecAzienda& fields, bool registeredConsignor);
// A premises record: only the premises column is kept, premises number in slot 553.
TRecAzienda PremisesRecord(const TRecAzienda& fields, const QString& premises);

// TFALTRESEDI on opening: the four lines describing the head office (excise number, name, street,
// city) and the fields of a new premises, prefilled from the head office: excise number, name,
// registered address, customs offices and section.
QStringList HeadOfficeLines(const TRecAzienda& headOffice);
TRecAzienda NewPremisesFields(const TRecAzienda& headOffice);

// The web links of the company windows: address i of WEB.CFG (0 "Banca Dati SEED", 1 customs
// offices of the Union) handed to the shell. Nothing happens when WEB.CFG is missing or the
// address is blank; true when something was handed over. Read failures throw IoError.
bool OpenWebLink(AppContext& ctx, int address);

} // namespace vt
