#pragma once
// The protocols under which the customs office registered the company's registers (table
// PROTOCOLLI), kept in order of the date from which each applies.
#include <QDialog>

#include "foundation/AppContext.h"
#include "foundation/Check.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vt {

class DateEdit;
class FormChecks;

class TFPROTREGISTRI : public QDialog {
    Q_OBJECT
public:
    explicit TFPROTREGISTRI(AppContext& ctx, QWidget* parent = nullptr);

    bool ready() const { return ready_; }
    int exec() override;

private:
    void reset();
    CheckResult leaveNumber();
    void enterModify(const TRecTabella& row);
    bool confirmChecks();
    void confirm();
    void remove();
    void list();

    AppContext& ctx_;
    bool ready_ = false;
    bool modify_ = false;
    QString oldCode_;
    std::int32_t oldNumber_ = 0;
    QLineEdit *LE0 = nullptr, *le1 = nullptr, *LE2 = nullptr, *LE3 = nullptr;
    DateEdit *R10 = nullptr, *R11 = nullptr;
    QLabel* LMODCANC = nullptr;
    QPushButton *BCONF = nullptr, *BABBANDONA = nullptr, *BSVUOTA = nullptr, *BELENCA = nullptr, *BCANCELLA = nullptr;
    FormChecks* checks_ = nullptr;
};

} // namespace vt
