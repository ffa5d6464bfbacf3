#pragma once
#include <QMainWindow>

#include <array>

#include "foundation/AppContext.h"
#include "app/MenuActions.h"

class QLabel;
class QMenuBar;
class QTabWidget;

namespace vt {

// The main window: three pages, each with its own menu bar built from the menu table; every item
// runs its action (MenuActions) and the windows open by name through the window registry.
class TFPRINCIPALE : public QMainWindow {
    Q_OBJECT
public:
    explicit TFPRINCIPALE(AppContext& ctx, QWidget* parent = nullptr);
    ~TFPRINCIPALE() override;

    static constexpr int ToolTipMs = 7000;
    // How long the "Dati salvati" note stays in the status bar.
    static constexpr int SavedNoteMs = 4000;

    // Replaces the way windows are opened (tests); without `available` every window exists.
    void setWindowOpener(OpenWindowFn open, WindowAvailableFn available = {})
    {
        open_ = std::move(open);
        if (available)
            available_ = std::move(available);
        else
            available_ = [](const QString&) { return true; };
    }

protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void buildPage(int page);
    void placePictures();

    AppContext& ctx_;
    OpenWindowFn open_;
    WindowAvailableFn available_;
    QLabel* startFolder_ = nullptr;
    QTabWidget* pages_ = nullptr;
    std::array<QWidget*, 3> sheets_{};
    std::array<QMenuBar*, 3> menuBars_{};
    std::array<QLabel*, 3> pictures_{};
};

} // namespace vt
