#pragma once
// The part the reactivation and deletion windows share: a check list with
// "Tutti" and "Nessuno", the two-letter confirmation ECONF under its label, and
// "&Abbandona". Leaving ECONF with "SI" asks the window to act; anything else
// (lower case too) sends the cursor back to the list.
#include <QWidget>

#include "register/undo/RegisterUndo.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace vt {

class UndoListForm : public QWidget {
    Q_OBJECT
public:
    UndoListForm(const QString& listName, const QString& confirmLabel, QWidget* parent);

    void fill(const UndoList& list); // nothing ticked
    // Call after the window's own Enter handling is installed: Enter in ECONF confirms.
    void attachConfirm();
    QList<TRecMovimento> tickedRecords() const;

    QListWidget* list;
    QPushButton* BTUTTI;
    QPushButton* BNESSUNO;
    QLineEdit* ECONF;
    QPushButton* BABBANDONA;

signals:
    void confirmed();
    void abandonRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void confirmLeft();

    UndoList shown_;
    bool acting_ = false;
};

} // namespace vt
