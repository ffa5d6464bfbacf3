#include "messages/ead/TFINS_MOD_CANC_ARC.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include "foundation/IoError.h"
#include "foundation/Text.h"
#include "messages/ead/EadLifecycle.h"
#include "messages/receipt/ReceiptLifecycle.h"
#include "messages/receipt/ReceiptReport.h"
#include "messages/ead/Summary.h"
#include "ui/CodedField.h"
#include "ui/Edits.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"
#include "ui/WindowRegistry.h"

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

TFINS_MOD_CANC_ARC::TFINS_MOD_CANC_ARC(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), mode_(ctx.OpCode)
{
    setObjectName(QStringLiteral("TFINS_MOD_CANC_ARC"));
    const LifecycleTexts texts = lifecycleTexts(mode_);
    setWindowTitle(texts.caption);
    checks_ = new FormChecks(this, ctx_.messenger());

    RIEPILOGO = summaryBox(this, "RIEPILOGO");
    RIEPILOGO->setMinimumSize(700, 300);

    Label1 = new QLabel(texts.warning, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    Label1->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    Label1->setVisible(!texts.warning.isEmpty());

    // "R": the ARC.
    arcRow_ = new QWidget(this);
    NUMARC = new QLineEdit(arcRow_);
    NUMARC->setObjectName(QStringLiteral("NUMARC"));
    setupText(NUMARC, 21, TextCase::Upper);
    NUMARC->setFixedWidth(widthForChars(NUMARC, 24));
    auto* arcLayout = new QHBoxLayout(arcRow_);
    arcLayout->setContentsMargins(0, 0, 0, 0);
    arcLayout->addWidget(buddyLabel(QStringLiteral("Numero dell'ARC attribuito all'e-AD"), NUMARC));
    arcLayout->addWidget(NUMARC);
    arcLayout->addStretch(1);
    arcRow_->setVisible(mode_ == QLatin1Char('R'));

    // "X": the reason of the cancellation.
    buildReasonGroup();
    reasonGroup_->setVisible(mode_ == QLatin1Char('X'));

    // "x", "a": the cancellation summary.
    RICHMOTANN = summaryBox(this, "RICHMOTANN");
    // Its three lines, whole: the longest (a note of 100 characters) fits the width.
    RICHMOTANN->setFixedSize(780, RICHMOTANN->fontMetrics().lineSpacing() * 3 + 16);
    RICHMOTANN->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RICHMOTANN->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RICHMOTANN->setVisible(mode_ == QLatin1Char('x') || mode_ == QLatin1Char('a'));

    BCONF = makeButton(this, "BCONF", QStringLiteral("&CONFERMA"));
    BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BCONF);
    buttons->addWidget(BABBANDONA);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RIEPILOGO, 1);
    layout->addWidget(Label1);
    layout->addWidget(arcRow_);
    layout->addWidget(reasonGroup_);
    layout->addWidget(RICHMOTANN, 0, Qt::AlignHCenter);
    layout->addLayout(buttons);

    checks_->attach();
    if (mode_ == QLatin1Char('X')) {
        checks_->onLeave(MOTANN->edit(), [this] { return ruleCode(MOTANN); });
        checks_->onLeave(LINGUA->edit(), [this] { return ruleCode(LINGUA); });
    }
    connect(BCONF, &QPushButton::clicked, this, &TFINS_MOD_CANC_ARC::confirm);
    connect(BABBANDONA, &QPushButton::clicked, this, &QDialog::reject);
}

void TFINS_MOD_CANC_ARC::buildReasonGroup()
{
    reasonGroup_ = new QGroupBox(this);
    reasonGroup_->setObjectName(QStringLiteral("GMOTIVO"));
    MOTANN = new CodedField(ctx_, QStringLiteral("T011"), {"MOTANN", "DMOTANN", "BMOTANN", "BNMOTANN"}, 1, reasonGroup_);
    NOTMOT = new QLineEdit(reasonGroup_);
    NOTMOT->setObjectName(QStringLiteral("NOTMOT"));
    setupText(NOTMOT, 100);
    NOTMOT->setMinimumWidth(widthForChars(NOTMOT, 70));
    LINGUA = new CodedField(ctx_, QStringLiteral("T001"), {"LINGUA", "DLINGUA", "BLINGUA", "BNLINGUA"}, 2, reasonGroup_);
    LINGUA->setTextCase(TextCase::Lower);
    auto* form = new QFormLayout(reasonGroup_);
    form->addRow(buddyLabel(QStringLiteral("Motivo annullamento"), MOTANN->edit()), MOTANN);
    form->addRow(buddyLabel(QStringLiteral("Nota aggiuntiva (obbligatoria se codice causale =0)"), NOTMOT), NOTMOT);
    form->addRow(buddyLabel(QStringLiteral("Lingua della nota"), LINGUA->edit()), LINGUA);
}

