#pragma once
// The register picker: the movements (or guarantee records) of a year that the mode in OpCode can
// act on. Sets SelectedYear while the year is typed and PickedMovement on closing: the `numero` of
// the chosen row, or -1 when the user left without choosing.
#include <QDialog>

#include "foundation/AppContext.h"
#include "register/entry/MovementChoice.h"

class QLabel;
class QLineEdit;
class QTreeWidget;
class QPushButton;

namespace vt {

class TFSCEGLIMOVIMENTO : public QDialog {
    Q_OBJECT
public:
    explicit TFSCEGLIMOVIMENTO(AppContext& ctx, QWidget* parent = nullptr);

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

    AppContext& ctx_;
    QLineEdit* LANNO;
    QTreeWidget* LISTA;
    QLabel* LNESSUNO; // "Nessun movimento" when the year has none for the mode
    QPushButton* BABBANDONA;
    ChoiceList list_;
    QString listYear_; // the year list_ was built for
};

} // namespace vt
