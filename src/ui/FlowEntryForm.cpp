#include "ui/FlowEntryForm.h"
#include "ui/FormChecks.h"

#include <QScopeGuard>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/WindowRegistry.h"
#include "foundation/Text.h"
#include "ui/Edits.h"
#include "ui/Widgets.h"

namespace vt {

FlowEntryForm::FlowEntryForm(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("FlowEntryForm"));

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
    NUMFLU->setToolTip(QString::fromUtf8(FlowNumberRange));
    NUMFLU->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*")), NUMFLU));
    NUMFLU->setFixedWidth(NUMFLU->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
    CFIRMA = new QCheckBox(QStringLiteral("Esegue Firma e Verifica "), this);
    CFIRMA->setObjectName(QStringLiteral("CFIRMA"));
    CFIRMA->setChecked(true);

    BCONF = makeButton(this, "BCONF", QStringLiteral("&CONFERMA"));
    BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));

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
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(folder);
    layout->addLayout(entry);
    layout->addLayout(buttons);

    DATFLU->installEventFilter(this);
    enterMovesToNextField(this); // whatever window holds the form
    // One confirmation at a time: a second click or Alt+C that arrives while the first one hands
    // the flow to the signing program (which lets pending events through) is dropped, so that
    // no flow is written, signed or sent twice.
    connect(BCONF, &QPushButton::clicked, this, [this] {
        if (confirming_)
            return;
        confirming_ = true;
        const auto done = qScopeGuard([this] { confirming_ = false; });
        // Confirmed straight from the date (a click, Alt+C): the number of that day is proposed
        // first, as leaving the date does, and the confirmation goes on with it.
        if ((dateLeavePending_ || DATFLU->hasFocus()) && !dateLeft())
            return; // not a date: the cursor stays on it
        emit confirmRequested();
    });
    connect(BABBANDONA, &QPushButton::clicked, this, &FlowEntryForm::abandonRequested);
}

void FlowEntryForm::start()
{
    LFLUSSO->setText(trimField(ctx_.AppConfig.Fld[1]));
    DATFLU->setDate(ctx_.clock().today());
    NUMFLU->clear();
    focusField(DATFLU);
}

bool FlowEntryForm::signingRequested() const
{
    return CFIRMA->isChecked();
}

bool FlowEntryForm::toSigning(const QString& flowName) const
{
    if (signingRequested())
        return true;
    ctx_.reportNote(QStringLiteral("Flusso %1 scritto nella cartella dei file da firmare: non firmato, non inviato")
                        .arg(flowName));
    return false;
}

bool FlowEntryForm::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving the date (not for "&Abbandona") proposes the number of that day.
    if (watched == DATFLU && event->type() == QEvent::FocusOut && window()->focusWidget() != BABBANDONA) {
        dateLeavePending_ = true;
        QTimer::singleShot(0, this, [this] {
            if (dateLeavePending_)
                dateLeft();
        });
    }
    return QWidget::eventFilter(watched, event);
}

void FlowEntryForm::focusField(QWidget* field)
{
    field->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->selectAll();
}

bool FlowEntryForm::dateLeft()
{
    dateLeavePending_ = false;
    const QDate date = DATFLU->date();
    if (!date.isValid()) {
        focusField(DATFLU);
        return false;
    }
    NUMFLU->setText(QString::number(proposal_ ? proposal_(date) : proposedFlowNumber(ctx_, date)));
    NUMFLU->selectAll(); // a number typed replaces the one proposed
    return true;
}

std::optional<FlowEntry> FlowEntryForm::reachConfirm()
{
    const FlowEntryCheck c = checkFlowEntry(ctx_, DATFLU->date(), NUMFLU->text(), dateRule_);
    if (!c.verdict) {
        if (!c.verdict.message.isEmpty())
            ctx_.messenger().info(c.verdict.message);
        focusField(c.verdict.focus == QLatin1String("NUMFLU") ? static_cast<QWidget*>(NUMFLU) : DATFLU);
        return std::nullopt;
    }
    if (dateRuleStops_ && !c.warningFocus.isEmpty()) {
        ctx_.messenger().info(c.warnings.first()); // the date rule's message comes first
        focusField(DATFLU);
        return std::nullopt;
    }
    for (const QString& warning : c.warnings) {
        // The signed file of that name may be a flow customs has already accepted: it is replaced
        // only when the user says so; otherwise another number is typed.
        if (warning == QLatin1String(SignedFileReplaced)) {
            if (!ctx_.messenger().askOkCancel(QString::fromUtf8(SignedFileReplacedQuestion))) {
                focusField(NUMFLU);
                return std::nullopt;
            }
            continue;
        }
        ctx_.messenger().info(warning);
    }
    if (!c.warningFocus.isEmpty())
        focusField(DATFLU);
    return c.entry;
}

QString signingNotStarted(const QString& program)
{
    if (program.isEmpty())
        return QStringLiteral("NON E' STATO INDICATO IL PROGRAMMA DI FIRMA: IL FLUSSO RESTA NELLA CARTELLA DEI FILE DA "
                              "FIRMARE. INDICARLO IN \"Percorsi per le Applicazioni\"");
    return QStringLiteral("IMPOSSIBILE AVVIARE IL PROGRAMMA DI FIRMA \"%1\": IL FLUSSO RESTA NELLA CARTELLA DEI "
                          "FILE DA FIRMARE. CONTROLLARE IL PERCORSO IN \"Percorsi per le Applicazioni\"")
        .arg(QDir::toNativeSeparators(program));
}

bool handOffToSigning(AppContext& ctx, QWidget* parent)
{
    const QString program = trimField(ctx.AppConfig.Fld[0]);
    if (!ctx.shell().startProgram(program)) {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
        ctx.messenger().info(signingNotStarted(program));
        return false;
    }
    QApplication::processEvents();
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
    return openWindow(QStringLiteral("TFTELEMATICO"), ctx, parent);
}

} // namespace vt
