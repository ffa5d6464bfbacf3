#include "messages/TFCREAFIRMAINVIAIE815.h"

#include <QTextEdit>
#include <QVBoxLayout>

#include "foundation/Dates.h"
#include "foundation/IoError.h"
#include "foundation/Text.h"
#include "messages/Ie815Send.h"
#include "messages/Summary.h"
#include "ui/FlowEntryForm.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"

namespace vt {

TFCREAFIRMAINVIAIE815::TFCREAFIRMAINVIAIE815(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFCREAFIRMAINVIAIE815"));
    setWindowTitle(QStringLiteral("Crea il messaggio IE815 - Firma - Invia nell'Ambiente Telematico della Dogana"));

    RIEPILOGO = new QTextEdit(this);
    RIEPILOGO->setObjectName(QStringLiteral("RIEPILOGO"));
    RIEPILOGO->setReadOnly(true);
    RIEPILOGO->setLineWrapMode(QTextEdit::NoWrap);
    QFont mono(QStringLiteral("Courier New"), 9);
    mono.setStyleHint(QFont::Monospace);
    RIEPILOGO->setFont(mono);
    RIEPILOGO->setMinimumSize(640, 320);

    form_ = new FlowEntryForm(ctx_, this);
    form_->setDateRule(ie815DateRule(ctx_.EadHeader));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RIEPILOGO, 1);
    layout->addWidget(form_);

    enterMovesToNextField(this);
    connect(form_, &FlowEntryForm::confirmRequested, this, &TFCREAFIRMAINVIAIE815::confirm);
    connect(form_, &FlowEntryForm::abandonRequested, this, &QDialog::reject);
}

void TFCREAFIRMAINVIAIE815::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    RIEPILOGO->setPlainText(readTextFile(eadSummaryPath(ctx_)));
    form_->start();
}

void TFCREAFIRMAINVIAIE815::confirm()
{
    const std::optional<FlowEntry> entry = form_->reachConfirm();
    if (!entry)
        return;
    const Ie815FlowRequest request = ie815Request(ctx_, ctx_.EadHeader, *entry);

    ctx_.Transmit = Transmission{};
    ctx_.Transmit.kind = FlowKind::IE815;
    ctx_.Transmit.flowName = request.flowName;
    try {
        BusyCursor busy;
        writeIe815Flow(ctx_, request);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    // The header in hand follows its file.
    ctx_.EadHeader.dataFlusso = dates::fromDate(request.flowDate);
    ctx_.EadHeader.numeroFlusso = request.flowNumber;
    if (form_->signingRequested())
        signAndSend(request.year, request.progressive);
    accept();
}

// After a positive outcome in the real environment the ARC and state "I" go into the header.
void TFCREAFIRMAINVIAIE815::signAndSend(const QString& year, std::int32_t progressive)
{
    if (!handOffToSigning(ctx_, this) || !ctx_.Transmit.positiveRealOutcome)
        return;
    try {
        BusyCursor busy;
        if (!storeIe815Arc(ctx_, year, progressive, ctx_.Transmit.arc))
            ctx_.messenger().info(QStringLiteral("L'e-AD N. %1 NON E' PIU' PRESENTE: ARC %2 NON MEMORIZZATO")
                                      .arg(progressive)
                                      .arg(ctx_.Transmit.arc));
        ctx_.EadHeader.ARC = padField(ctx_.Transmit.arc.left(21), 21);
        ctx_.EadHeader.stato = EadState::Accepted;
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
}

} // namespace vt
