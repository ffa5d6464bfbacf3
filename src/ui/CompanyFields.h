#pragma once
// Field behaviour shared by the company windows (head office and other premises): the address
// and name checks that normalise what they check, the customs office with its derived export
// office and section, and the web links of WEB.CFG.
#include <QList>

#include "foundation/Check.h"

class QLineEdit;

namespace vt {

struct AppContext;
class CodedField;

// Every address field filled; each is trimmed and capitalised in place.
CheckResult checkAddressEdits(const QList<QLineEdit*>& edits);
// The name trimmed and capitalised in place, then checked.
CheckResult checkNameEdit(QLineEdit* name);
// The office must be a code of its table (no message: the focus goes back to UFFDO1).
CheckResult checkOfficeField(CodedField& office);
// A found office gives the export office and the section.
void deriveFromOffice(const CodedField& office, QLineEdit* exportOffice, QLineEdit* section);
// Leaving the office: derive from a known one, or choose one from the listing.
void leaveOfficeField(CodedField& office, QLineEdit* exportOffice, QLineEdit* section);
// Opens web address i of WEB.CFG; a file that cannot be read is reported.
void openCompanyLink(AppContext& ctx, int address);

} // namespace vt
