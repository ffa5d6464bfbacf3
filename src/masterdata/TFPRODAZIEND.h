#pragma once
// The company's products (table PRAZ) with their excise classification, packaging and photo.
// Opened from the menu (FromMenu: the window stays open for the next product after each
// confirmation) and by the e-AD and movement windows (it closes after one confirmed product,
// leaving it in ctx.EditRow).
#include <QDialog>

#include "foundation/AppContext.h"
#include "foundation/Check.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vt {

class CodedField;
class DecimalEdit;
class FormChecks;
class IntegerEdit;
struct ProductForm;

class TFPRODAZIEND : public QDialog {
    Q_OBJECT
public:
    explicit TFPRODAZIEND(AppContext& ctx, QWidget* parent = nullptr);

    bool ready() const { return ready_; }
    int exec() override;

private:
    void reset();
    void fillTreatments();
    void treatmentsChanged();
    QStringList tickedTreatments() const;
    void applyCategory();
    void showPackaged(bool packaged);
    bool loadPicture(const QString& path);
    void fitPicture();
    void choosePicture();
    void enterModify(const TRecTabella& row);

    CheckResult leaveCode();
    CheckResult ruleCategory(bool moveFocus);
    CheckResult ruleZone();
    CheckResult ruleCountry();
    CheckResult ruleTa20();
    CheckResult ruleBulk(bool moveFocus);
    CheckResult rulePackaging();
    bool confirmChecks();
    ProductForm form() const;
    void confirm();
    void remove();
    void list();

    AppContext& ctx_;
    bool ready_ = false;
    bool modify_ = false;
    QString oldCode_;
    std::int32_t oldNumber_ = 0;
    QString oldPhoto_;        // the stored photo of the product being modified
    QString photoSource_;     // the file of the picture shown; empty when none could be loaded
    QString photoExtension_;
    QString oldExtension_;

    QLineEdit *LE0 = nullptr, *LE1 = nullptr, *LE5 = nullptr, *DLE5 = nullptr, *LE21 = nullptr, *LE22 = nullptr,
              *DCBOX = nullptr;
    CodedField *LE2 = nullptr, *LE3 = nullptr, *ME4 = nullptr, *LE6 = nullptr, *LE7 = nullptr;
    DecimalEdit *R10 = nullptr, *R11 = nullptr, *R12 = nullptr;
    IntegerEdit* I10 = nullptr;
    QListWidget* CBOX = nullptr;
    QLabel *Image1 = nullptr, *LMODCANC = nullptr, *label21_ = nullptr, *label22_ = nullptr, *label7_ = nullptr;
    QGroupBox* packagedBox_ = nullptr;
    QPushButton *BCONF = nullptr, *BABBANDONA = nullptr, *BSVUOTA = nullptr, *BELENCA = nullptr,
                *BCANCELLA = nullptr, *BIMMAGINE = nullptr;
    FormChecks* checks_ = nullptr;
};

} // namespace vt
