#pragma once
// The application paths of APPL.CFG: the signing program and the folders of the files to sign,
// of the signed files and of the downloaded excise-movement messages.
#include <QDialog>

#include <array>

#include "foundation/AppContext.h"

class QLineEdit;
class QPushButton;
class QToolButton;

namespace vt {

class TFPERCORSI : public QDialog {
    Q_OBJECT
public:
    explicit TFPERCORSI(AppContext& ctx, QWidget* parent = nullptr);

    bool ready() const { return ready_; }
    int exec() override;

private:
    void chooseProgram();
    void chooseFolder(int i);
    void confirm();

    AppContext& ctx_;
    bool ready_ = false;
    std::array<QLineEdit*, 4> le_{};
    std::array<QToolButton*, 4> browse_{};
    QPushButton *BCONF = nullptr, *BABBANDONA = nullptr;
};

} // namespace vt
