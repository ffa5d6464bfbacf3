#pragma once
// "Crea il messaggio IE810 - Firma - Invia nell'Ambiente Telematico della Dogana": builds the IE810
// flow of the cancellation in hand (MessageRecord, in yyyy_810.DAT of WorkYear), hands it to the
// signing program and the transmission window, and marks the cancellation sent after a positive
// outcome in the real environment.
#include <QDialog>

#include "foundation/AppContext.h"

class QTextEdit;

namespace vt {

class FlowEntryForm;

class TFCREAFIRMAINVIAIE810 : public QDialog {
    Q_OBJECT
public:
    explicit TFCREAFIRMAINVIAIE810(AppContext& ctx, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void confirm();
    void signAndSend(const QString& year, std::int32_t progressive);

    AppContext& ctx_;
    QTextEdit* RIEPILOGO;
    QTextEdit* RICHMOT;
    FlowEntryForm* form_;
};

} // namespace vt
