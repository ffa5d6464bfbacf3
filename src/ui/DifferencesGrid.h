#pragma once
// The grid of differences of a report of receipt (STGRID): one row per e-AD line, the first two
// columns fixed (line and product, litres of the e-AD), then type (C shortage, E excess, R refused),
// quantity, reason codes (T025) and note. Keys are typed straight into the current cell and follow
// the report's rules (ReceiptReport.h): Enter completes the cell and moves on, a full cell takes
// any key as Enter, quantities and reasons accept digits and the comma only; Backspace takes the
// last character away, Delete empties the cell. A type, a quantity or a reason that the rules
// change or drop on Enter (no such type, more than the line holds, no such reason) is changed in
// sight with a beep.
#include <QTableWidget>

#include "foundation/EadRecord.h"
#include "messages/receipt/ReceiptReport.h"

namespace vt {

class Messenger;

class DifferencesGrid : public QTableWidget {
    Q_OBJECT
public:
    DifferencesGrid(Messenger& messenger, QWidget* parent = nullptr);

    enum Column { Product = 0, Litres = 1, Type = 2, Quantity = 3, Reasons = 4, Note = 5 };

    void setLines(const QList<TRecDettaglio>& lines);
    void setOutcome(const QString& outcome);
    void setCodes(const QStringList& codes) { codes_ = codes; }
    // Every line refused whole (outcome "3").
    void fillRefused(const QList<TRecDettaglio>& lines);
    QList<ReceiptGridRow> rows() const;
    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fitColumns();
    void enter(int row, int column);
    void cellSelected(int row, int column, int previousRow, int previousColumn);

    Messenger& messenger_;
    QString outcome_;
    QStringList codes_;
    QList<double> quantities_; // litres of each e-AD line
    bool moving_ = false;
};

} // namespace vt
