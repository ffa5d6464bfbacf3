#include "ui/UndoListForm.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/Widgets.h"

namespace vt {

UndoListForm::UndoListForm(const QString& listName, const QString& confirmLabel, QWidget* parent) : QWidget(parent)
{
    list = new QListWidget(this);
    list->setObjectName(listName);
    QFont mono(QStringLiteral("Courier New"), 9);
    mono.setStyleHint(QFont::Monospace);
    list->setFont(mono);
    list->setMinimumSize(760, 260);
    BTUTTI = makeButton(this, "BTUTTI", QStringLiteral("Tutti"));
    BNESSUNO = makeButton(this, "BNESSUNO", QStringLiteral("Nessuno"));
    ECONF = new QLineEdit(this);
    ECONF->setObjectName(QStringLiteral("ECONF"));
    ECONF->setMaxLength(2);
    ECONF->setFixedWidth(ECONF->fontMetrics().horizontalAdvance(QStringLiteral("WWW")) + 16);
    BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));

    auto* ticks = new QHBoxLayout;
    ticks->addWidget(BTUTTI);
    ticks->addWidget(BNESSUNO);
    ticks->addStretch();
    auto* confirm = new QHBoxLayout;
    confirm->addWidget(new QLabel(confirmLabel, this));
    confirm->addWidget(ECONF);
    confirm->addStretch();
    confirm->addWidget(BABBANDONA);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list, 1);
    layout->addLayout(ticks);
    layout->addLayout(confirm);

    auto tick = [this](bool on) {
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    };
    connect(BTUTTI, &QPushButton::clicked, this, [tick] { tick(true); });
    connect(BNESSUNO, &QPushButton::clicked, this, [tick] { tick(false); });
    connect(BABBANDONA, &QPushButton::clicked, this, &UndoListForm::abandonRequested);
    ECONF->installEventFilter(this);
}

void UndoListForm::attachConfirm()
{
    // The filter installed last sees the keys first.
    ECONF->removeEventFilter(this);
    ECONF->installEventFilter(this);
}

void UndoListForm::fill(const UndoList& shown)
{
    shown_ = shown;
    list->clear();
    for (const QString& line : shown.lines) {
        auto* item = new QListWidgetItem(line, list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

QList<TRecMovimento> UndoListForm::tickedRecords() const
{
    QList<TRecMovimento> records;
    for (int i = 0; i < list->count() && i < shown_.records.size(); ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            records << shown_.records[i];
    return records;
}

bool UndoListForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ECONF) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                confirmLeft();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut && !BABBANDONA->hasFocus()) {
            QTimer::singleShot(0, this, [this] {
                if (!BABBANDONA->hasFocus() && !ECONF->hasFocus())
                    confirmLeft();
            });
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UndoListForm::confirmLeft()
{
    if (acting_ || ECONF->text().isEmpty())
        return;
    if (!confirmsUndo(ECONF->text())) {
        ECONF->clear();
        list->setFocus(Qt::OtherFocusReason);
        return;
    }
    acting_ = true;
    emit confirmed();
    acting_ = false;
}

} // namespace vt
