#pragma once
// "Storia di un e-AD": every event of one movement in date order, read-only.
// The e-AD is chosen in the e-AD chooser (which opens with the window) or its
// ARC typed in NUMARC. Enter on a line whose record can be opened (an e-AD, a
// register record) shows that record read-only. The list prints through the
// print preview and saves as PDF. A file that could not be read is named above
// the list.
#include <QDialog>

#include "foundation/AppContext.h"
#include "messages/ead/EadHistory.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace vt {

class TFSTORIAEAD : public QDialog {
    Q_OBJECT
public:
    explicit TFSTORIAEAD(AppContext& ctx, QWidget* parent = nullptr);

    const EadHistory& history() const { return history_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void choose();
    void showArc();
    void display(const EadHistory& h);
    void openLine();
    void print();
    void savePdf();

    AppContext& ctx_;
    EadHistory history_;
    bool opened_ = false;
    QLineEdit* NUMARC;
    QPushButton *BMOSTRA, *BSCEGLI, *BSTAMPA, *BPDF, *BABBANDONA;
    QLabel* LDANNI;
    QTableWidget* LISTA;
};

} // namespace vt
