#include "register/TFSCEGLIMOVIMENTO.h"

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

namespace vt {

TFSCEGLIMOVIMENTO::TFSCEGLIMOVIMENTO(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFSCEGLIMOVIMENTO"));
    setWindowTitle(movementChooserTitle(ctx_.OpCode));

    LANNO = new QLineEdit(this);
    LANNO->setObjectName(QStringLiteral("LANNO"));
    LANNO->setMaxLength(4);
    LANNO->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), LANNO));
    LANNO->setFixedWidth(LANNO->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);

    LISTA = new QTreeWidget(this);
    LISTA->setObjectName(QStringLiteral("LISTA"));
    LISTA->setRootIsDecorated(false);
    LISTA->setUniformRowHeights(true);
    LISTA->setAllColumnsShowFocus(true);
    LISTA->setSelectionMode(QAbstractItemView::SingleSelection);
    LISTA->setSelectionBehavior(QAbstractItemView::SelectRows);
    LISTA->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QFont courier(QStringLiteral("Courier New"), 9);
    courier.setStyleHint(QFont::Monospace);
    courier.setFixedPitch(true);
    LISTA->setFont(courier);
    LISTA->header()->setSectionsClickable(true);
    LISTA->header()->setStretchLastSection(false);

    BABBANDONA = new QPushButton(QStringLiteral("&Abbandona"), this);
    BABBANDONA->setObjectName(QStringLiteral("BABBANDONA"));
    BABBANDONA->setAutoDefault(false);

    auto* year = new QFormLayout;
    year->addRow(new QLabel(QStringLiteral("Anno del movimento"), this), LANNO);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BABBANDONA);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(year);
    layout->addWidget(LISTA, 1);
    layout->addLayout(buttons);

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
    LANNO->setText(QString::number(ctx_.clock().today().year()));
    ctx_.SelectedYear = LANNO->text();
    LISTA->clear();
    LISTA->setHeaderHidden(true); // the titles come with the list of the mode
    list_ = {};
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
    LISTA->clear();
    LISTA->setColumnCount(int(list_.titles.size()));
    LISTA->setHeaderLabels(list_.titles);
    LISTA->setHeaderHidden(false);
    const QList<int> widths = columnWidths(list_);
    for (const ChoiceRow& row : list_.rows) {
        auto* item = new QTreeWidgetItem(LISTA, row.columns);
        item->setData(0, Qt::UserRole, row.key);
    }
    const int charWidth = QFontMetrics(LISTA->font()).horizontalAdvance(QLatin1Char('W'));
    int total = 0;
    for (int c = 0; c < widths.size(); ++c) {
        const int title = LISTA->header()->fontMetrics().horizontalAdvance(list_.titles.value(c)) + 12;
        const int w = std::max((widths[c] + 2) * charWidth, title);
        LISTA->setColumnWidth(c, w);
        total += w;
    }
    // The window follows the columns, within the limits of the screen.
    int width = total + 50;
    if (ctx_.ScreenWidthLimit > 0)
        width = std::min(width, ctx_.ScreenWidthLimit);
    const QPoint centre = frameGeometry().center();
    resize(std::max(width, 400), std::max(height(), 300));
    if (isVisible()) // it grows about its centre, so that it stays over the main window
        move(centre - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    // The last item (the latest movement) is selected.
    if (LISTA->topLevelItemCount() > 0 && !LISTA->currentItem())
        LISTA->setCurrentItem(LISTA->topLevelItem(LISTA->topLevelItemCount() - 1));
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
    ctx_.PickedMovement = item->data(0, Qt::UserRole).toInt();
    accept();
}

void TFSCEGLIMOVIMENTO::reject()
{
    ctx_.PickedMovement = -1;
    QDialog::reject();
}

} // namespace vt
