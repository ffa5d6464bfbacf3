#pragma once
// The generic code editor: fields, labels, lengths and title come from the structure record of
// the table named by ctx.TableName. Created anew for each use; with ctx.NewCodeMode it closes
// after the first confirmed row and leaves that row in ctx.EditRow.
#include <QDialog>

#include <array>
#include <optional>

#include "foundation/AppContext.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vt {

class FormChecks;

class TFCODICI : public QDialog {
    Q_OBJECT
public:
    explicit TFCODICI(AppContext& ctx, QWidget* parent = nullptr);

    // False when the table's structure is missing (the message has been shown; exec() returns at once).
    bool ready() const { return ready_; }
    int exec() override;

private:
    void reset();
    void leaveCode();
    bool confirmChecks();
    void confirm();
    void remove();
    void list();
    void enterModify(const TRecTabella& row);
    bool shown(int i) const;

    AppContext& ctx_;
    QString table_;
    bool ready_ = false;
    bool modify_ = false;
    QString oldCode_;
    std::int32_t oldNumber_ = 0;
    std::array<QLineEdit*, 4> le_{};
    std::array<QLabel*, 4> labels_{};
    std::array<bool, 4> present_{};
    QLabel* LMODCANC = nullptr;
    QPushButton *BCONF = nullptr, *BABBANDONA = nullptr, *BSVUOTA = nullptr, *BELENCA = nullptr, *BCANCELLA = nullptr;
    FormChecks* checks_ = nullptr;
};

} // namespace vt
