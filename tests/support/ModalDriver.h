#pragma once
// Drives the modal windows a menu action opens, one step a window, and the steps that several
// window tests share: the e-AD chooser, the flow window, the transmission window.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <map>

#include <gtest/gtest.h>

#include "app/MenuActions.h"
#include "foundation/AppContext.h"
#include "foundation/Transmission.h"
#include "ui/WindowRegistry.h"

namespace vt::test {

// Acts on each modal window as it comes, by its objectName, until the action returns. Each action
// runs from the event loop (so one that opens a further modal window does not stop the driving)
// and is told how many times it has already acted on that same window. A window still open after
// 30 seconds is closed, so a test never hangs.
class ModalDriver {
public:
    using Step = std::function<void(QWidget* modal, int visit)>;
    std::map<QString, Step> on;
    QStringList seen; // objectNames of the modal windows met, in order (repeats of the same window once)
    bool timedOut = false;

    ModalDriver()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        clock_.start();
        timer_.start(20);
    }

private:
    void tick()
    {
        QWidget* modal = QApplication::activeModalWidget();
        // A window whose step is still running (it opened a further window, or a call is under
        // way) is not acted on again; the further window is.
        if (!modal || pending_ || acting_.contains(modal))
            return;
        if (modal != last_) {
            last_ = modal;
            visits_ = 0;
            seen << modal->objectName();
        }
        if (clock_.elapsed() > 30000) {
            timedOut = true;
            if (auto* d = qobject_cast<QDialog*>(modal))
                d->reject();
            return;
        }
        auto it = on.find(modal->objectName());
        if (it == on.end())
            return;
        pending_ = true;
        const int visit = visits_++;
        Step step = it->second;
        QTimer::singleShot(0, modal, [this, step, modal, visit] {
            pending_ = false;
            acting_.insert(modal);
            step(modal, visit);
            acting_.remove(modal);
        });
    }

    QTimer timer_;
    QElapsedTimer clock_;
    QPointer<QWidget> last_;
    QSet<QWidget*> acting_;
    int visits_ = 0;
    bool pending_ = false;
};

// Runs a menu action as the main window does; the windows it opens are left to a driver.
inline void runMenuItem(AppContext& ctx, const char* action)
{
    const MenuItem* item = findMenuItem(QString::fromLatin1(action));
    ASSERT_TRUE(item) << action;
    runMenuAction(*item, ctx, [&](const QString& name) { return openWindow(name, ctx, nullptr); });
}

// The chooser (TFSCEGLIDAA): its list builds itself when it gets the focus; once it shows the row
// (0 = first), that row is chosen with Enter. `before` runs just before the choice. False while
// the list is not ready: call again at the next tick.
inline bool chooseRow(QWidget* modal, int row, const std::function<void()>& before = {})
{
    auto* list = modal->findChild<QTreeWidget*>("LISTA");
    if (!list->hasFocus()) {
        list->setFocus();
        return false;
    }
    if (row >= list->topLevelItemCount())
        return false;
    if (before)
        before();
    list->setCurrentItem(list->topLevelItem(row));
    QTest::keyClick(list, Qt::Key_Return);
    return true;
}

// The same, as a driver step; `before` may stand for another workstation acting meanwhile.
inline ModalDriver::Step chooseRow(int row, std::function<void()> before = {})
{
    return [row, before](QWidget* modal, int) { chooseRow(modal, row, before); };
}

// A flow window (TFCREAFIRMAINVIAxxx): Tab from the flow date proposes the number; once there
// is one, BCONF is clicked from the event loop, so that a driver can act on the transmission
// window the confirmation opens.
inline void proposeNumberThenConfirm(QWidget* modal)
{
    auto* number = modal->findChild<QLineEdit*>("NUMFLU");
    auto* confirm = modal->findChild<QPushButton*>("BCONF");
    if (number->text().isEmpty())
        QTest::keyClick(modal->findChild<QLineEdit*>("DATFLU"), Qt::Key_Tab);
    else
        QTimer::singleShot(0, confirm, [confirm] { QTest::mouseClick(confirm, Qt::LeftButton); });
}

// The transmission window (TFTELEMATICO), once the signed file is there: the test send, then
// (when the messenger answers OK) the real one, the click returning when both are done; after the
// real send it is left with "Abbandona". With `picture`, the window is saved to the temporary
// folder under that name before it is left.
inline void sendInTestThenReal(QWidget* modal, const Transmission& sent, const QString& picture = {})
{
    if (!sent.signedSeen)
        return;
    if (!sent.realSendDone) {
        modal->findChild<QRadioButton*>("RPROVA")->setChecked(true);
        QTest::mouseClick(modal->findChild<QPushButton*>("BCONF"), Qt::LeftButton);
        return;
    }
    if (!picture.isEmpty())
        modal->grab().save(QDir::temp().filePath(picture));
    QTest::mouseClick(modal->findChild<QPushButton*>("BABBANDONA"), Qt::LeftButton);
}

} // namespace vt::test
