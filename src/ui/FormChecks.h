#pragma once
// The behaviour every data-entry window shares, in one object owned by the window:
//
//   FormChecks checks(this, ctx.messenger());
//   ... build the widgets ...
//   checks.attach();                        // Enter moves to the next field; typing is watched
//   checks.onLeave(ui.CACCI1, [&] { return CheckExcise(...); });   // run when the field is left
//   checks.onLeaveDo(ui.CITTA1, [&] { copyAddress(); });            // behaviour on leaving
//   connect(BCONF, &QPushButton::clicked, [&] {
//       if (!checks.confirm({[&] { return check1(); }, [&] { return check2(); }})) return;
//       ... write ...
//   });
//
// A leave check runs (just after the focus has moved) when the field is left for another field
// of the window; not when the focus goes to BCONF (confirm() runs every check) or BABBANDONA.
// The untouched-window guard: leave checks are skipped until a key is typed in one of the
// window's fields (resetTouched() starts over, e.g. after a row is confirmed). confirm() always
// runs every check, in the order given: nothing is written while one of them fails.
// A failing check shows its message through the Messenger (when it has one) and puts the focus
// back on the field named by CheckResult::focus.
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

#include "foundation/Check.h"

class QDialog;

namespace vt {

class Messenger;

using CheckFn = std::function<CheckResult()>;

class FormChecks : public QObject {
    Q_OBJECT
public:
    FormChecks(QWidget* window, Messenger& messenger);

    // Call once the widgets exist: Enter in edits, combo boxes and radio buttons moves to the next
    // field (a multi-line memo moves on with Enter too); every key typed marks the window touched.
    void attach();

    void onLeave(QWidget* field, CheckFn check);
    void onLeaveDo(QWidget* field, std::function<void()> action);

    // Runs the checks in order and stops at the first failure (shown, focus moved): true when all pass.
    bool confirm(const std::vector<CheckFn>& checks);
    // Shows one verdict (message, focus); returns its ok.
    bool show(const CheckResult& r);

    bool touched() const { return touched_; }
    void setTouched(bool t) { touched_ = t; }
    void resetTouched() { touched_ = false; }

    // Field of the window by objectName (nullptr when absent).
    QWidget* field(const QString& name) const;
    void focusField(const QString& name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void leave(QWidget* field);

    QWidget* window_;
    Messenger& messenger_;
    bool touched_ = false;
    bool running_ = false; // a check is showing its message: focus changes are ours
    std::vector<std::pair<QPointer<QWidget>, CheckFn>> leaveChecks_;
};

// Enter moves to the next field in every edit below root (also usable without FormChecks).
void enterMovesToNextField(QWidget* root);

} // namespace vt
