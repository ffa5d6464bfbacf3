#include "ui/Widgets.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

namespace vt {

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QLabel* buddyLabel(const QString& text, QWidget* buddy)
{
    auto* l = new QLabel(text, buddy->parentWidget());
    l->setBuddy(buddy);
    return l;
}

int widthForChars(const QWidget* w, int n)
{
    return w->fontMetrics().horizontalAdvance(QString(n, QLatin1Char('M'))) * 3 / 4 + 14;
}

namespace {
class AltKeyGuard : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A key press still travelling with Alt has not been taken as a shortcut. AltGr, which
        // some systems report as Ctrl+Alt, keeps typing its characters.
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const Qt::KeyboardModifiers m = key->modifiers();
            if ((m & Qt::AltModifier) && !(m & (Qt::ControlModifier | Qt::MetaModifier)) && !key->text().isEmpty()
                && key->text().at(0).isPrint())
                return true;
        }
        return QObject::eventFilter(watched, event);
    }
};
} // namespace

void installAltKeyGuard()
{
    static AltKeyGuard* guard = nullptr;
    if (!guard && qApp) {
        guard = new AltKeyGuard(qApp);
        qApp->installEventFilter(guard);
    }
}

void bindFieldKey(QWidget* field, const QKeySequence& keys, QAbstractButton* button)
{
    if (!button)
        return;
    auto* s = new QShortcut(keys, field);
    s->setContext(Qt::WidgetShortcut);
    QObject::connect(s, &QShortcut::activated, button, [button] {
        if (button->isVisible() && button->isEnabled())
            button->click();
    });
    QString hint = field->toolTip();
    if (!hint.isEmpty())
        hint += QLatin1Char('\n');
    field->setToolTip(hint + keys.toString(QKeySequence::NativeText) + QStringLiteral(": ") + button->toolTip());
}

} // namespace vt
