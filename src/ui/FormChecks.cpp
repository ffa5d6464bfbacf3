#include "ui/FormChecks.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QBoxLayout>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QShortcutEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTextEdit>

#include "foundation/Services.h"
#include "foundation/Text.h"
#include "ui/Edits.h"

namespace vt {

namespace {

// BCONF's handler runs: the focus moves it makes (to a field to fix) are its own, not the user
// leaving fields.
bool confirming_ = false;

bool isField(QObject* o)
{
    return qobject_cast<QLineEdit*>(o) || qobject_cast<QComboBox*>(o) || qobject_cast<QAbstractSpinBox*>(o)
        || qobject_cast<QRadioButton*>(o) || qobject_cast<QPlainTextEdit*>(o) || qobject_cast<QTextEdit*>(o);
}

bool isEnter(QEvent* e)
{
    if (e->type() != QEvent::KeyPress)
        return false;
    auto* k = static_cast<QKeyEvent*>(e);
    return (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)
        && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

void moveToNext(QWidget* from)
{
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(from, &tab);
}

class EnterFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (isEnter(e)) {
            if (auto* w = qobject_cast<QWidget*>(watched)) {
                if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->view() && combo->view()->isVisible())
                    return false; // Enter chooses in an open list
                moveToNext(w);
                return true;
            }
        }
        return false;
    }
};

void installOn(QWidget* root, QObject* filter)
{
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!isField(w))
            continue;
        w->installEventFilter(filter);
        if (auto* p = qobject_cast<QPlainTextEdit*>(w))
            p->setTabChangesFocus(true);
        if (auto* t = qobject_cast<QTextEdit*>(w))
            t->setTabChangesFocus(true);
    }
}

} // namespace

void enterMovesToNextField(QWidget* root)
{
    installOn(root, new EnterFilter(root));
}

FormChecks::FormChecks(QWidget* window, Messenger& messenger)
    : QObject(window), window_(window), messenger_(messenger)
{
}

void FormChecks::attach()
{
    installOn(window_, this);
    if (!status_) {
        status_ = new QLabel(window_);
        status_->setObjectName(QStringLiteral("LSTATO"));
        status_->setStyleSheet(QStringLiteral("color: #b00000;"));
        status_->setMinimumHeight(status_->fontMetrics().height());
        if (auto* box = qobject_cast<QBoxLayout*>(window_->layout()))
            box->addWidget(status_);
        else if (auto* grid = qobject_cast<QGridLayout*>(window_->layout()))
            grid->addWidget(status_, grid->rowCount(), 0, 1, std::max(1, grid->columnCount()));
        else if (auto* form = qobject_cast<QFormLayout*>(window_->layout()))
            form->addRow(status_);
        else
            status_->hide();
    }
    // A character Windows-1252 cannot hold is refused where it is typed or pasted, with a message
    // naming the field by its label.
    for (auto* e : window_->findChildren<QLineEdit*>()) {
        if (auto* v = qobject_cast<const TextValidator*>(e->validator()))
            connect(v, &TextValidator::refused, this, [this, p = QPointer<QLineEdit>(e)](const QString& chars) {
                if (p)
                    messenger_.info(unencodableMessage(fieldLabel(p), chars));
            });
    }
    // A window that lives for the whole run starts each opening with nothing pending.
    window_->installEventFilter(this);
    // BCONF: its activation first runs the leave behaviour of the field being left.
    for (auto* b : window_->findChildren<QAbstractButton*>(QStringLiteral("BCONF"))) {
        confirm_ = b;
        b->installEventFilter(this);
    }
}

void FormChecks::onLeave(QWidget* field, CheckFn check)
{
    field->installEventFilter(this);
    leaveChecks_.emplace_back(field, std::move(check));
}

void FormChecks::onLeaveDo(QWidget* field, std::function<void()> action)
{
    onLeave(field, CheckFn([a = std::move(action)] {
        a();
        return CheckResult::pass();
    }));
}

QWidget* FormChecks::field(const QString& name) const
{
    if (name.isEmpty())
        return nullptr;
    return window_->findChild<QWidget*>(name);
}

void FormChecks::focusField(const QString& name)
{
    if (QWidget* w = field(name)) {
        w->setFocus(Qt::OtherFocusReason);
        if (auto* e = qobject_cast<QLineEdit*>(w))
            e->selectAll();
    }
}

void FormChecks::setStatus(const QString& text)
{
    if (status_)
        status_->setText(text);
}

bool FormChecks::show(const CheckResult& r)
{
    if (r.ok)
        return true;
    running_ = true;
    if (!r.message.isEmpty())
        messenger_.info(r.message);
    else if (!r.note.isEmpty())
        setStatus(r.note);
    focusField(r.focus);
    running_ = false;
    return false;
}

bool FormChecks::confirm(const std::vector<CheckFn>& checks)
{
    for (const CheckFn& c : checks)
        if (!show(c()))
            return false;
    return true;
}

