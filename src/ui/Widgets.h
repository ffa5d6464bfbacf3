#pragma once
// Small builders shared by the windows.
#include <QCursor>
#include <QGuiApplication>
#include <QString>

class QAbstractButton;
class QKeySequence;
class QLabel;
class QPushButton;
class QWidget;

namespace vt {

// A push button named as its component, which Enter does not press by default.
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption);
// A label for a field, beside it in the same parent, with the field as its buddy ("&" shortcut).
QLabel* buddyLabel(const QString& text, QWidget* buddy);
// A width for n characters of typical text in w's font.
int widthForChars(const QWidget* w, int n);

// The keys, pressed while field has the focus, click button when it is shown and enabled: the
// buttons beside a field take no focus (F4 "mostra la tabella", Shift+F4 the new-code or
// new-address button). The field's tooltip names the key.
void bindFieldKey(QWidget* field, const QKeySequence& keys, QAbstractButton* button);

// Alt with a key that no button or label of the window answers types nothing: Qt would put the
// character into the field that has the focus (Alt+C outside CONFERMA's page turning a code
// into "C", Alt+3 changing a date). Installed once on the application.
void installAltKeyGuard();

// The hourglass for the time of a scope.
struct BusyCursor {
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace vt
