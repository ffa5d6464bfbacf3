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
    const std::int32_t code = ctx_.CompanyRecord.number;
    ReplaceAddress(path(), code, record, ctx_.messenger());
    ctx_.CurrentAddress = record;
    ctx_.CurrentAddress.number = code;
    trimCompany(ctx_.CurrentAddress);
    accept();
}

} // namespace vt
