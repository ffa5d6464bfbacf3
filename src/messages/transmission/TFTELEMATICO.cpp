#include "messages/transmission/TFTELEMATICO.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "foundation/IoError.h"
#include "foundation/Text.h"
#include "messages/flows/FlowName.h"
#include "messages/transmission/Transmission.h"
#include "ui/OffThread.h"
#include "ui/Widgets.h"

namespace vt {

namespace {

int waitInterval = 1000;

// Web addresses of WEB.CFG used here.
constexpr int EdiReal = 3;
constexpr int EmcsReal = 4;
constexpr int EdiTest = 5;

QString closingText()
{
    return QStringLiteral("La finestra sarà chiusa al termine del collegamento in corso...");
}

} // namespace

void TFTELEMATICO::setWaitInterval(int ms)
{
    waitInterval = ms;
}

TFTELEMATICO::TFTELEMATICO(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFTELEMATICO"));
    setWindowTitle(QStringLiteral("SERVIZIO TELEMATICO DOGANALE - TRASMISSIONE FILE"));

    LFIRMATO = new QLabel(QStringLiteral("File Firmato da Inviare: "), this);
    LFIRMATO->setObjectName(QStringLiteral("LFIRMATO"));
    LNOMEFILE = new QLabel(this);
    LNOMEFILE->setObjectName(QStringLiteral("LNOMEFILE"));
    LATTESA = new QLabel(QStringLiteral("Attesa del file firmato: "), this);
    LATTESA->setObjectName(QStringLiteral("LATTESA"));
    LCONTA = new QLabel(this);
    LCONTA->setObjectName(QStringLiteral("LCONTA"));
    LCONTA->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont strong = LNOMEFILE->font();
    strong.setBold(true);
    LNOMEFILE->setFont(strong);

    GAMBIENTE = new QGroupBox(QStringLiteral("Ambiente di invio"), this);
    GAMBIENTE->setObjectName(QStringLiteral("GAMBIENTE"));
    RPROVA = new QRadioButton(QStringLiteral("Invia nell'ambiente di PROVA "), GAMBIENTE);
    RPROVA->setObjectName(QStringLiteral("RPROVA"));
    RREALE = new QRadioButton(QStringLiteral("Invia nell'ambiente REALE"), GAMBIENTE);
    RREALE->setObjectName(QStringLiteral("RREALE"));
    // Either environment straight from the keyboard (Tab reaches only the one checked).
    RPROVA->setShortcut(QKeySequence(Qt::ALT | Qt::Key_P));
    RPROVA->setToolTip(QStringLiteral("Alt+P"));
    RREALE->setShortcut(QKeySequence(Qt::ALT | Qt::Key_R));
    RREALE->setToolTip(QStringLiteral("Alt+R"));
    auto* environments = new QHBoxLayout(GAMBIENTE);
    environments->addWidget(RPROVA);
    environments->addSpacing(24);
    environments->addWidget(RREALE);
    environments->addStretch();

    RICHED = new QTextEdit(this);
    RICHED->setObjectName(QStringLiteral("RICHED"));
    RICHED->setReadOnly(true);
    RICHED->setLineWrapMode(QTextEdit::NoWrap);
    QFont mono(QStringLiteral("Courier New"), 9);
    mono.setStyleHint(QFont::Monospace);
    RICHED->setFont(mono);
    RICHED->setMinimumSize(680, 300);

    LOCCUPATO = new QLabel(this);
    LOCCUPATO->setObjectName(QStringLiteral("LOCCUPATO"));

    BEDI = makeButton(this, "BEDI", QStringLiteral("Interroga E.D.I."));
    BCONF = makeButton(this, "BCONF", QStringLiteral("&CONFERMA"));
    BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));

    auto* state = new QGridLayout;
    state->addWidget(LFIRMATO, 0, 0);
    state->addWidget(LNOMEFILE, 0, 1);
    state->addWidget(LATTESA, 1, 0);
    state->addWidget(LCONTA, 1, 1);
    state->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BEDI);
    buttons->addStretch();
    buttons->addWidget(BCONF);
    buttons->addWidget(BABBANDONA);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(state);
    layout->addWidget(GAMBIENTE);
    layout->addWidget(RICHED, 1);
    layout->addWidget(LOCCUPATO);
    layout->addLayout(buttons);

    waitTimer_ = new QTimer(this);
    connect(waitTimer_, &QTimer::timeout, this, &TFTELEMATICO::waitRound);
    connect(BCONF, &QPushButton::clicked, this, &TFTELEMATICO::confirm);
    connect(BABBANDONA, &QPushButton::clicked, this, &TFTELEMATICO::reject);
    connect(BEDI, &QPushButton::clicked, this, &TFTELEMATICO::openEdi);

    // Opening: the flow name, no environment chosen, nothing sent yet, waiting for the signature.
    LNOMEFILE->setText(ctx_.Transmit.flowName);
    RICHED->clear();
    GAMBIENTE->hide();
    LFIRMATO->hide();
    LNOMEFILE->hide();
    ctx_.Transmit.signedSeen = false;
    ctx_.Transmit.abandoned = false;
    ctx_.Transmit.realSendDone = false;
}

