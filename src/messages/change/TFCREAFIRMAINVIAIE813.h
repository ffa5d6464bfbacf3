#pragma once
// "Crea il messaggio IE813 - Firma - Invia nell'Ambiente Telematico della Dogana": builds the IE813
// flow of the change of destination in hand (MessageRecord, in yyyy_813.DAT of WorkYear), hands it
// to the signing program and the transmission window, and marks the change sent after a positive
// outcome in the real environment.
#include <QDialog>

#include "foundation/AppContext.h"

class QTextEdit;

namespace vt {

class FlowEntryForm;

class TFCREAFIRMAINVIAIE813 : public QDialog {
    Q_OBJECT
public:
    explicit TFCREAFIRMAINVIAIE813(AppContext& ctx, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void confirm();
    void signAndSend(const QString& year, std::int32_t number);

    AppContext& ctx_;
    QTextEdit* RIEPILOGO;
    FlowEntryForm* form_;
};

} // namespace vt
