#pragma once
// "Dati dell'Azienda": the head-office record UTENTE.001.
#include <QDialog>

#include "foundation/AppContext.h"
#include "foundation/Check.h"

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vt {

class CodedField;
class FormChecks;

class TFDATIAZIENDA : public QDialog {
    Q_OBJECT
public:
    explicit TFDATIAZIENDA(AppContext& ctx, QWidget* parent = nullptr);
    // Closes at once, without a message, when UTENTE.001 cannot be read.
    int exec() override;
    bool loaded() const { return loaded_; }

private:
    QLineEdit* edit(const char* name, int maxLength, bool upper);
    void load(const TRecAzienda& r);
    TRecAzienda values() const;
    void copyRegisteredAddress();
    void confirm();

    AppContext& ctx_;
    bool loaded_ = false;
    QGroupBox* RTIPOIN = nullptr;
    QRadioButton *tipo0_ = nullptr, *tipo1_ = nullptr;
    QLineEdit *CACCI1, *DENOM1, *PARIVA, *CODFIS, *INDIR1, *NUMCI1, *C_A_P1, *CITTA1, *CODUTE, *SEZDOG, *CONGAR,
        *CAUESO, *UFFDO2, *INDIR2, *NUMCI2, *C_A_P2, *CITTA2;
    CodedField* office_ = nullptr;
    QPushButton *BUFFDO2 = nullptr, *BWEB = nullptr, *BCONF = nullptr, *BABBANDONA = nullptr;
    FormChecks* checks_ = nullptr;
};

} // namespace vt