bool FormChecks::confirmAll(const std::vector<CheckFn>& checks)
{
    QString lastFocus;
    bool ok = true;
    running_ = true;
    for (const CheckFn& c : checks) {
        const CheckResult r = c();
        if (r.ok)
            continue;
        ok = false;
        if (!r.message.isEmpty())
            messenger_.info(r.message);
        else if (!r.note.isEmpty())
            setStatus(r.note);
        if (!r.focus.isEmpty())
            lastFocus = r.focus;
    }
    focusField(lastFocus);
    running_ = false;
    return ok;
}

bool FormChecks::hasLeave(const QWidget* field) const
{
    for (const auto& entry : leaveChecks_)
        if (entry.first == field)
            return true;
    return false;
}

bool FormChecks::leave(QWidget* field)
{
    for (auto& [w, check] : leaveChecks_) {
        if (w != field)
            continue;
        if (!show(check()))
            return false;
    }
    return true;
}

bool FormChecks::runPendingLeave()
{
    QWidget* field = pending_;
    pending_.clear();
    if (!field) {
        // Alt+C moves no focus: the field being left is the one that has it.
        QWidget* f = QApplication::focusWidget();
        if (f && f->window() == window_->window() && hasLeave(f))
            field = f;
    }
    if (!field || !touched_ || running_)
        return true;
    return leave(field);
}

void FormChecks::activate(QAbstractButton* button)
{
    button->setDown(false);
    if (!runPendingLeave())
        return;
    // The focus moves the confirmation makes (to a field to fix) are not the user leaving fields.
    confirming_ = true;
    if (button->isEnabled())
        button->click();
    confirming_ = false;
}

bool FormChecks::confirmButtonEvent(QAbstractButton* button, QEvent* e)
{
    switch (e->type()) {
    case QEvent::MouseButtonRelease: {
        auto* me = static_cast<QMouseEvent*>(e);
        if (me->button() != Qt::LeftButton || !button->isDown() || !button->rect().contains(me->position().toPoint()))
            return false;
        activate(button);
        return true;
    }
    case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(e);
        if (isEnter(e) && !k->isAutoRepeat()) {
            activate(button); // Enter on the focused button presses it
            return true;
        }
        return false;
    }
    case QEvent::KeyRelease: {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() != Qt::Key_Space || k->isAutoRepeat() || !button->isDown())
            return false;
        activate(button);
        return true;
    }
    case QEvent::Shortcut: {
        if (static_cast<QShortcutEvent*>(e)->isAmbiguous())
            return false;
        activate(button);
        return true;
    }
    default:
        return false;
    }
}

bool FormChecks::eventFilter(QObject* watched, QEvent* e)
{
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w)
        return false;
    if (watched == window_) {
        if (e->type() == QEvent::Hide)
            pending_.clear();
        return false;
    }
    if (confirm_ && watched == confirm_.data())
        return confirmButtonEvent(confirm_, e);
    switch (e->type()) {
    case QEvent::KeyPress:
        if (isEnter(e) && isField(w)) {
            if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->view() && combo->view()->isVisible())
                return false;
            moveToNext(w);
            return true;
        }
        if (const QString typed = static_cast<QKeyEvent*>(e)->text(); !typed.isEmpty()) {
            if (isField(w) && !isCp1252(typed)) {
                messenger_.info(unencodableMessage(fieldLabel(w), nonCp1252Chars(typed)));
                return true;
            }
            touched_ = true;
            setStatus({}); // the user is at it again
        }
        break;
    case QEvent::FocusOut: {
        // Only a move to another field of this window counts as leaving: not a message box, a
        // popup, another window, nor the abandon button.
        auto* fe = static_cast<QFocusEvent*>(e);
        if (running_ || confirming_ || !touched_)
            break;
        if (fe->reason() == Qt::ActiveWindowFocusReason || fe->reason() == Qt::PopupFocusReason)
            break;
        if (!hasLeave(w))
            break;
        // Left for the confirm or abandon button: the behaviour waits for what the button does.
        QWidget* next = QApplication::focusWidget();
        if (next && (next->objectName() == QLatin1String("BABBANDONA") || next->objectName() == QLatin1String("BCONF"))) {
            pending_ = w;
            break;
        }
        if (next && next->window() != window_->window())
            break;
        pending_.clear();
        // Run once the focus has settled, so that a failing check can move it back.
        QMetaObject::invokeMethod(this, [this, p = QPointer<QWidget>(w)] {
            if (p && window_->isVisible())
                leave(p);
        }, Qt::QueuedConnection);
        break;
    }
    case QEvent::FocusIn: {
        // Back in a field after the buttons: the field left for them has been left after all.
        if (!pending_ || running_ || confirming_)
            break;
        if (pending_ == w) {
            pending_.clear();
            break;
        }
        if (w->window() != window_->window())
            break;
        QPointer<QWidget> left = pending_;
        pending_.clear();
        QMetaObject::invokeMethod(this, [this, left] {
            if (left && window_->isVisible())
                leave(left);
        }, Qt::QueuedConnection);
        break;
    }
    default:
        break;
    }
    return false;
}

} // namespace vt
