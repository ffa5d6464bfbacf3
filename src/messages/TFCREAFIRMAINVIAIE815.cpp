#include "messages/TFCREAFIRMAINVIAIE815.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "app/WindowRegistry.h"
#include "foundation/Dates.h"
#include "foundation/IoError.h"
#include "foundation/Text.h"
#include "messages/FlowName.h"
#include "messages/Ie815Send.h"
#include "messages/Summary.h"
#include "ui/Edits.h"
#include "ui/FormChecks.h"

namespace vt {

namespace {

// The hourglass for the time of a scope.
struct BusyCursor {
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
};

} // namespace

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

    auto* folderCaption = new QLabel(QStringLiteral("Il FLUSSO sarà generato nella cartella:  "), this);
    LFLUSSO = new QLabel(this);
    LFLUSSO->setObjectName(QStringLiteral("LFLUSSO"));
    LFLUSSO->setTextInteractionFlags(Qt::TextSelectableByMouse);

    DATFLU = new DateEdit(this);
    DATFLU->setObjectName(QStringLiteral("DATFLU"));
    DATFLU->setFixedWidth(DATFLU->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
    NUMFLU = new QLineEdit(this);
    NUMFLU->setObjectName(QStringLiteral("NUMFLU"));
    NUMFLU->setMaxLength(2);
    NUMFLU->setToolTip(QStringLiteral("indicare un valore compreso tra 1 e 99"));
    NUMFLU->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*")), NUMFLU));
    NUMFLU->setFixedWidth(NUMFLU->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
    CFIRMA = new QCheckBox(QStringLiteral("Esegue Firma e Verifica "), this);
    CFIRMA->setObjectName(QStringLiteral("CFIRMA"));
    CFIRMA->setChecked(true);

    BCONF = new QPushButton(QStringLiteral("&CONFERMA"), this);
    BCONF->setObjectName(QStringLiteral("BCONF"));
    BABBANDONA = new QPushButton(QStringLiteral("&Abbandona"), this);
    BABBANDONA->setObjectName(QStringLiteral("BABBANDONA"));
    BCONF->setAutoDefault(false);
    BABBANDONA->setAutoDefault(false);

    auto* folder = new QHBoxLayout;
    folder->addWidget(folderCaption);
    folder->addWidget(LFLUSSO, 1);
    auto* entry = new QFormLayout;
    entry->addRow(QStringLiteral("Data del  Flusso"), DATFLU);
    entry->addRow(QStringLiteral("Numero del  Flusso"), NUMFLU);
    entry->addRow(QString(), CFIRMA);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BCONF);
    buttons->addWidget(BABBANDONA);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RIEPILOGO, 1);
    layout->addLayout(folder);
    layout->addLayout(entry);
    layout->addLayout(buttons);

    enterMovesToNextField(this);
    DATFLU->installEventFilter(this);
    connect(BCONF, &QPushButton::clicked, this, &TFCREAFIRMAINVIAIE815::confirm);
    connect(BABBANDONA, &QPushButton::clicked, this, &QDialog::reject);
}

void TFCREAFIRMAINVIAIE815::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    LFLUSSO->setText(trimField(ctx_.AppConfig.Fld[1]));
    RIEPILOGO->setPlainText(readTextFile(eadSummaryPath(ctx_)));
    DATFLU->setDate(ctx_.clock().today());
    NUMFLU->clear();
    focusField(QStringLiteral("DATFLU"));
}

bool TFCREAFIRMAINVIAIE815::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == DATFLU && event->type() == QEvent::FocusOut && focusWidget() != BABBANDONA)
        QTimer::singleShot(0, this, [this] { dateLeft(); });
    return QDialog::eventFilter(watched, event);
}

void TFCREAFIRMAINVIAIE815::focusField(const QString& name)
{
    if (auto* w = findChild<QWidget*>(name)) {
        w->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            edit->selectAll();
    }
}

// Leaving the flow date proposes the next number of that day among the signed files.
void TFCREAFIRMAINVIAIE815::dateLeft()
{
    const QDate date = DATFLU->date();
    if (!date.isValid()) {
        focusField(QStringLiteral("DATFLU"));
        return;
    }
    const int number = flow::proposedNumber(ctx_.AppConfig.Fld[2], trimField(ctx_.CompanyRecord.CODUTE), date);
    NUMFLU->setText(QString::number(number));
}

void TFCREAFIRMAINVIAIE815::confirm()
{
    const Ie815Confirmation c = checkIe815Confirmation(ctx_, DATFLU->date(), NUMFLU->text(), ctx_.EadHeader);
    if (!c.verdict) {
        if (!c.verdict.message.isEmpty())
            ctx_.messenger().info(c.verdict.message);
        focusField(c.verdict.focus);
        return;
    }
    for (const QString& warning : c.warnings)
        ctx_.messenger().info(warning);
    if (!c.warningFocus.isEmpty())
        focusField(c.warningFocus);

    try {
        BusyCursor busy;
        writeIe815Flow(ctx_, c.request);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    // The header in hand follows its file.
    ctx_.EadHeader.dataFlusso = dates::fromDate(c.request.flowDate);
    ctx_.EadHeader.numeroFlusso = c.request.flowNumber;
    if (CFIRMA->isChecked())
        signAndSend(c.request.year, c.request.progressive);
    accept();
}

void TFCREAFIRMAINVIAIE815::signAndSend(const QString& year, std::int32_t progressive)
{
    // The signing program is started as it is, without parameters; when it does not start the
    // transmission is skipped and the flow file stays in its folder.
    if (!ctx_.shell().startProgram(trimField(ctx_.AppConfig.Fld[0])))
        return;
    QApplication::processEvents();
    openWindow(QStringLiteral("TFTELEMATICO"), ctx_, this);
    Q_UNUSED(year);
    Q_UNUSED(progressive);
}

} // namespace vt
