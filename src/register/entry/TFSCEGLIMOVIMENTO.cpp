#include "register/entry/TFSCEGLIMOVIMENTO.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include "foundation/IoError.h"
#include "ui/ChooserList.h"

namespace vt {

TFSCEGLIMOVIMENTO::TFSCEGLIMOVIMENTO(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFSCEGLIMOVIMENTO"));
    setWindowTitle(movementChooserTitle(ctx_.OpCode));

    const ChooserWidgets w = buildChooser(this, QStringLiteral("Anno del movimento"), QStringLiteral("Nessun movimento"));
    LANNO = w.LANNO;
    LISTA = w.LISTA;
    LNESSUNO = w.LNESSUNO;
    BABBANDONA = w.BABBANDONA;

    LANNO->installEventFilter(this);
    LISTA->installEventFilter(this);
    connect(LANNO, &QLineEdit::returnPressed, this, [this] { LISTA->setFocus(Qt::TabFocusReason); });
    connect(LISTA, &QTreeWidget::itemDoubleClicked, this, [this] { choose(); });
    connect(LISTA->header(), &QHeaderView::sectionClicked, this, [this](int column) { sortBy(column); });
    connect(BABBANDONA, &QPushButton::clicked, this, &TFSCEGLIMOVIMENTO::reject);
}

void TFSCEGLIMOVIMENTO::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ctx_.PickedMovement = -1;
    setWindowTitle(movementChooserTitle(ctx_.OpCode));
    fitChooserTitle(this, ctx_.ScreenWidthLimit);
    LANNO->setText(QString::number(ctx_.clock().today().year()));
    ctx_.SelectedYear = LANNO->text();
    // The list of the current year is there from the start; a year typed afterwards is listed
    // when the list receives the focus.
    rebuildList();
    LANNO->setFocus(Qt::OtherFocusReason);
    LANNO->selectAll();
}

bool TFSCEGLIMOVIMENTO::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LANNO && event->type() == QEvent::FocusOut) {
        // The list about to take the focus rebuilds itself for the year typed; abandoning needs
        // no valid year.
        ctx_.SelectedYear = LANNO->text();
        if (focusWidget() != BABBANDONA)
            QTimer::singleShot(0, this, [this] { yearLeft(); });
    } else if (watched == LISTA && event->type() == QEvent::FocusIn) {
        // Only another year's list is built on arrival: the list shown stays, so that the row a
        // click lands on (the first half of a double click) is the row chosen.
        if (ctx_.SelectedYear != listYear_ && checkChoiceYear(ctx_.SelectedYear))
            rebuildList();
    } else if (watched == LISTA && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            choose();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFSCEGLIMOVIMENTO::yearLeft()
{
    const CheckResult r = checkChoiceYear(LANNO->text());
    if (!r) {
        LANNO->setFocus(Qt::OtherFocusReason);
        LANNO->selectAll();
    } else if (!LISTA->hasFocus()) {
        LISTA->setFocus(Qt::OtherFocusReason);
    }
}

void TFSCEGLIMOVIMENTO::rebuildList()
{
    listYear_ = ctx_.SelectedYear;
    try {
        list_ = buildMovementChoice(ctx_, ctx_.OpCode, ctx_.SelectedYear);
    } catch (const IoError& e) {
        list_ = {};
        ctx_.messenger().info(e.text());
    }
    fillList();
}

void TFSCEGLIMOVIMENTO::fillList()
{
    // The last item (the latest movement) is selected.
    fillChooserList(LISTA, list_, ChooserSelect::Last, this, ctx_.ScreenWidthLimit, ctx_.ScreenHeightLimit);
    LNESSUNO->setVisible(list_.rows.isEmpty());
}

void TFSCEGLIMOVIMENTO::sortBy(int column)
{
    sortChoiceRows(list_.rows, column);
    fillList();
}

void TFSCEGLIMOVIMENTO::choose()
{
    QTreeWidgetItem* item = LISTA->currentItem();
    if (!item)
        return;
    ctx_.PickedMovement = chooserKey(item);
    ctx_.SelectedYear = listYear_; // the row belongs to the year listed, whatever LANNO shows now
    accept();
}

void TFSCEGLIMOVIMENTO::reject()
{
    ctx_.PickedMovement = -1;
    QDialog::reject();
}

} // namespace vt
