#pragma once
// "Crea il flusso del registro di carico e scarico - Firma - Invia
// nell'Ambiente Telematico della Dogana": lists the unsent register records of
// a year, writes the register flow of the ticked ones, marks them, and hands
// the flow to the signing program and the transmission window.
#include <QDialog>

#include "foundation/AppContext.h"
#include "register/flow/RegisterFlow.h"

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace vt {

class FlowEntryForm;

class TFCREAFIRMAINVIAREGISTRO : public QDialog {
    Q_OBJECT
public:
    explicit TFCREAFIRMAINVIAREGISTRO(AppContext& ctx, QWidget* parent = nullptr);

    QLineEdit* LANNO;
    QListWidget* CELENCO;
    QPushButton* BTUTTI;
    QPushButton* BNESSUNO;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void yearLeft();
    void rebuildList();
    void tickAll(bool ticked);
    void itemToggled(QListWidgetItem* item);
    QList<int> ticked() const;
    void confirm();
    void signAndSend();

    AppContext& ctx_;
    FlowEntryForm* form_;
    RegisterFlowList list_;
    bool filling_ = false;
};

} // namespace vt
