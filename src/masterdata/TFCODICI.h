#pragma once
// The generic code editor: fields, labels, lengths and title come from the structure record of
// the table named by ctx.TableName. Created anew for each use; with ctx.NewCodeMode it closes
// after the first confirmed row and leaves that row in ctx.EditRow.

#include <array>
#include <optional>

#include "foundation/AppContext.h"
#include "foundation/Check.h"
#include "ui/TableRowEditor.h"

class QLabel;
class QLineEdit;

namespace vt {

class TFCODICI : public TableRowEditor {
    Q_OBJECT
public:
    explicit TFCODICI(AppContext& ctx, QWidget* parent = nullptr);

protected:
    QLineEdit* keyField() const override { return le_[0]; }
    CheckResult checkKey() override;
    std::optional<TRecTabella> findRow(const QString& key) override;
    void clearFields() override;
    void showRow(const TRecTabella& row) override;
    QString firstFieldAfterKey() const override { return QStringLiteral("LE2"); }
    bool buildRow() override;
    CheckResult checkKeyFree() override;
    std::int32_t saveRow(std::optional<std::int32_t> replacing) override;
    void deleteRow(std::int32_t number) override;
    void saved(std::int32_t number) override;

private:
    bool shown(int i) const;

    std::array<QLineEdit*, 4> le_{};
    std::array<QLabel*, 4> labels_{};
    std::array<bool, 4> present_{};
};

} // namespace vt
