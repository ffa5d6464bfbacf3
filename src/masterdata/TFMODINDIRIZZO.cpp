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
    ctx_.CurrentAddress = WrittenAddress(record, ReplaceAddress(path(), ctx_.CompanyRecord.number, record, ctx_.messenger()));
    accept();
}

} // namespace vt
