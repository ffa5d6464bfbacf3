#pragma once
// Consignees of e-ADs (INDIRIZZI_D): the insert window TFINSDESTINATARI and, sharing its form,
// the modify window TFMODDESTINATARI. The fields shown depend on the type of consignee (T015).
#include "ui/AddressForm.h"

class QLabel;
class QLineEdit;

namespace vt {

class CodedField;

class ConsigneeWindow : public AddressForm {
    Q_OBJECT
protected:
    ConsigneeWindow(AppContext& ctx, bool modify, QWidget* parent);

    AddressFields fields() const;
    void setFields(const AddressFields& f);
    // Shows the fields of the type in TIPOIN; the insert window also empties those it hides.
    void applyType();
    void clearForm() override;

private:
    void leaveType();
    void leaveExcise();
    void leaveCity();
    void confirm();

    CodedField *TIPOIN = nullptr, *CODUTE = nullptr, *SEZDOG = nullptr;
    QLabel* LIDEN = nullptr;
    QLineEdit *CACCI1 = nullptr, *DENOM1 = nullptr, *INDIR1 = nullptr, *NUMCI1 = nullptr, *C_A_P1 = nullptr,
              *CITTA1 = nullptr, *ESENZIONE = nullptr, *CACCI2 = nullptr, *DENOM2 = nullptr, *INDIR2 = nullptr,
              *NUMCI2 = nullptr, *C_A_P2 = nullptr, *CITTA2 = nullptr;
    QLabel* LDESTINAZIONE = nullptr; // heading of the place-of-destination group
};

class TFINSDESTINATARI : public ConsigneeWindow {
    Q_OBJECT
public:
    explicit TFINSDESTINATARI(AppContext& ctx, QWidget* parent = nullptr);
};

} // namespace vt
