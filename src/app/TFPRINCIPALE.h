#pragma once
#include <QMainWindow>

#include "foundation/AppContext.h"

namespace vt {

// The main window: three pages, each with its own menu bar.
class TFPRINCIPALE : public QMainWindow {
    Q_OBJECT
public:
    explicit TFPRINCIPALE(AppContext& ctx, QWidget* parent = nullptr);

private:
    AppContext& ctx_;
};

} // namespace vt
