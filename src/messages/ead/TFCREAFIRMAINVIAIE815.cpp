#include "messages/ead/TFCREAFIRMAINVIAIE815.h"

#include <QTextEdit>
#include <QVBoxLayout>

#include "foundation/Dates.h"
#include "foundation/IoError.h"
#include "foundation/Text.h"
#include "messages/ead/Ie815Send.h"
#include "messages/ead/Summary.h"
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
    Ie815FlowWritten written;
    try {
        BusyCursor busy;
        written = writeIe815Flow(ctx_, request);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    for (const QString& warning : written.warnings)
        ctx_.messenger().info(warning);
    // The header in hand follows its file.
    ctx_.EadHeader.dataFlusso = dates::fromDate(request.flowDate);
    ctx_.EadHeader.numeroFlusso = request.flowNumber;
    if (form_->toSigning(request.flowName))
        signAndSend(request.year, request.progressive);
    accept();
}

// A positive outcome in the real environment puts the ARC and state "I" into the header as soon as
// the transmission window receives it; should that fail, once more when the window has closed.
void TFCREAFIRMAINVIAIE815::signAndSend(const QString& year, std::int32_t progressive)
{
    auto store = [this, year, progressive](const QString& arc) {
        if (!storeIe815Arc(ctx_, year, progressive, arc))
            throw IoError(QStringLiteral("L'e-AD N. %1 NON E' PIU' PRESENTE: ARC %2 NON MEMORIZZATO")
                              .arg(progressive)
                              .arg(arc));
        ctx_.EadHeader.ARC = padField(arc.left(21), 21);
        ctx_.EadHeader.stato = EadState::Accepted;
    };
    ctx_.Transmit.storeOutcome = store;
    const bool shown = handOffToSigning(ctx_, this);
    ctx_.Transmit.storeOutcome = nullptr;
    if (!shown || !ctx_.Transmit.positiveRealOutcome || ctx_.Transmit.outcomeStored)
        return;
    try {
        BusyCursor busy;
        store(ctx_.Transmit.arc);
        ctx_.Transmit.outcomeStored = true;
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
}

} // namespace vt
