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
    QString note;    // a refusal without a message: the reason, shown in the window's status line

    static CheckResult pass() { return {}; }
    static CheckResult fail(const QString& message, const QString& focus) { return {false, message, focus, {}}; }
    // No message, no focus change: the step that reached it goes no further (a leave behaviour
    // that loaded a record stops the confirmation, so the user sees what was loaded).
    static CheckResult stop() { return {false, {}, {}, {}}; }
    // A refusal without a message box: the focus goes back, the reason shows in the status line.
    static CheckResult quiet(const QString& note, const QString& focus) { return {false, {}, focus, note}; }
    explicit operator bool() const { return ok; }
};

} // namespace vt
