#include "masterdata/TFMODDESTINATARI.h"

#include "ui/FormChecks.h"

namespace vt {

TFMODDESTINATARI::TFMODDESTINATARI(AppContext& ctx, QWidget* parent) : ConsigneeWindow(ctx, true, parent)
{
    setFields(FieldsFromRecord(AddressKind::Consignee, takeFoundRecord()));
    applyType();
    checks_->resetTouched();
    checks_->focusField(QStringLiteral("TIPOIN"));
}

} // namespace vt
