#pragma once
// The web addresses of WEB.CFG (eight addresses under their two headings), followed by the hosts
// of the customs file service, real and test.
#include <QDialog>

#include <array>

#include "foundation/AppContext.h"
#include "masterdata/Settings.h"

class QLineEdit;
class QPushButton;

namespace vt {

class FormChecks;

class TFINDWEB : public QDialog {
    Q_OBJECT
public:
    explicit TFINDWEB(AppContext& ctx, QWidget* parent = nullptr);

    bool ready() const { return ready_; }
    int exec() override;

private:
    void confirm();

    AppContext& ctx_;
    bool ready_ = false;
    std::array<QLineEdit*, WebFieldCount> le_{};
    QPushButton *BCONF = nullptr, *BABBANDONA = nullptr;
    FormChecks* checks_ = nullptr;
};

} // namespace vt
