#pragma once
// Page 4 of the e-AD compilation, "Garanti Accise": the guarantor type, the four guarantee rows
// (account, deposit or exemption, amount committed) and the transporter and goods-owner
// guarantor blocks. The amount proposed is the excise on the product lines.
#include "messages/ead/TFCOMPIE815_PAGINA.h"

class QLabel;

namespace vt {

class DecimalEdit;

class GuaranteePage : public CompilePage {
    Q_OBJECT
public:
    GuaranteePage(AppContext& ctx, FormChecks& checks, EadPanels& panels, QWidget* parent);

    void applyPanels() override;
    void clearCompanions();
    // Entering the page: the excise amount of the product lines, focus on TIPGAR. A row still
    // holding the amount proposed before takes the new one (the lines may have changed).
    void enter(double excise);
    // The same refresh without entering the page (the summary reached straight from page 3).
    void refreshAmount(double excise);
    // The amount the loaded e-AD's rows were proposed from (modify mode).
    void setProposed(double excise) { excise_ = excise; }
    double exciseAmount() const { return excise_; }

    CodedField *TIPGAR, *LINTRG, *LINPRG;
    QGroupBox *PGARANTE2, *PGARANTE3;
    QPushButton *BGARANTE2, *BNGARANTE2, *BGARANTE3, *BNGARANTE3;

private:
    CheckResult leaveTipgar();
    void takeGuarantor(const TRecIndirizzo& r, bool owner);
    QList<QWidget*> rowWidgets(QChar digit) const;

    double excise_ = 0;
};

} // namespace vt
