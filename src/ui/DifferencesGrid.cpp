#include "ui/DifferencesGrid.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>

#include "foundation/FieldAccess.h"
#include "foundation/NumberFormat.h"
#include "foundation/Services.h"
#include "foundation/Text.h"

namespace vt {

DifferencesGrid::DifferencesGrid(Messenger& messenger, QWidget* parent) : QTableWidget(parent), messenger_(messenger)
{
    setObjectName(QStringLiteral("STGRID"));
    setColumnCount(6);
    setHorizontalHeaderLabels({QStringLiteral("Rif. Prodotto"), QStringLiteral(" Litri e-AD"), QStringLiteral(" C / E"),
                               QStringLiteral("   Quantità"), QStringLiteral("Motivo insodd."),
                               QStringLiteral("Note aggiuntive")});
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->setVisible(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    QFont mono(QStringLiteral("Courier New"), 9);
    mono.setStyleHint(QFont::Monospace);
    setFont(mono);
    fitColumns();
    connect(this, &QTableWidget::currentCellChanged, this, &DifferencesGrid::cellSelected);
}

// Each column at least as wide as the layout asks and wide enough for its header and for the
// widest text it can show, so that no quantity is ever cut short on screen.
void DifferencesGrid::fitColumns()
{
    static constexpr int LayoutWidths[5] = {130, 70, 40, 70, 75};
    const QFontMetrics cells(font());
    const QFontMetrics headers(horizontalHeader()->font());
    const QString widestQuantity = FormatNumber(9999999.999, 10, 3);
    for (int c = Product; c <= Reasons; ++c) {
        int w = LayoutWidths[c];
        if (const QTableWidgetItem* h = horizontalHeaderItem(c))
            w = std::max(w, headers.horizontalAdvance(h->text()) + 16);
        if (c == Quantity || c == Litres)
            w = std::max(w, cells.horizontalAdvance(widestQuantity) + 12);
        if (c == Reasons)
            w = std::max(w, cells.horizontalAdvance(QString(8, QLatin1Char('0'))) + 12);
        for (int r = 0; r < rowCount(); ++r)
            w = std::max(w, cells.horizontalAdvance(cellText(r, c)) + 12);
        setColumnWidth(c, w);
    }
    // The note takes the room left (the header stretches it).
}

QString DifferencesGrid::cellText(int row, int column) const
{
    const QTableWidgetItem* i = item(row, column);
    return i ? i->text() : QString();
}

void DifferencesGrid::setCellText(int row, int column, const QString& text)
{
    QTableWidgetItem* i = item(row, column);
    if (!i) {
        i = new QTableWidgetItem;
        i->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(row, column, i);
    }
    i->setText(text);
    if (column == Litres || column == Quantity)
        i->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void DifferencesGrid::setLines(const QList<TRecDettaglio>& lines)
{
    clearContents();
    setRowCount(int(lines.size()));
    quantities_.clear();
    for (const TRecDettaglio& l : lines)
        quantities_ << doubleAt(l, 2088);
    for (int r = 0; r < lines.size(); ++r) {
        setCellText(r, Product, QString::number(int32At(lines[r], 8)) + QLatin1Char(' ') + trimmedAt(lines[r], 558));
        setCellText(r, Litres, FormatNumber(doubleAt(lines[r], 2088), 10, 3));
        for (int c = Type; c <= Note; ++c)
            setCellText(r, c, QString());
        QBrush fixed = palette().brush(QPalette::Button);
        item(r, Product)->setBackground(fixed);
        item(r, Litres)->setBackground(fixed);
    }
    fitColumns();
}

void DifferencesGrid::setOutcome(const QString& outcome)
{
    outcome_ = trimField(outcome);
    horizontalHeaderItem(Type)->setText(typeColumnHeader(outcome_));
    fitColumns();
    // Refusals typed (or filled for a refused e-AD) under an earlier outcome go when the new one
    // admits none: the grid never shows what the report will not carry.
    if (outcome_ != QLatin1String("3") && outcome_ != QLatin1String("4"))
        for (int r = 0; r < rowCount(); ++r)
            if (trimField(cellText(r, Type)) == QLatin1String("R")) {
                setCellText(r, Type, QString());
                setCellText(r, Quantity, QString());
            }
}

void DifferencesGrid::fillRefused(const QList<TRecDettaglio>& lines)
{
    for (int r = 0; r < rowCount() && r < lines.size(); ++r) {
        const ReceiptGridRow row = refusedRow(lines[r]);
        setCellText(r, Type, row.type);
        setCellText(r, Quantity, row.quantity);
    }
}

QList<ReceiptGridRow> DifferencesGrid::rows() const
{
    QList<ReceiptGridRow> out;
    for (int r = 0; r < rowCount(); ++r)
        out << ReceiptGridRow{cellText(r, Type), cellText(r, Quantity), cellText(r, Reasons), cellText(r, Note)};
    return out;
}

void DifferencesGrid::cellSelected(int row, int column, int, int)
{
    if (moving_ || row < 0 || column < 0)
        return;
    // A refused e-AD has its type and quantity fixed; the fixed columns are not typed into.
    if (column < Type || (outcome_ == QLatin1String("3") && column <= Quantity)) {
        moving_ = true;
        setCurrentCell(row, Reasons);
        moving_ = false;
        column = Reasons;
    }
    setCellText(row, column, trimField(cellText(row, column)));
}

void DifferencesGrid::enter(int row, int column)
{
    const QString s = trimField(cellText(row, column));
    int next = column + 1;
    switch (column) {
    // A value the rules change or drop is changed in sight, with a beep.
    case Type: {
        const QString type = typeCell(s, outcome_);
        setCellText(row, Type, type);
        if (type.isEmpty()) {
            setCellText(row, Quantity, QString());
            if (!s.isEmpty())
                messenger_.beep();
        }
        break;
    }
    case Quantity: {
        const double lineQuantity = row < quantities_.size() ? quantities_[row] : 0.0;
        if (ParseDecimal(s, 3) > lineQuantity) { // never more than the e-AD line holds
            setCellText(row, Quantity, FormatNumber(lineQuantity, 10, 3));
            messenger_.beep();
        } else {
            setCellText(row, Quantity, quantityCell(s));
        }
        break;
    }
    case Reasons: {
        const QString kept = reasonsCell(s, codes_);
        setCellText(row, Reasons, kept);
        for (QChar c : s)
            if (c.isDigit() && !kept.contains(c)) { // not a reason of the table
                messenger_.beep();
                break;
            }
        break;
    }
    case Note:
        setCellText(row, Note, s);
        next = Type;
        row = std::min(row + 1, rowCount() - 1);
        break;
    default:
        break;
    }
    setCurrentCell(row, next);
}

void DifferencesGrid::keyPressEvent(QKeyEvent* e)
{
    const int row = currentRow(), column = currentColumn();
    if (row < 0 || column < Type) {
        QTableWidget::keyPressEvent(e);
        return;
    }
    const QString s = trimField(cellText(row, column));
    const bool enterKey = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    const bool backspace = e->key() == Qt::Key_Backspace;
    const QString typed = e->text();
    const bool printable = typed.size() == 1 && typed.at(0).isPrint() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (e->key() == Qt::Key_Delete) { // the whole cell goes
        setCellText(row, column, QString());
        return;
    }
    if (backspace) {
        setCellText(row, column, cellText(row, column).left(std::max<qsizetype>(0, cellText(row, column).size() - 1)));
        return;
    }
    if (enterKey || (printable && cellFull(column, s))) {
        enter(row, column);
        return;
    }
    if (!printable) {
        QTableWidget::keyPressEvent(e); // arrows, Tab, page keys
        return;
    }
    QChar c = typed.at(0);
    if (column == Quantity || column == Reasons) {
        if (c == QLatin1Char('.'))
            c = QLatin1Char(',');
        if (!keyAccepted(column, c, s)) {
            messenger_.beep();
            return;
        }
    }
    if (column == Type)
        c = c.toUpper();
    if (!isCp1252(QString(c))) {
        messenger_.beep();
        return;
    }
    setCellText(row, column, cellText(row, column) + c);
}

} // namespace vt
