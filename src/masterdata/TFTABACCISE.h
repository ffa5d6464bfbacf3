#pragma once
// Excise duties of the member states by bands of alcoholic strength (table ACCISE): still and
// sparkling wines, two bands each.
#include <QDialog>

#include <array>

#include "foundation/AppContext.h"
#include "foundation/Check.h"

class QLabel;
class QPushButton;

namespace vt {

class CodedField;
class DecimalEdit;
class FormChecks;

class TFTABACCISE : public QDialog {
    Q_OBJECT
public:
    explicit TFTABACCISE(AppContext& ctx, QWidget* parent = nullptr);

    // False when ACCISE.STR is missing (the message has been shown; exec() returns at once).
    bool ready() const { return ready_; }
    int exec() override;

private:
    void reset();
    CheckResult leaveState();
    void enterModify(const TRecTabella& row);
    bool confirmChecks();
    void confirm();
    void remove();
    void list();
    void openWebSite();

    AppContext& ctx_;
    bool ready_ = false;
    bool modify_ = false;
    QString oldCode_;
    std::int32_t oldNumber_ = 0;
    CodedField* LE0 = nullptr;
    // [band][0 from, 1 to, 2 excise], bands in the order of ExciseSlots
    std::array<std::array<DecimalEdit*, 3>, 4> amounts_{};
    QLabel* LMODCANC = nullptr;
    QPushButton *BCONF = nullptr, *BABBANDONA = nullptr, *BSVUOTA = nullptr, *BELENCA = nullptr,
                *BCANCELLA = nullptr, *BWEB = nullptr;
    FormChecks* checks_ = nullptr;
};

} // namespace vt
