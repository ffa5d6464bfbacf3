#include "messages/ead/TFCREAFIRMAINVIAIE810.h"

#include <QLabel>
#include <QTextEdit>
#include <QVBoxLayout>

#include "foundation/Dates.h"
#include "foundation/IoError.h"
#include "messages/ead/Ie810Send.h"
#include "messages/ead/Summary.h"
#include "ui/FlowEntryForm.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"

namespace vt {

namespace {
QTextEdit* summaryBox(QWidget* parent, const char* name)
{
    auto* box = new QTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setLineWrapMode(QTextEdit::NoWrap);
    QFont mono(QStringLiteral("Courier New"), 9);
    mono.setStyleHint(QFont::Monospace);
    box->setFont(mono);
    return box;
}
} // namespace

TFCREAFIRMAINVIAIE810::TFCREAFIRMAINVIAIE810(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFCREAFIRMAINVIAIE810"));
    setWindowTitle(QStringLiteral("Crea il messaggio IE810 - Firma - Invia nell'Ambiente Telematico della Dogana"));

    RIEPILOGO = summaryBox(this, "RIEPILOGO");
    RIEPILOGO->setMinimumSize(640, 280);
    RICHMOT = summaryBox(this, "RICHMOT");
    RICHMOT->setFixedHeight(RICHMOT->fontMetrics().lineSpacing() * 3 + 16);
    RICHMOT->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RICHMOT->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* reasonCaption = new QLabel(QStringLiteral("Motivo della cancellazione:"), this);

    form_ = new FlowEntryForm(ctx_, this);
    form_->setDateRule(ie810DateRule(ctx_.MessageRecord));
    form_->setDateRuleStops(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RIEPILOGO, 1);
    layout->addWidget(reasonCaption);
    layout->addWidget(RICHMOT);
    layout->addWidget(form_);

    enterMovesToNextField(this);
    connect(form_, &FlowEntryForm::confirmRequested, this, &TFCREAFIRMAINVIAIE810::confirm);
    connect(form_, &FlowEntryForm::abandonRequested, this, &QDialog::reject);
}

void TFCREAFIRMAINVIAIE810::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    try {
        RIEPILOGO->setPlainText(readTextFile(eadSummaryPath(ctx_)));
        RICHMOT->setPlainText(readTextFile(cancellationSummaryPath(ctx_)).trimmed());
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
    form_->start();
}

void TFCREAFIRMAINVIAIE810::confirm()
{
    const std::optional<FlowEntry> entry = form_->reachConfirm();
    if (!entry)
        return;
    const Ie810FlowRequest request = ie810Request(ctx_, ctx_.MessageRecord, *entry);

    ctx_.Transmit = Transmission{};
    ctx_.Transmit.kind = FlowKind::IE810;
    ctx_.Transmit.flowName = request.flowName;
    try {
        BusyCursor busy;
        ctx_.MessageRecord = writeIe810Flow(ctx_, request).cancellation;
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    if (form_->toSigning(request.flowName))
        signAndSend(request.year, request.progressive);
    accept();
}

// After a positive outcome in the real environment the cancellation is marked sent.
void TFCREAFIRMAINVIAIE810::signAndSend(const QString& year, std::int32_t progressive)
{
    if (!handOffToSigning(ctx_, this) || !ctx_.Transmit.positiveRealOutcome)
        return;
    try {
        BusyCursor busy;
        storeIe810Sent(ctx_, year, progressive);
        ctx_.MessageRecord.stato = EadState::Accepted;
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
}

} // namespace vt
