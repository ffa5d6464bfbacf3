#include "ui/Widgets.h"

#include <QLabel>
#include <QPushButton>

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

} // namespace vt
