#include "messages/ead/TFSCEGLIDAA.h"

#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "foundation/IoError.h"
#include "ui/ChooserList.h"

namespace vt {

TFSCEGLIDAA::TFSCEGLIDAA(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFSCEGLIDAA"));
    setWindowTitle(chooserTitle(ctx_.OpCode));

    const ChooserWidgets w = buildChooser(this, QStringLiteral("Anno della Spedizione"), QStringLiteral("Nessun e-AD"));
    LANNO = w.LANNO;
    LISTA = w.LISTA;
    LNESSUNO = w.LNESSUNO;
    BABBANDONA = w.BABBANDONA;

    LANNO->installEventFilter(this);
    LISTA->installEventFilter(this);
    connect(LANNO, &QLineEdit::returnPressed, this, [this] { LISTA->setFocus(Qt::TabFocusReason); });
    connect(LISTA, &QTreeWidget::itemDoubleClicked, this, [this] { choose(); });
    connect(LISTA->header(), &QHeaderView::sectionClicked, this, [this](int column) { sortBy(column); });
    connect(BABBANDONA, &QPushButton::clicked, this, &TFSCEGLIDAA::reject);
}

void TFSCEGLIDAA::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ctx_.PickedEad = -1;
    setWindowTitle(chooserTitle(ctx_.OpCode));
    LANNO->setText(QString::number(ctx_.clock().today().year()));
    ctx_.SelectedYear = LANNO->text();
    fitTitle();
    // The list of the default year is there from the start; a year typed afterwards is listed
    // when the list receives the focus.
    rebuildList();
    LANNO->setFocus(Qt::OtherFocusReason);
    LANNO->selectAll();
}

// The caption of some modes is long: the window is at least as wide as its title (within the
// screen), so that the operation it serves can be read whole.
void TFSCEGLIDAA::fitTitle()
{
    fitChooserTitle(this, ctx_.ScreenWidthLimit);
}

bool TFSCEGLIDAA::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LANNO && event->type() == QEvent::FocusOut) {
        // The list about to take the focus rebuilds itself for the year typed; abandoning needs
        // no valid year.
        ctx_.SelectedYear = LANNO->text();
        if (focusWidget() != BABBANDONA)
            QTimer::singleShot(0, this, [this] { yearLeft(); });
    } else if (watched == LISTA && event->type() == QEvent::FocusIn) {
        // The list of another year is built on arrival; the list already shown for this year is
        // kept, so that the row a click lands on (the first half of a double click) stays there.
        if (ctx_.SelectedYear != listYear_)
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

void TFSCEGLIDAA::yearLeft()
{
    const CheckResult r = checkChoiceYear(LANNO->text());
    if (!r) {
        LANNO->setFocus(Qt::OtherFocusReason);
        LANNO->selectAll();
    } else if (!LISTA->hasFocus()) {
        LISTA->setFocus(Qt::OtherFocusReason);
    }
}

void TFSCEGLIDAA::rebuildList()
{
    listYear_ = ctx_.SelectedYear;
    try {
        list_ = buildChoiceList(ctx_, ctx_.OpCode, ctx_.SelectedYear);
    } catch (const IoError& e) {
        list_ = {};
        ctx_.messenger().info(e.text());
    }
    fillList();
}

void TFSCEGLIDAA::fillList()
{
    fillChooserList(LISTA, list_, ChooserSelect::First, this, ctx_.ScreenWidthLimit, ctx_.ScreenHeightLimit);
    LNESSUNO->setVisible(list_.rows.isEmpty());
}

void TFSCEGLIDAA::sortBy(int column)
{
    sortChoiceRows(list_.rows, column);
    fillList();
}

void TFSCEGLIDAA::choose()
{
    QTreeWidgetItem* item = LISTA->currentItem();
    if (!item)
        return;
    ctx_.PickedEad = chooserKey(item);
    accept();
}

void TFSCEGLIDAA::reject()
{
    ctx_.PickedEad = -1;
    QDialog::reject();
}

} // namespace vt
