#include "ui/TFLISTVIEW.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <climits>

#include "foundation/IoError.h"
#include "prints/ListingPrint.h"
#include "ui/PrintText.h"
#include "ui/QtPageSurface.h"
#include "ui/Widgets.h"

namespace vt {

namespace {
constexpr int kNumberRole = Qt::UserRole;

int limited(int value, int limit)
{
    return std::max(300, std::min(value, limit > 0 ? limit : INT_MAX));
}
} // namespace

TFLISTVIEW::TFLISTVIEW(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFLISTVIEW"));
    LISTA = new QTableWidget(this);
    LISTA->setObjectName(QStringLiteral("LISTA"));
    LISTA->setShowGrid(true);
    LISTA->setSelectionBehavior(QAbstractItemView::SelectRows);
    LISTA->setSelectionMode(QAbstractItemView::SingleSelection);
    LISTA->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LISTA->verticalHeader()->setVisible(false);
    LISTA->horizontalHeader()->setSectionsClickable(true);
    LISTA->horizontalHeader()->setHighlightSections(false);
    LISTA->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    LISTA->setWordWrap(false);
    LISTA->setTextElideMode(Qt::ElideNone);
    QFont font(QStringLiteral("COURIER NEW"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(9);
    LISTA->setFont(font);
    LISTA->horizontalHeader()->setFont(font);
    // Rows of one text line each, as a list of codes reads best.
    const QFontMetrics rowMetrics(font);
    LISTA->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    LISTA->verticalHeader()->setMinimumSectionSize(rowMetrics.height() + 2);
    LISTA->verticalHeader()->setDefaultSectionSize(rowMetrics.height() + 4);
    LISTA->installEventFilter(this);

    BOK = makeButton(this, "BOK", QStringLiteral("&OK"));
    BSTAMPA = makeButton(this, "BSTAMPA", QStringLiteral("&Stampa"));
    BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));
    auto* panel = new QWidget(this);
    auto* buttons = new QHBoxLayout(panel);
    buttons->addWidget(BOK);
    buttons->addWidget(BSTAMPA);
    buttons->addStretch(1);
    buttons->addWidget(BABBANDONA);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LISTA, 1);
    layout->addWidget(panel);

    connect(BOK, &QPushButton::clicked, this, &TFLISTVIEW::pick);
    connect(BABBANDONA, &QPushButton::clicked, this, &TFLISTVIEW::reject);
    connect(BSTAMPA, &QPushButton::clicked, this, &TFLISTVIEW::print);
    connect(LISTA, &QTableWidget::cellDoubleClicked, this, [this] { pick(); });
    connect(LISTA->horizontalHeader(), &QHeaderView::sectionClicked, this, &TFLISTVIEW::sortByShown);

    ctx_.PickedCode = -1;
    try {
        listing_ = OpenListing(ctx_);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        listing_ = Listing{};
    }
    setWindowTitle(listing_.title);

    shown_ = listing_.shownColumns();
    LISTA->setColumnCount(int(shown_.size()));
    const QFontMetrics fm(font);
    int width = 0;
    for (int n = 0; n < shown_.size(); ++n) {
        LISTA->setHorizontalHeaderItem(n, new QTableWidgetItem(listing_.titleOfShown(n)));
        const int px = fm.horizontalAdvance(QString(listing_.columnWidth(n) + 2, QLatin1Char('W')));
        LISTA->setColumnWidth(n, px);
        width += px;
    }
    fillGrid();
    resize(limited(width + 50, ctx_.ScreenWidthLimit),
           limited(2 * fm.height() * int(listing_.items.size()), ctx_.ScreenHeightLimit));
    if (LISTA->rowCount() > 0)
        LISTA->selectRow(0);
    LISTA->setFocus();
}

void TFLISTVIEW::fillGrid()
{
    LISTA->setRowCount(int(listing_.items.size()));
    for (int r = 0; r < listing_.items.size(); ++r) {
        const ListingItem& it = listing_.items[r];
        for (int n = 0; n < shown_.size(); ++n) {
            const int c = shown_[n];
            auto* cell = new QTableWidgetItem(c < it.columns.size() ? it.columns[c] : QString());
            cell->setToolTip(cell->text()); // the whole text, also where the column clips it
            if (n == 0)
                cell->setData(kNumberRole, it.number);
            LISTA->setItem(r, n, cell);
        }
    }
}

void TFLISTVIEW::pick()
{
    const int row = LISTA->currentRow();
    const auto selected = LISTA->selectionModel()->selectedRows();
    if (row < 0 || selected.isEmpty())
        return;
    ctx_.PickedCode = listing_.items[selected.first().row()].number;
    accept();
}

void TFLISTVIEW::reject()
{
    ctx_.PickedCode = -1;
    QDialog::reject();
}

void TFLISTVIEW::done(int result)
{
    QDialog::done(result);
    // Give the keyboard back to the window that asked for the list.
    if (QWidget* caller = parentWidget())
        caller->window()->activateWindow();
}

void TFLISTVIEW::sortByShown(int shownIndex)
{
    if (shownIndex < 0 || shownIndex >= shown_.size())
        return;
    const auto selected = LISTA->selectionModel()->selectedRows();
    std::optional<ListingItem> keep;
    if (!selected.isEmpty())
        keep = listing_.items[selected.first().row()];
    SortListing(listing_, shown_[shownIndex]);
    fillGrid();
    if (keep) {
        for (int r = 0; r < listing_.items.size(); ++r)
            if (listing_.items[r].number == keep->number && listing_.items[r].columns == keep->columns) {
                LISTA->selectRow(r);
                break;
            }
    }
}

bool TFLISTVIEW::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LISTA && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            pick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFLISTVIEW::print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(ListingOrientation(listing_) == PageOrientation::Landscape ? QPageLayout::Landscape
                                                                                          : QPageLayout::Portrait);
    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName(QStringLiteral("PrintD"));
    preview.setWindowTitle(listing_.title);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) {
        QtPageSurface surface(*p);
        PrintListing(surface, listing_);
    });
    execPreview(preview, this);
}

} // namespace vt
