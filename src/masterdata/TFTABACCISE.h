#pragma once
// Excise duties of the member states by bands of alcoholic strength (table ACCISE): still and
// sparkling wines, two bands each.
#include <array>

#include "foundation/AppContext.h"
#include "foundation/Check.h"
#include "ui/TableRowEditor.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vt {

class CodedField;
class DecimalEdit;

class TFTABACCISE : public TableRowEditor {
    Q_OBJECT
public:
    explicit TFTABACCISE(AppContext& ctx, QWidget* parent = nullptr);

protected:
    QLineEdit* keyField() const override;
    CheckResult checkKey() override;
    std::optional<TRecTabella> findRow(const QString& key) override;
    void clearFields() override;
    void showRow(const TRecTabella& row) override;
    QString firstFieldAfterKey() const override { return QStringLiteral("R10"); }
    bool buildRow() override;
    CheckResult checkKeyFree() override;
    std::int32_t saveRow(std::optional<std::int32_t> replacing) override;
    void deleteRow(std::int32_t number) override;

private:
    void openWebSite();

    CodedField* LE0 = nullptr;
    // [band][0 from, 1 to, 2 excise], bands in the order of ExciseSlots
    std::array<std::array<DecimalEdit*, 3>, 4> amounts_{};
    QPushButton* BWEB = nullptr;
};

} // namespace vt
