#include "messages/change/TFCREAFIRMAINVIAIE813.h"

#include <QTextEdit>
#include <QVBoxLayout>

#include "foundation/IoError.h"
#include "messages/change/Ie813Send.h"
#include "messages/ead/Summary.h"
#include "ui/FlowEntryForm.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"

namespace vt {

TFCREAFIRMAINVIAIE813::TFCREAFIRMAINVIAIE813(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFCREAFIRMAINVIAIE813"));
    setWindowTitle(QStringLiteral("Crea il messaggio IE813 - Firma - Invia nell'Ambiente Telematico della Dogana"));

    RIEPILOGO = new QTextEdit(this);
    RIEPILOGO->setObjectName(QStringLiteral("RIEPILOGO"));
    RIEPILOGO->setReadOnly(true);
    RIEPILOGO->setLineWrapMode(QTextEdit::NoWrap);
    QFont mono(QStringLiteral("Courier New"), 9);
    mono.setStyleHint(QFont::Monospace);
    RIEPILOGO->setFont(mono);
    RIEPILOGO->setMinimumSize(640, 320);

    form_ = new FlowEntryForm(ctx_, this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RIEPILOGO, 1);
    layout->addWidget(form_);

    enterMovesToNextField(this);
    connect(form_, &FlowEntryForm::confirmRequested, this, &TFCREAFIRMAINVIAIE813::confirm);
    connect(form_, &FlowEntryForm::abandonRequested, this, &QDialog::reject);
}

void TFCREAFIRMAINVIAIE813::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    try {
        RIEPILOGO->setPlainText(readTextFile(eadSummaryPath(ctx_)));
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
    form_->start();
}

void TFCREAFIRMAINVIAIE813::confirm()
{
    const std::optional<FlowEntry> entry = form_->reachConfirm();
    if (!entry)
        return;
    const Ie813FlowRequest request = ie813Request(ctx_, ctx_.MessageRecord, *entry);

    ctx_.Transmit = Transmission{};
    ctx_.Transmit.kind = FlowKind::IE813;
    ctx_.Transmit.flowName = request.flowName;
    try {
        BusyCursor busy;
        ctx_.MessageRecord = writeIe813Flow(ctx_, request).change;
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    if (form_->toSigning(request.flowName))
        signAndSend(request.year, request.number);
    accept();
}

// After a positive outcome in the real environment the change is marked sent.
void TFCREAFIRMAINVIAIE813::signAndSend(const QString& year, std::int32_t number)
{
    if (!handOffToSigning(ctx_, this) || !ctx_.Transmit.positiveRealOutcome)
        return;
    try {
        BusyCursor busy;
        storeIe813Sent(ctx_, year, number);
        ctx_.MessageRecord.stato = EadState::Accepted;
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
}

} // namespace vt