void TFTELEMATICO::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (started_)
        return;
    started_ = true;
    rounds_ = 0;
    waitRound();
}

// One round of the wait: the signed file looked for, the counter shown.
void TFTELEMATICO::waitRound()
{
    const QString signedPath = transmit::signedFilePath(ctx_);
    if (rounds_ > 0 && QFileInfo::exists(signedPath)) {
        waitTimer_->stop();
        ctx_.Transmit.signedSeen = true;
        LATTESA->hide();
        LCONTA->hide();
        LFIRMATO->show();
        LNOMEFILE->show();
        GAMBIENTE->show();
        return;
    }
    ++rounds_;
    LCONTA->setText(QDir::toNativeSeparators(signedPath) + QStringLiteral(" - ") + QString::number(rounds_));
    if (!waitTimer_->isActive())
        waitTimer_->start(waitInterval);
}

void TFTELEMATICO::reject()
{
    ctx_.Transmit.abandoned = true;
    if (busy_) {
        // The call in progress cannot be taken back: the window closes when it returns.
        LOCCUPATO->setText(closingText());
        return;
    }
    waitTimer_->stop();
    QDialog::reject();
}

void TFTELEMATICO::setBusy(bool busy)
{
    busy_ = busy;
    BCONF->setEnabled(!busy);
    BEDI->setEnabled(!busy);
    GAMBIENTE->setEnabled(!busy);
    if (busy) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        LOCCUPATO->setText(ctx_.Transmit.abandoned ? closingText()
                                                   : QStringLiteral("Collegamento con il servizio telematico doganale in corso..."));
    } else {
        QGuiApplication::restoreOverrideCursor();
        LOCCUPATO->clear();
    }
}

// put of the signed file in the test or the real environment: true when it was taken in charge.
bool TFTELEMATICO::send(bool real)
{
    Messenger& m = ctx_.messenger();
    ctx_.LastPutReal = real;
    const transmit::Endpoint e = transmit::endpointFor(ctx_, real);
    if (!e.problem.isEmpty()) {
        m.info(e.problem);
        return false;
    }
    const QString signedPath = transmit::signedFilePath(ctx_);
    const QByteArray bytes = transmit::readSigned(signedPath);
    const QString name = QFileInfo(signedPath).fileName();
    CustomsService& service = transmit::service(ctx_);
    setBusy(true);
    const transmit::PutResult r =
        runOffThread([&service, endpoint = e.endpoint, bytes, name] { return transmit::put(service, endpoint, bytes, name); });
    setBusy(false);
    if (r.connectionFailed)
        m.info(transmit::connectionError());
    m.info(transmit::putAnswer(r.answer));
    return r.succeeded;
}

// The outcome of the flow from the environment of the last put: shown, and returned. Once the
// real environment has taken the flow in charge its outcome is fetched even if the user abandons
// meanwhile: an accepted flow is never left unrecorded.
outcome::Outcome TFTELEMATICO::fetchOutcome(bool evenIfAbandoned)
{
    transmit::prepareOutcome(ctx_);
    const QString outcomeName = flow::outcomeName(flow::signedName(ctx_.Transmit.flowName));
    const CustomsEndpoint endpoint = transmit::endpointFor(ctx_, ctx_.LastPutReal).endpoint;
    const QString attachment = transmit::attachmentPath(ctx_);
    CustomsService& service = transmit::service(ctx_);
    for (int attempt = 1; attempt <= transmit::GetAttempts && (evenIfAbandoned || !ctx_.Transmit.abandoned);
         ++attempt) {
        setBusy(true);
        const bool answered = runOffThread([&service, endpoint, outcomeName, attachment] {
            return transmit::getAttempt(service, endpoint, outcomeName, attachment);
        });
        setBusy(false);
        if (answered)
            break;
        ctx_.messenger().info(transmit::attemptFailed(attempt));
    }
    const outcome::Outcome o = transmit::finishOutcome(ctx_);
    RICHED->setPlainText(o.details.join(QLatin1Char('\n')));
    return o;
}

