#include "register/flow/TFCREAFIRMAINVIAREGISTRO.h"

#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

#include "foundation/IoError.h"
#include "ui/FlowEntryForm.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"

namespace vt {

namespace {
constexpr int FirstYear = 2008;
constexpr int LastYear = 2060;
} // namespace

TFCREAFIRMAINVIAREGISTRO::TFCREAFIRMAINVIAREGISTRO(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFCREAFIRMAINVIAREGISTRO"));
    setWindowTitle(QStringLiteral("Crea il flusso del registro di carico e scarico - Firma "
                                  "- Invia nell'Ambiente Telematico della Dogana"));

    LANNO = new QLineEdit(this);
    LANNO->setObjectName(QStringLiteral("LANNO"));
    LANNO->setMaxLength(4);
    LANNO->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), LANNO));
    LANNO->setFixedWidth(LANNO->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);

    CELENCO = new QListWidget(this);
    CELENCO->setObjectName(QStringLiteral("CELENCO"));
    QFont mono(QStringLiteral("Courier New"), 9);
    mono.setStyleHint(QFont::Monospace);
    CELENCO->setFont(mono);
    CELENCO->setMinimumSize(760, 300);
    BTUTTI = makeButton(this, "BTUTTI", QStringLiteral("Tutti"));
    BNESSUNO = makeButton(this, "BNESSUNO", QStringLiteral("Nessuno"));

    form_ = new FlowEntryForm(ctx_, this);
    form_->setProposal([this](const QDate& date) { return proposedRegisterFlowNumber(ctx_, date); });

    auto* year = new QFormLayout;
    year->addRow(QStringLiteral("Movimenti nell'anno:"), LANNO);
    auto* ticks = new QHBoxLayout;
    ticks->addWidget(BTUTTI);
    ticks->addWidget(BNESSUNO);
    ticks->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(year);
    layout->addWidget(CELENCO, 1);
    layout->addLayout(ticks);
    layout->addWidget(form_);

    LANNO->installEventFilter(this);
    enterMovesToNextField(this);
    connect(BTUTTI, &QPushButton::clicked, this, [this] { tickAll(true); });
    connect(BNESSUNO, &QPushButton::clicked, this, [this] { tickAll(false); });
    connect(CELENCO, &QListWidget::itemChanged, this, &TFCREAFIRMAINVIAREGISTRO::itemToggled);
    connect(form_, &FlowEntryForm::confirmRequested, this, &TFCREAFIRMAINVIAREGISTRO::confirm);
    connect(form_, &FlowEntryForm::abandonRequested, this, &QDialog::reject);
}

void TFCREAFIRMAINVIAREGISTRO::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    LANNO->setText(ctx_.WorkYear);
    form_->start();
    rebuildList();
}

bool TFCREAFIRMAINVIAREGISTRO::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LANNO) {
        if (event->type() == QEvent::KeyPress) {
            // Digits, backspace and the keys that move on; anything else is refused
            // with a beep.
            const auto* key = static_cast<QKeyEvent*>(event);
            const QString text = key->text();
            if (!text.isEmpty() && text.at(0).isPrint() && !text.at(0).isDigit()) {
                ctx_.messenger().beep();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut && focusWidget() != form_->BABBANDONA) {
            QTimer::singleShot(0, this, [this] { yearLeft(); });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFCREAFIRMAINVIAREGISTRO::yearLeft()
{
    bool ok = false;
    const int year = LANNO->text().toInt(&ok);
    if (!ok || year < FirstYear || year > LastYear) {
        LANNO->setFocus(Qt::OtherFocusReason);
        LANNO->selectAll();
        return;
    }
    if (LANNO->text() == ctx_.WorkYear && list_.year == year)
        return;
    ctx_.WorkYear = LANNO->text();
    rebuildList();
}

void TFCREAFIRMAINVIAREGISTRO::rebuildList()
{
    filling_ = true;
    CELENCO->clear();
    try {
        list_ = buildRegisterFlowList(ctx_, ctx_.WorkYear.toInt());
    } catch (const IoError& e) {
        list_ = {};
        list_.year = ctx_.WorkYear.toInt();
        ctx_.messenger().info(e.text());
    }
    for (const QString& line : list_.lines) {
        auto* item = new QListWidgetItem(line, CELENCO);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    filling_ = false;
    for (double day : list_.missingGuaranteeDays)
        ctx_.messenger().info(missingGuaranteeMessage(day));
}

void TFCREAFIRMAINVIAREGISTRO::tickAll(bool tick)
{
    filling_ = true;
    for (int i = 0; i < CELENCO->count(); ++i)
        CELENCO->item(i)->setCheckState(tick ? Qt::Checked : Qt::Unchecked);
    filling_ = false;
}

// What travels together is ticked together.
void TFCREAFIRMAINVIAREGISTRO::itemToggled(QListWidgetItem* item)
{
    if (filling_)
        return;
    filling_ = true;
    const Qt::CheckState state = item->checkState();
    for (int j : list_.groupOf(CELENCO->row(item)))
        if (j < CELENCO->count())
            CELENCO->item(j)->setCheckState(state);
    filling_ = false;
}

QList<int> TFCREAFIRMAINVIAREGISTRO::ticked() const
{
    QList<int> items;
    for (int i = 0; i < CELENCO->count(); ++i)
        if (CELENCO->item(i)->checkState() == Qt::Checked)
            items << i;
    return items;
}

void TFCREAFIRMAINVIAREGISTRO::confirm()
{
    // The list is the one of the year shown: a year typed and not yet left is
    // taken first.
    if (LANNO->text() != QString::number(list_.year)) {
        yearLeft();
        if (LANNO->hasFocus())
            return;
    }
    const QList<int> items = ticked();
    if (items.isEmpty()) {
        ctx_.messenger().info(QString::fromLatin1(NothingSelected));
        CELENCO->setFocus(Qt::OtherFocusReason);
        return;
    }
    const std::optional<FlowEntry> entry = form_->reachConfirm();
    if (!entry)
        return;
    const QString taken = registerFlowNumberTaken(ctx_, entry->date, entry->number);
    if (!taken.isEmpty()) {
        ctx_.messenger().info(taken);
        form_->NUMFLU->setFocus(Qt::OtherFocusReason);
        form_->NUMFLU->selectAll();
        return;
    }
    RegisterFlowRequest request = registerFlowRequest(list_, items);
    request.flowDate = entry->date;
    request.flowNumber = entry->number;
    request.flowName = entry->name;
    request.replaceSigned = entry->replaceSigned;

    ctx_.Transmit = Transmission{};
    ctx_.Transmit.kind = FlowKind::Register;
    ctx_.Transmit.flowName = request.flowName;
    try {
        BusyCursor busy;
        writeRegisterFlow(ctx_, request);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        rebuildList(); // another workstation may have changed the register
                       // meanwhile
        return;
    }
    if (form_->toSigning(request.flowName))
        signAndSend();
    accept();
}

void TFCREAFIRMAINVIAREGISTRO::signAndSend()
{
    if (!handOffToSigning(ctx_, this))
        return;
    // A flow refused by customs stays marked: the user resets it once the errors
    // are mended.
    if (ctx_.Transmit.realSendDone && !ctx_.Transmit.positiveRealOutcome)
        ctx_.messenger().info(QString::fromLatin1(RegisterFlowRefused));
}

} // namespace vt
