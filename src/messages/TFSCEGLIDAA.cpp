#include "messages/TFSCEGLIDAA.h"

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

namespace vt {

TFSCEGLIDAA::TFSCEGLIDAA(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFSCEGLIDAA"));
    setWindowTitle(chooserTitle(ctx_.OpCode));

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

    LNESSUNO = new QLabel(QStringLiteral("Nessun e-AD"), this);
    LNESSUNO->setObjectName(QStringLiteral("LNESSUNO"));
    QFont bold = LNESSUNO->font();
    bold.setBold(true);
    LNESSUNO->setFont(bold);
    LNESSUNO->hide();

    BABBANDONA = new QPushButton(QStringLiteral("&Abbandona"), this);
    BABBANDONA->setObjectName(QStringLiteral("BABBANDONA"));
    BABBANDONA->setAutoDefault(false);

    auto* year = new QFormLayout;
    year->addRow(new QLabel(QStringLiteral("Anno della Spedizione"), this), LANNO);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(LNESSUNO);
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
    // The list of the default year is there from the start; it is built again whenever it
    // receives the focus, so a year typed afterwards is listed too.
    rebuildList();
    LANNO->setFocus(Qt::OtherFocusReason);
    LANNO->selectAll();
}

// The caption of some modes is long: the window is at least as wide as its title (within the
// screen), so that the operation it serves can be read whole.
void TFSCEGLIDAA::fitTitle()
{
    const QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    QFont boldTitle = titleFont;
    boldTitle.setBold(true); // window managers often draw captions in bold
    int needed = QFontMetrics(boldTitle).horizontalAdvance(windowTitle()) + 160; // icon and buttons
    if (ctx_.ScreenWidthLimit > 0)
        needed = std::min(needed, ctx_.ScreenWidthLimit);
    setMinimumWidth(std::max(minimumWidth(), needed));
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
    if (LISTA->topLevelItemCount() > 0 && !LISTA->currentItem())
        LISTA->setCurrentItem(LISTA->topLevelItem(0));
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
    ctx_.PickedEad = item->data(0, Qt::UserRole).toInt();
    accept();
}

void TFSCEGLIDAA::reject()
{
    ctx_.PickedEad = -1;
    QDialog::reject();
}

} // namespace vt
