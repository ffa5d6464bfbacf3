#include "ui/ChooserList.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace vt {

ChooserWidgets buildChooser(QDialog* window, const QString& yearLabel, const QString& nothingListed)
{
    ChooserWidgets w;
    w.LANNO = new QLineEdit(window);
    w.LANNO->setObjectName(QStringLiteral("LANNO"));
    w.LANNO->setMaxLength(4);
    w.LANNO->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), w.LANNO));
    w.LANNO->setFixedWidth(w.LANNO->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);

    w.LISTA = makeChooserList(window);

    w.LNESSUNO = new QLabel(nothingListed, window);
    w.LNESSUNO->setObjectName(QStringLiteral("LNESSUNO"));
    QFont bold = w.LNESSUNO->font();
    bold.setBold(true);
    w.LNESSUNO->setFont(bold);
    w.LNESSUNO->hide();

    w.BABBANDONA = new QPushButton(QStringLiteral("&Abbandona"), window);
    w.BABBANDONA->setObjectName(QStringLiteral("BABBANDONA"));
    w.BABBANDONA->setAutoDefault(false);

    auto* year = new QFormLayout;
    year->addRow(new QLabel(yearLabel, window), w.LANNO);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(w.LNESSUNO);
    buttons->addStretch();
    buttons->addWidget(w.BABBANDONA);
    auto* layout = new QVBoxLayout(window);
    layout->addLayout(year);
    layout->addWidget(w.LISTA, 1);
    layout->addLayout(buttons);
    return w;
}

QTreeWidget* makeChooserList(QWidget* parent)
{
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QStringLiteral("LISTA"));
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QFont courier(QStringLiteral("Courier New"), 9);
    courier.setStyleHint(QFont::Monospace);
    courier.setFixedPitch(true);
    list->setFont(courier);
    list->header()->setSectionsClickable(true);
    list->header()->setStretchLastSection(false);
    return list;
}

void fillChooserList(QTreeWidget* list, const ChoiceList& choice, ChooserSelect select, QDialog* window,
                     int screenWidthLimit, int screenHeightLimit)
{
    list->clear();
    list->setColumnCount(int(choice.titles.size()));
    list->setHeaderLabels(choice.titles);
    list->setHeaderHidden(false);
    for (const ChoiceRow& row : choice.rows) {
        auto* item = new QTreeWidgetItem(list, row.columns);
        item->setData(0, Qt::UserRole, row.key);
    }
    const QList<int> widths = columnWidths(choice);
    const int charWidth = QFontMetrics(list->font()).horizontalAdvance(QLatin1Char('W'));
    int total = 0;
    for (int c = 0; c < widths.size(); ++c) {
        const int title = list->header()->fontMetrics().horizontalAdvance(choice.titles.value(c)) + 12;
        const int w = std::max((widths[c] + 2) * charWidth, title);
        list->setColumnWidth(c, w);
        total += w;
    }
    const int count = list->topLevelItemCount();
    if (count > 0)
        list->setCurrentItem(list->topLevelItem(select == ChooserSelect::Last ? count - 1 : 0));

    int width = std::max(total + 50, window->minimumWidth());
    if (screenWidthLimit > 0)
        width = std::min(width, screenWidthLimit);
    int height = std::max(2 * QFontMetrics(list->font()).height() * count, 300);
    if (screenHeightLimit > 0)
        height = std::min(height, screenHeightLimit);
    const QRect screen = window->screen() ? window->screen()->availableGeometry() : QRect();
    const QSize frame = window->frameGeometry().size() - window->size(); // window borders
    if (screen.isValid()) {
        width = std::min(width, screen.width() - frame.width());
        height = std::min(height, screen.height() - frame.height());
    }
    const QPoint centre = window->frameGeometry().center();
    window->resize(std::max(width, 400), std::max(height, 300));
    if (!window->isVisible())
        return;
    // It grows about its centre, so that it stays over the main window, and never past the
    // edges of the screen.
    QRect placed = window->frameGeometry();
    placed.moveCenter(centre);
    if (screen.isValid()) {
        placed.moveRight(std::min(placed.right(), screen.right()));
        placed.moveLeft(std::max(placed.left(), screen.left()));
        placed.moveBottom(std::min(placed.bottom(), screen.bottom()));
        placed.moveTop(std::max(placed.top(), screen.top()));
    }
    window->move(placed.topLeft());
}

int chooserKey(const QTreeWidgetItem* item)
{
    return item ? item->data(0, Qt::UserRole).toInt() : -1;
}

void fitChooserTitle(QDialog* window, int screenWidthLimit)
{
    QFont title = QApplication::font("QMdiSubWindowTitleBar");
    title.setBold(true); // window managers often draw captions in bold
    int needed = QFontMetrics(title).horizontalAdvance(window->windowTitle()) + 160; // icon and buttons
    if (screenWidthLimit > 0)
        needed = std::min(needed, screenWidthLimit);
    window->setMinimumWidth(std::max(window->minimumWidth(), needed));
}

} // namespace vt
