#pragma once
// "CANCELLA I MOVIMENTI NON INVIATI": the unsent records of the mode (loads,
// unloads, guarantee days, or their unsent rectifications) of a year; those
// ticked are deleted once "SI" is typed.
#include <QDialog>

#include "foundation/AppContext.h"
#include "register/undo/RegisterUndo.h"

class QLineEdit;

namespace vt {

class UndoListForm;

class TFCANCMOVIM : public QDialog {
    Q_OBJECT
public:
    explicit TFCANCMOVIM(AppContext& ctx, QWidget* parent = nullptr);

    QLineEdit* LANNO;
    UndoListForm* form;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rebuildList();
    void remove();

    AppContext& ctx_;
    QChar mode_;
    UndoList list_;
};

} // namespace vt
