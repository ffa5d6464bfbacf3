#pragma once
// "RIATTIVA I RECORD ASSOCIATI AD UN FLUSSO": the records a flow carried (flow
// date and number, register year) listed; those ticked become unsent again once
// "SI" is typed.
#include <QDialog>

#include "foundation/AppContext.h"
#include "register/undo/RegisterUndo.h"

class QLineEdit;

namespace vt {

class DateEdit;
class UndoListForm;

class TFCANCFLUSSO : public QDialog {
    Q_OBJECT
public:
    explicit TFCANCFLUSSO(AppContext& ctx, QWidget* parent = nullptr);

    DateEdit* MDARI;
    QLineEdit* INUCO;
    QLineEdit* LANNO;
    UndoListForm* form;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void proposeNumber();
    bool rebuildList(); // false, with the cursor back, when the date or the year
                        // is not valid
    void reactivate();

    AppContext& ctx_;
    UndoList list_;
    QDate listDate_;
    int listNumber_ = 0;
};

} // namespace vt