void TFINS_MOD_CANC_ARC::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (started_)
        return;
    started_ = true;
    showSummaries();
    switch (mode_.unicode()) {
    case 'R':
        NUMARC->setText(trimField(ctx_.EadHeader.ARC));
        NUMARC->setFocus(Qt::OtherFocusReason);
        NUMARC->selectAll();
        break;
    case 'X':
        MOTANN->clear();
        NOTMOT->clear();
        LINGUA->setCode(QStringLiteral("it"));
        LINGUA->lookup();
        MOTANN->edit()->setFocus(Qt::OtherFocusReason);
        break;
    default:
        BCONF->setFocus(Qt::OtherFocusReason);
        break;
    }
}

// The summary of the record in hand is written and shown (the change of destination for "d" and
// "e", the e-AD for the others); "x" and "a" show the cancellation's too.
void TFINS_MOD_CANC_ARC::showSummaries()
{
    try {
        const bool change = mode_ == QLatin1Char('d') || mode_ == QLatin1Char('e');
        const bool receipt = mode_ == QLatin1Char('N') || mode_ == QLatin1Char('n');
        const QStringList lines = change    ? writeChangeSummary(ctx_, ctx_.MessageRecord)
                                  : receipt ? writeReceiptSummary(ctx_, ctx_.MessageRecord)
                                            : writeEadSummary(ctx_, ctx_.EadHeader);
        RIEPILOGO->setPlainText(lines.join(QLatin1Char('\n')));
        if (RICHMOTANN->isVisibleTo(this))
            RICHMOTANN->setPlainText(readTextFile(cancellationSummaryPath(ctx_)).trimmed());
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
}

// A code that is not in its table: "CODICE NON VALIDO" in the companion and the table listed;
// the field keeps the focus until a valid code is there.
CheckResult TFINS_MOD_CANC_ARC::ruleCode(CodedField* field)
{
    if (field->lookup())
        return CheckResult::pass();
    field->pick();
    if (field->lookup())
        return CheckResult::pass();
    return CheckResult::fail({}, field->edit()->objectName());
}

bool TFINS_MOD_CANC_ARC::confirmChecks()
{
    switch (mode_.unicode()) {
    case 'R':
        return checks_->confirm({[this] { return checkArc(NUMARC->text()); }});
    case 'X':
        return checks_->confirm({
            [this] { return ruleCode(MOTANN); },
            [this] { return checkCancellationNote(MOTANN->code(), NOTMOT->text()); },
            [this] { return ruleCode(LINGUA); },
        });
    default:
        return true;
    }
}

bool TFINS_MOD_CANC_ARC::apply()
{
    const QString& year = ctx_.WorkYear;
    const std::int32_t progressive = ctx_.EadHeader.progressivo;
    try {
        BusyCursor busy;
        switch (mode_.unicode()) {
        case 'R':
            registerArc(ctx_, year, progressive, NUMARC->text());
            return true;
        case 'A':
            resetIe815SendData(ctx_, year, progressive);
            return true;
        case 'C':
            deleteUnsentEad(ctx_, year, progressive);
            return true;
        case 'X': {
            const TRecEad cancellation = prepareCancellation(
                ctx_, year, progressive,
                {MOTANN->code(), MOTANN->companion()->text(), NOTMOT->text().trimmed(), LINGUA->code()});
            ctx_.MessageRecord = cancellation;
            ctx_.EadHeader.stato = EadState::Cancelled;
            writeCancellationSummary(ctx_, cancellation);
            return true;
        }
        case 'x':
            withdrawCancellation(ctx_, year, ctx_.MessageRecord.progressivo);
            return true;
        case 'a':
            resetIe810SendData(ctx_, year, ctx_.MessageRecord.progressivo);
            return true;
        case 'd':
            deleteUnsentChange(ctx_, year, ctx_.MessageRecord.progressivo);
            return true;
        case 'e':
            resetIe813SendData(ctx_, year, ctx_.MessageRecord.progressivo);
            return true;
        case 'N':
        case 'n': {
            const std::int32_t number = ctx_.MessageRecord.progressivo;
            const ReceiptAction r = mode_ == QLatin1Char('N') ? deleteUnsentReceipt(ctx_, year, number)
                                                             : resetReceiptSendData(ctx_, year, number);
            if (r != ReceiptAction::Done)
                ctx_.messenger().info(receiptActionMessage(r, number));
            return r == ReceiptAction::Done;
        }
        default:
            return false;
        }
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return false;
    }
}

void TFINS_MOD_CANC_ARC::confirm()
{
    if (!confirmChecks())
        return;
    const bool done = apply();
    // Whether done or refused (the record gone or changed meanwhile), there is nothing more to do
    // here; a cancellation goes on to its IE810.
    if (!done) {
        reject();
        return;
    }
    accept();
    // The window closes: a word says the change was made.
    const bool change = mode_ == QLatin1Char('d') || mode_ == QLatin1Char('e');
    const QString said =
        lifecycleDoneMessage(mode_, change ? ctx_.MessageRecord.progressivo : ctx_.EadHeader.progressivo);
    if (!said.isEmpty())
        ctx_.messenger().info(said);
    if (mode_ == QLatin1Char('X'))
        openWindow(QStringLiteral("TFCREAFIRMAINVIAIE810"), ctx_, parentWidget());
}

} // namespace vt
