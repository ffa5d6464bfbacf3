#pragma once
// The editor of the wine product codes (table TA20): a masked code W200/W300-NC-TARIC-additional
// code, a description of up to 250 characters and a validity period. With ctx.NewCodeMode it
// closes after the first confirmed row and leaves that row in ctx.EditRow.
#include "foundation/AppContext.h"
#include "foundation/Check.h"
#include "ui/TableRowEditor.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace vt {

class DateEdit;

class TFCODICI_NC : public TableRowEditor {
    Q_OBJECT
public:
    explicit TFCODICI_NC(AppContext& ctx, QWidget* parent = nullptr);
    // The window lives for the whole run: its structure is looked for at each opening.
    int exec() override;

protected:
    QLineEdit* keyField() const override { return ME0; }
    CheckResult checkKey() override;
    std::optional<TRecTabella> findRow(const QString& key) override;
    void clearFields() override;
    void showRow(const TRecTabella& row) override;
    QString firstFieldAfterKey() const override { return QStringLiteral("Memo1"); }
    bool buildRow() override;
    CheckResult checkKeyFree() override;
    std::int32_t saveRow(std::optional<std::int32_t> replacing) override;
    void deleteRow(std::int32_t number) override;
    void saved(std::int32_t number) override;
    void focusKey() override;

private:
    CheckResult checkDates();

    QLineEdit* ME0 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    DateEdit *MDALLA = nullptr, *MALLA = nullptr;
};

} // namespace vt
