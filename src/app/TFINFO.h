#pragma once
#include <QDialog>

#include "foundation/AppContext.h"

namespace vt {

// The about box: the program's title and the date of its last update; a click or Esc closes it.
class TFINFO : public QDialog {
    Q_OBJECT
public:
    explicit TFINFO(AppContext& ctx, QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* e) override;

private:
    AppContext& ctx_;
};

} // namespace vt
