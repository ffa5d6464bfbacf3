#include "masterdata/TFMODINDIRIZZO.h"

#include "ui/FormChecks.h"

namespace vt {

TFMODINDIRIZZO::TFMODINDIRIZZO(AppContext& ctx, QWidget* parent) : AddressWindow(ctx, true, parent)
{
    setFields(FieldsFromRecord(kind_, takeFoundRecord()));
    checks_->resetTouched();
    checks_->focusField(QStringLiteral("CACCI2"));
}

} // namespace vt
