#pragma once
// Deletes the address picked from the menu, from the file named by TableName, once the user has
// typed "SI" exactly.
#include <QDialog>

#include "foundation/AppContext.h"

class QLineEdit;
class QPlainTextEdit;

namespace vt {

class TFCANCDESTIN : public QDialog {
    Q_OBJECT
public:
    explicit TFCANCDESTIN(AppContext& ctx, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void leaveAnswer();

    AppContext& ctx_;
    QPlainTextEdit* Memo1 = nullptr;
    QLineEdit* SINO = nullptr;
    bool busy_ = false;
};

} // namespace vt
