#include "masterdata/TFMODINDIRIZZO.h"

#include "ui/FormChecks.h"

namespace vt {

TFMODINDIRIZZO::TFMODINDIRIZZO(AppContext& ctx, QWidget* parent) : AddressWindow(ctx, true, parent)
{
    // The record found by the address-pick sequence is the working copy.
    ctx_.CompanyRecord = ctx_.FoundAddress;
    trimCompany(ctx_.CompanyRecord);
    setFields(FieldsFromRecord(kind_, ctx_.CompanyRecord));
    checks_->resetTouched();
    checks_->focusField(QStringLiteral("CACCI2"));
}

void TFMODINDIRIZZO::write(const TRecIndirizzo& record)
{
    const std::int32_t code = ctx_.CompanyRecord.number;
    ReplaceAddress(path(), code, record, ctx_.messenger());
    ctx_.CurrentAddress = record;
    ctx_.CurrentAddress.number = code;
    trimCompany(ctx_.CurrentAddress);
    accept();
}

} // namespace vt
