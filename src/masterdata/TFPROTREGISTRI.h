#pragma once
// The protocols under which the customs office registered the company's registers (table
// PROTOCOLLI), kept in order of the date from which each applies.
#include "foundation/AppContext.h"
#include "foundation/Check.h"
#include "ui/TableRowEditor.h"

class QLabel;
class QLineEdit;

namespace vt {

class DateEdit;

class TFPROTREGISTRI : public TableRowEditor {
    Q_OBJECT
public:
    explicit TFPROTREGISTRI(AppContext& ctx, QWidget* parent = nullptr);

protected:
    QLineEdit* keyField() const override { return LE0; }
    std::optional<TRecTabella> findRow(const QString& key) override;
    void clearFields() override;
    void showRow(const TRecTabella& row) override;
    QString firstFieldAfterKey() const override { return QStringLiteral("R10"); }
    bool buildRow() override;
    CheckResult checkKeyFree() override;
    std::int32_t saveRow(std::optional<std::int32_t> replacing) override;
    void deleteRow(std::int32_t number) override;
    void saved(std::int32_t number) override; // the window closes

private:
    QLineEdit *LE0 = nullptr, *le1 = nullptr, *LE2 = nullptr, *LE3 = nullptr;
    DateEdit *R10 = nullptr, *R11 = nullptr;
};

} // namespace vt
