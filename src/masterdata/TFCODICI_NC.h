#pragma once
// The editor of the wine product codes (table TA20): a masked code W200/W300-NC-TARIC-additional
// code, a description of up to 250 characters and a validity period. With ctx.NewCodeMode it
// closes after the first confirmed row and leaves that row in ctx.EditRow.
#include <QDialog>

#include "foundation/AppContext.h"
#include "foundation/Check.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vt {

class DateEdit;
class FormChecks;

class TFCODICI_NC : public QDialog {
    Q_OBJECT
public:
    explicit TFCODICI_NC(AppContext& ctx, QWidget* parent = nullptr);
    int exec() override;

private:
    void reset();
    void leaveCode();
    CheckResult checkDates();
    bool confirmChecks();
    void confirm();
    void remove();
    void list();
    void enterModify(const TRecTabella& row);
    QString code() const;

    AppContext& ctx_;
    QString table_;
    bool modify_ = false;
    QString oldCode_;
    std::int32_t oldNumber_ = 0;
    QLineEdit* ME0 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    DateEdit *MDALLA = nullptr, *MALLA = nullptr;
    QLabel* LMODCANC = nullptr;
    QPushButton *BCONF = nullptr, *BABBANDONA = nullptr, *BSVUOTA = nullptr, *BELENCA = nullptr, *BCANCELLA = nullptr;
    FormChecks* checks_ = nullptr;
};

} // namespace vt
