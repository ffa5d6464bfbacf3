#include "ui/CompanyFields.h"

#include <QLineEdit>

#include "foundation/AppContext.h"
#include "foundation/IoError.h"
#include "masterdata/Company.h"
#include "ui/CodedField.h"

namespace vt {

CheckResult checkAddressEdits(const QList<QLineEdit*>& edits)
{
    QList<NamedValue> fields;
    for (QLineEdit* e : edits)
        fields.append({e->objectName(), e->text()});
    CheckResult r = CheckAddresses(fields);
    for (qsizetype i = 0; i < edits.size(); ++i)
        edits[i]->setText(fields[i].value);
    return r;
}

CheckResult checkNameEdit(QLineEdit* edit)
{
    NamedValue name{edit->objectName(), edit->text()};
    CheckResult r = CheckCompanyName(name);
    edit->setText(name.value);
    return r;
}

CheckResult checkOfficeField(CodedField& office)
{
    if (office.lookup())
        return CheckResult::pass();
    return CheckResult::quiet(kInvalidCode, QStringLiteral("UFFDO1"));
}

void deriveFromOffice(const CodedField& office, QLineEdit* exportOffice, QLineEdit* section)
{
    if (!office.lastRow())
        return;
    exportOffice->setText(ExportOfficeFor(office.code()));
    section->setText(SectionFor(office.code()));
}

void leaveOfficeField(CodedField& office, QLineEdit* exportOffice, QLineEdit* section)
{
    if (office.lookup())
        deriveFromOffice(office, exportOffice, section);
    else
        office.pick(); // an unknown office: choose one from the list
}

void openCompanyLink(AppContext& ctx, int address)
{
    try {
        OpenWebLink(ctx, address);
    } catch (const IoError& e) {
        ctx.messenger().info(e.text());
    }
}

} // namespace vt
