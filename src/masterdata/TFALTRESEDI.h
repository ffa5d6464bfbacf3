#pragma once
// "Altre Sedi dell'Azienda autorizzate per le spedizioni": the premises records UTENTE.002 ...
// UTENTE.999 of a tax warehouse. The menu action has read the head office into CompanyRecord.
#include <QDialog>

#include "foundation/AppContext.h"
#include "foundation/Check.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vt {

class CodedField;
class FormChecks;

class TFALTRESEDI : public QDialog {
    Q_OBJECT
public:
    explicit TFALTRESEDI(AppContext& ctx, QWidget* parent = nullptr);

private:
    QLineEdit* edit(const char* name, int maxLength, bool upper);
    void fill(const TRecAzienda& f);
    TRecAzienda values() const;
    CheckResult leavePremises();
    CheckResult checkExcise();
    void confirm();

    AppContext& ctx_;
    QLineEdit* SEDE = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QLineEdit *CACCI2, *DENOM2, *INDIR2, *NUMCI2, *C_A_P2, *CITTA2, *SEZDOG, *UFFDO2;
    CodedField* office_ = nullptr;
    QPushButton *BUFFDO2 = nullptr, *BCONF = nullptr, *BABBANDONA = nullptr;
    FormChecks* checks_ = nullptr;
};

} // namespace vt
