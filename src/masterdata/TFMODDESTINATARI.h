#pragma once
// Modifies the consignee picked from the menu: the record keeps its code and moves to the
// position of its (possibly new) name.
#include "masterdata/TFINSDESTINATARI.h"

namespace vt {

class TFMODDESTINATARI : public ConsigneeWindow {
    Q_OBJECT
public:
    explicit TFMODDESTINATARI(AppContext& ctx, QWidget* parent = nullptr);
};

} // namespace vt
