#pragma once
// The company's products (table PRAZ) with their excise classification, packaging and photo.
// Opened from the menu (FromMenu: the window stays open for the next product after each
// confirmation) and by the e-AD and movement windows (it closes after one confirmed product,
// leaving it in ctx.EditRow).
#include "foundation/AppContext.h"
#include "foundation/Check.h"
#include "ui/TableRowEditor.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vt {

class CodedField;
class DecimalEdit;
class IntegerEdit;
struct ProductForm;

class TFPRODAZIEND : public TableRowEditor {
    Q_OBJECT
public:
    explicit TFPRODAZIEND(AppContext& ctx, QWidget* parent = nullptr);

protected:
    QLineEdit* keyField() const override { return LE0; }
    CheckResult checkKey() override;
    std::optional<TRecTabella> findRow(const QString& key) override;
    void clearFields() override;
    void showRow(const TRecTabella& row) override;
    QString firstFieldAfterKey() const override { return QStringLiteral("LE1"); }
    bool buildRow() override;
    CheckResult checkKeyFree() override;
    std::int32_t saveRow(std::optional<std::int32_t> replacing) override;
    void deleteRow(std::int32_t number) override;
    void saved(std::int32_t number) override;

private:
    void fillTreatments();
    void treatmentsChanged();
    QStringList tickedTreatments() const;
    void applyCategory();
    void showPackaged(bool packaged);
    bool loadPicture(const QString& path);
    void fitPicture();
    void choosePicture();

    CheckResult ruleCategory(bool moveFocus);
    CheckResult ruleZone();
    CheckResult ruleCountry();
    CheckResult ruleTa20();
    CheckResult ruleBulk(bool moveFocus);
    CheckResult rulePackaging();
    ProductForm form() const;

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
    QLabel *Image1 = nullptr, *label21_ = nullptr, *label22_ = nullptr, *label7_ = nullptr;
    QGroupBox* packagedBox_ = nullptr;
    QPushButton* BIMMAGINE = nullptr;
};

} // namespace vt
