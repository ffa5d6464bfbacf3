#pragma once
// Transport companies, guarantors and suppliers (INDIRIZZI_T, _G, _F): the insert window
// TFINSINDIRIZZO and, sharing its form, the modify window TFMODINDIRIZZO. The file is the one
// named by TableName when the window opens.
#include "ui/AddressForm.h"

class QLineEdit;

namespace vt {

class CodedField;

class AddressWindow : public AddressForm {
    Q_OBJECT
protected:
    AddressWindow(AppContext& ctx, bool modify, QWidget* parent);

    AddressFields fields() const;
    void setFields(const AddressFields& f);
    void clearForm() override;

private:
    void confirm();

    QLineEdit *CACCI2 = nullptr, *CACCI1 = nullptr, *DENOM1 = nullptr, *INDIR1 = nullptr, *NUMCI1 = nullptr,
              *C_A_P1 = nullptr, *CITTA1 = nullptr, *CAUESO = nullptr, *CONGAR = nullptr;
    CodedField* SEZDOG = nullptr;
};

class TFINSINDIRIZZO : public AddressWindow {
    Q_OBJECT
public:
    explicit TFINSINDIRIZZO(AppContext& ctx, QWidget* parent = nullptr);
};

} // namespace vt
