#pragma once
// The verdict of a field check: passed, or failed with the message to show (possibly empty: some
// checks only put the focus back) and the objectName of the field that gets the focus.
// Checks are plain functions of the logic layer, so they are tested without windows; the window
// shows the message through the Messenger and moves the focus (ui/FormChecks.h).
#include <QString>

namespace vt {

struct CheckResult {
    bool ok = true;
    QString message; // shown when not empty
    QString focus;   // objectName of the field to focus when the check fails

    static CheckResult pass() { return {}; }
    static CheckResult fail(const QString& message, const QString& focus) { return {false, message, focus}; }
    explicit operator bool() const { return ok; }
};

} // namespace vt
