#include "ui/FormChecks.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTextEdit>

#include "foundation/Services.h"

namespace vt {

namespace {

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

bool FormChecks::show(const CheckResult& r)
{
    if (r.ok)
        return true;
    running_ = true;
    if (!r.message.isEmpty())
        messenger_.info(r.message);
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

void FormChecks::leave(QWidget* field)
{
    for (auto& [w, check] : leaveChecks_) {
        if (w != field)
            continue;
        if (!show(check()))
            return;
    }
}

bool FormChecks::eventFilter(QObject* watched, QEvent* e)
{
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w)
        return false;
    switch (e->type()) {
    case QEvent::KeyPress:
        if (isEnter(e) && isField(w)) {
            if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->view() && combo->view()->isVisible())
                return false;
            moveToNext(w);
            return true;
        }
        if (!static_cast<QKeyEvent*>(e)->text().isEmpty())
            touched_ = true;
        break;
    case QEvent::FocusOut: {
        // Only a move to another field of this window counts as leaving: not a message box, a
        // popup, another window, nor the abandon button.
        auto* fe = static_cast<QFocusEvent*>(e);
        if (running_ || !touched_)
            break;
        if (fe->reason() == Qt::ActiveWindowFocusReason || fe->reason() == Qt::PopupFocusReason)
            break;
        // Confirming runs every check anyway; abandoning runs none.
        QWidget* next = QApplication::focusWidget();
        if (next && (next->objectName() == QLatin1String("BABBANDONA") || next->objectName() == QLatin1String("BCONF")))
            break;
        if (next && next->window() != window_->window())
            break;
        bool has = false;
        for (auto& entry : leaveChecks_)
            has = has || entry.first == w;
        // Run once the focus has settled, so that a failing check can move it back.
        if (has)
            QMetaObject::invokeMethod(this, [this, p = QPointer<QWidget>(w)] {
                if (p && window_->isVisible())
                    leave(p);
            }, Qt::QueuedConnection);
        break;
    }
    default:
        break;
    }
    return false;
}

} // namespace vt
