#include "masterdata/TFMODDESTINATARI.h"

#include <QLineEdit>

#include "ui/CodedField.h"
#include "ui/FormChecks.h"

namespace vt {

TFMODDESTINATARI::TFMODDESTINATARI(AppContext& ctx, QWidget* parent) : ConsigneeWindow(ctx, true, parent)
{
    ctx_.AddressFile = kConsigneeFile;
    // The record found by the address-pick sequence is the working copy.
    ctx_.CompanyRecord = ctx_.FoundAddress;
    trimCompany(ctx_.CompanyRecord);
    setFields(FieldsFromRecord(AddressKind::Consignee, ctx_.CompanyRecord));
    applyType();
    checks_->resetTouched();
    checks_->focusField(QStringLiteral("TIPOIN"));
}

void TFMODDESTINATARI::write(const TRecIndirizzo& record)
{
    ctx_.CurrentAddress = WrittenAddress(record, ReplaceAddress(path(), ctx_.CompanyRecord.number, record, ctx_.messenger()));
    accept();
}

} // namespace vt
