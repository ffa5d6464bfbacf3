#pragma once
// The listing and picker: shows the rows of the table (or address file) named by
// ctx.TableName, sets ctx.PickedCode to the chosen row's number (-1 when left without choosing)
// and prints the list.
#include <QDialog>

#include "foundation/AppContext.h"
#include "foundation/Listing.h"

class QTableWidget;
class QPushButton;

namespace vt {

class TFLISTVIEW : public QDialog {
    Q_OBJECT
public:
    explicit TFLISTVIEW(AppContext& ctx, QWidget* parent = nullptr);

    const Listing& listing() const { return listing_; }

public slots:
    void reject() override; // Esc and "Abbandona"
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillGrid();
    void pick();
    void sortByShown(int shownIndex);
    void print();

    AppContext& ctx_;
    Listing listing_;
    QList<int> shown_;
    QTableWidget* LISTA;
    QPushButton* BOK;
    QPushButton* BSTAMPA;
    QPushButton* BABBANDONA;
};

} // namespace vt
