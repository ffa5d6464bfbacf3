#pragma once
// Modifies the transport company, guarantor or supplier picked from the menu: the record keeps
// its code and moves to the position of its (possibly new) name.
#include "masterdata/TFINSINDIRIZZO.h"

namespace vt {

class TFMODINDIRIZZO : public AddressWindow {
    Q_OBJECT
public:
    explicit TFMODINDIRIZZO(AppContext& ctx, QWidget* parent = nullptr);
};

} // namespace vt
