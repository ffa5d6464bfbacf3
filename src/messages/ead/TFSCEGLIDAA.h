#pragma once
// The e-AD chooser: the e-ADs (or cancellations, changes of destination) of a year that the mode
// in OpCode can act on. Sets SelectedYear while the year is typed and PickedEad on closing: the
// progressive of the chosen row, or -1 when the user left without choosing.
#include <QDialog>

#include "foundation/AppContext.h"
#include "messages/ead/EadChoice.h"

class QLabel;
class QLineEdit;
class QTreeWidget;
class QPushButton;

namespace vt {

class TFSCEGLIDAA : public QDialog {
    Q_OBJECT
public:
    explicit TFSCEGLIDAA(AppContext& ctx, QWidget* parent = nullptr);

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void yearLeft();
    void rebuildList();
    void fillList();
    void sortBy(int column);
    void choose();
    void fitTitle();

    AppContext& ctx_;
    QLineEdit* LANNO;
    QTreeWidget* LISTA;
    QPushButton* BABBANDONA;
    QLabel* LNESSUNO; // "Nessun e-AD" when the year has none for the mode
    ChoiceList list_;
    QString listYear_; // the year list_ was built for
};

} // namespace vt