// The outcome of a real put that succeeded. A positive outcome is recorded at once; one already
// received is kept whatever a later send answers, and its ARC is never replaced.
void TFTELEMATICO::realOutcome(const outcome::Outcome& o)
{
    Messenger& m = ctx_.messenger();
    Transmission& t = ctx_.Transmit;
    if (!o.positive) {
        if (t.positiveRealOutcome)
            m.info(QStringLiteral("IL FLUSSO ERA GIA' STATO ACCETTATO NELL'AMBIENTE REALE%1: "
                                  "L'ESITO DEL NUOVO INVIO NON LO CAMBIA")
                       .arg(t.arc.isEmpty() ? QString() : QStringLiteral(" CON L'ARC ") + t.arc));
        else if (t.abandoned)
            m.info(QStringLiteral("IL FLUSSO E' STATO INVIATO NELL'AMBIENTE REALE MA L'ESITO E' NEGATIVO O NON E' "
                                  "PERVENUTO: INTERROGARE IL SISTEMA TELEMATICO DOGANALE E.D.I. PER L'ESITO"));
        return;
    }
    if (t.kind != FlowKind::IE815) {
        const bool first = !t.positiveRealOutcome;
        t.positiveRealOutcome = true;
        if (first)
            recordOutcome();
        if (t.abandoned)
            m.info(QStringLiteral("IL FLUSSO E' STATO ACCETTATO NELL'AMBIENTE REALE (ESITO POSITIVO)"));
        return;
    }

    // IE815: the ARC received first stays.
    const bool hadArc = t.positiveRealOutcome && !t.arc.isEmpty();
    if (hadArc && !o.arc.isEmpty() && o.arc != t.arc)
        m.info(QStringLiteral("L'e-AD HA GIA' L'ARC %1: L'ARC %2 DEL NUOVO INVIO NON E' STATO MEMORIZZATO")
                   .arg(t.arc, o.arc));
    const bool changed = !t.positiveRealOutcome || (!hadArc && !o.arc.isEmpty());
    t.positiveRealOutcome = true;
    if (!hadArc)
        t.arc = o.arc;
    ctx_.EadHeader.ARC = padField(t.arc, 21);
    if (changed) {
        t.outcomeStored = false;
        recordOutcome();
    }
    if (t.arc.isEmpty()) {
        m.info(QStringLiteral("IL FLUSSO E' STATO ACCETTATO NELL'AMBIENTE REALE MA L'ESITO NON RIPORTA UN ARC "
                              "VALIDO: LEGGERE L'ARC IN E.M.C.S. E REGISTRARLO CON \"Registra l'ARC dell'e-AD\""));
        return;
    }
    if (t.abandoned) {
        m.info(QStringLiteral("IL FLUSSO E' STATO ACCETTATO NELL'AMBIENTE REALE. ARC ATTRIBUITO: ") + t.arc);
        return;
    }
    if (m.askOkCancel(QStringLiteral("ARC ATTRIBUITO: ") + t.arc + QStringLiteral(" - PREMI \"OK\" PER APRIRE L'E.M.C.S."))) {
        const QString emcs = trimField(ctx_.WebConfig.Fld[EmcsReal]);
        if (!emcs.isEmpty())
            ctx_.shell().openUrl(emcs);
    }
}

// The positive real outcome handed to the flow window's store at once. When it fails, the flow
// window tries again once this window has closed.
void TFTELEMATICO::recordOutcome()
{
    Transmission& t = ctx_.Transmit;
    if (!t.storeOutcome)
        return;
    try {
        BusyCursor busy;
        t.storeOutcome(t.arc);
        t.outcomeStored = true;
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
}

void TFTELEMATICO::confirm()
{
    if (busy_)
        return;
    Messenger& m = ctx_.messenger();
    Transmission& t = ctx_.Transmit;
    // Reaching the confirmation. A flow already taken in charge in the real environment goes
    // again only when the user says so: a second real send is a second document at customs.
    if (t.realSendDone && !m.askOkCancel(QString::fromUtf8(AlreadySentQuestion))) {
        RICHED->setFocus();
        return;
    }
    if (!t.signedSeen) {
        m.info(QStringLiteral("Il flusso non è stato firmato !"));
    } else if (!RPROVA->isChecked() && !RREALE->isChecked()) {
        m.info(QStringLiteral("Non è stato selezionato l'ambiente per l'invio"));
        RPROVA->setFocus(Qt::OtherFocusReason); // the arrows and Space choose from there
    }

    // A positive real outcome already received is not taken back by a new send.
    RICHED->clear();
    try {
        if (RPROVA->isChecked() && send(false) && !t.abandoned) {
            const outcome::Outcome o = fetchOutcome(false);
            if (!o.positive)
                m.info(QStringLiteral("Il file contiene errori."));
            else if (!t.abandoned
                     && m.askOkCancel(QStringLiteral("Il file è stato accettato nell'ambiente di prova!  "
                                                     "PREMI \"OK\" PER INVIARLO NELL'AMBIENTE REALE")))
                RREALE->setChecked(true);
        }
        if (RREALE->isChecked() && !t.abandoned) {
            RICHED->clear();
            if (send(true)) {
                t.realSendDone = true;
                realOutcome(fetchOutcome(true));
            }
        }
    } catch (const IoError& e) {
        m.info(e.text());
    }
    if (t.abandoned) {
        QDialog::reject();
        return;
    }
    RICHED->setFocus();
}

// "Interroga E.D.I.": the E.D.I. address of the environment of the last put (test when none).
void TFTELEMATICO::openEdi()
{
    const QString address = trimField(ctx_.WebConfig.Fld[ctx_.LastPutReal ? EdiReal : EdiTest]);
    if (!address.isEmpty())
        ctx_.shell().openUrl(address);
}

} // namespace vt
