#pragma once
// "Crea il messaggio IE818 - Firma - Invia nell'Ambiente Telematico della Dogana": the unsent
// reports of receipt of a year in a check list; the checked ones go into one IE818 flow, which is
// handed to the signing program and the transmission window; the reports the real environment
// accepted become sent.
#include <QDialog>

#include "foundation/AppContext.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace vt {

class FlowEntryForm;

class TFCREAFIRMAINVIAIE818 : public QDialog {
    Q_OBJECT
public:
    explicit TFCREAFIRMAINVIAIE818(AppContext& ctx, QWidget* parent = nullptr);

    QLineEdit* LANNO;
    QListWidget* CELENCO;
    QPushButton* BTUTTI;
    QPushButton* BNESSUNO;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildList();
    void checkAll(bool checked);
    void confirm();

    AppContext& ctx_;
    FlowEntryForm* form_;
    bool confirming_ = false;
};

} // namespace vt
