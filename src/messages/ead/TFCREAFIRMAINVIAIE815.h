#pragma once
// "Crea il messaggio IE815 - Firma - Invia nell'Ambiente Telematico della Dogana": builds the IE815
// flow of the e-AD in hand (EadHeader, its lines in the yearly files of WorkYear), hands it to the
// signing program and the transmission window, and stores the ARC of a positive real outcome.
#include <QDialog>

#include "foundation/AppContext.h"

class QTextEdit;

namespace vt {

class FlowEntryForm;

class TFCREAFIRMAINVIAIE815 : public QDialog {
    Q_OBJECT
public:
    explicit TFCREAFIRMAINVIAIE815(AppContext& ctx, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void confirm();
    void signAndSend(const QString& year, std::int32_t progressive);

    AppContext& ctx_;
    QTextEdit* RIEPILOGO;
    FlowEntryForm* form_;
};

} // namespace vt
