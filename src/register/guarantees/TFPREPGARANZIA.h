#pragma once
// "Garanzie: impegnate / svincolate /nuove / scadute": for the year typed, opens the guarantee
// window on every day whose movements commit or release guarantee and that has no sent record,
// tells which sent days are to be rectified, then offers a new deposit.
#include <QDialog>

#include "foundation/AppContext.h"

class QLineEdit;
class QPushButton;

namespace vt {

class TFPREPGARANZIA : public QDialog {
    Q_OBJECT
public:
    explicit TFPREPGARANZIA(AppContext& ctx, QWidget* parent = nullptr);

    QLineEdit* LANNO;
    QPushButton* BCONF;
    QPushButton* BABBANDONA;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void confirm();

    AppContext& ctx_;
    bool running_ = false;
};

} // namespace vt
