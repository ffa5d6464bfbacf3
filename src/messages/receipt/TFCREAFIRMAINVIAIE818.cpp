#include "messages/receipt/TFCREAFIRMAINVIAIE818.h"

#include <QEvent>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScopeGuard>
#include <QTimer>
#include <QVBoxLayout>

#include "foundation/IoError.h"
#include "messages/receipt/Ie818Send.h"
#include "messages/transmission/Transmission.h"
#include "ui/FlowEntryForm.h"
#include "ui/Widgets.h"

namespace vt {

namespace {
bool yearInRange(const QString& text)
{
    bool ok = false;
    const int y = text.toInt(&ok);
    return ok && text.size() == 4 && y >= 2008 && y <= 2060;
}
} // namespace

TFCREAFIRMAINVIAIE818::TFCREAFIRMAINVIAIE818(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFCREAFIRMAINVIAIE818"));
    setWindowTitle(QStringLiteral("Crea il messaggio IE818 - Firma - Invia nell'Ambiente Telematico della Dogana"));

    LANNO = new QLineEdit(this);
    LANNO->setObjectName(QStringLiteral("LANNO"));
    LANNO->setMaxLength(4);
    LANNO->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), LANNO));
    LANNO->setFixedWidth(widthForChars(LANNO, 6));
    LANNO->installEventFilter(this);

    CELENCO = new QListWidget(this);
    CELENCO->setObjectName(QStringLiteral("CELENCO"));
    QFont mono(QStringLiteral("Courier New"), 9);
    mono.setStyleHint(QFont::Monospace);
    CELENCO->setFont(mono);
    CELENCO->setMinimumSize(720, 220);
    BTUTTI = makeButton(this, "BTUTTI", QStringLiteral("&Tutti"));
    BNESSUNO = makeButton(this, "BNESSUNO", QStringLiteral("&Nessuno"));

    form_ = new FlowEntryForm(ctx_, this);

    auto* year = new QHBoxLayout;
    year->addWidget(buddyLabel(QStringLiteral("e-AD spediti nell'anno:"), LANNO));
    year->addWidget(LANNO);
    year->addStretch();
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(BTUTTI);
    listButtons->addWidget(BNESSUNO);
    listButtons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(year);
    layout->addWidget(CELENCO, 1);
    layout->addLayout(listButtons);
    layout->addWidget(form_);

    // An Alt key that no button takes is never typed into a field (a date or a year would change).
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);

    connect(LANNO, &QLineEdit::returnPressed, this, [this] { focusNextChild(); });
    connect(BTUTTI, &QPushButton::clicked, this, [this] { checkAll(true); });
    connect(BNESSUNO, &QPushButton::clicked, this, [this] { checkAll(false); });
    connect(form_, &FlowEntryForm::confirmRequested, this, &TFCREAFIRMAINVIAIE818::confirm);
    connect(form_, &FlowEntryForm::abandonRequested, this, &QDialog::reject);
}

void TFCREAFIRMAINVIAIE818::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    LANNO->setText(ctx_.WorkYear);
    buildList();
    form_->start();
}

bool TFCREAFIRMAINVIAIE818::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if ((k->modifiers() & Qt::AltModifier) && !(k->modifiers() & Qt::ControlModifier) && !k->text().isEmpty()) {
            ctx_.messenger().beep();
            return true;
        }
    }
    // Leaving the year: a year of 2008-2060 becomes the year of work and the list is rebuilt;
    // another keeps the focus.
    if (watched == LANNO && event->type() == QEvent::FocusOut && focusWidget() != form_->BABBANDONA) {
        QTimer::singleShot(0, this, [this] {
            if (!isVisible())
                return;
            if (!yearInRange(LANNO->text())) {
                ctx_.messenger().beep();
                LANNO->setFocus(Qt::OtherFocusReason);
                return;
            }
            if (LANNO->text() != ctx_.WorkYear) {
                ctx_.WorkYear = LANNO->text();
                buildList();
            }
        });
    }
    return QDialog::eventFilter(watched, event);
}

void TFCREAFIRMAINVIAIE818::buildList()
{
    CELENCO->clear();
    try {
        for (const TRecEad& r : unsentReports(ctx_, ctx_.WorkYear)) {
            auto* item = new QListWidgetItem(unsentReportItem(r), CELENCO);
            item->setData(Qt::UserRole, r.progressivo);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Checked);
        }
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
}

void TFCREAFIRMAINVIAIE818::checkAll(bool checked)
{
    for (int i = 0; i < CELENCO->count(); ++i)
        CELENCO->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void TFCREAFIRMAINVIAIE818::confirm()
{
    // A second CONFERMA while this one waits on the signing and the transmission builds nothing.
    if (confirming_)
        return;
    confirming_ = true;
    const auto done = qScopeGuard([this] { confirming_ = false; });
    QList<std::int32_t> checked;
    for (int i = 0; i < CELENCO->count(); ++i)
        if (CELENCO->item(i)->checkState() == Qt::Checked)
            checked << CELENCO->item(i)->data(Qt::UserRole).toInt();
    if (checked.isEmpty()) {
        ctx_.messenger().info(QString::fromUtf8(NoMessageSelected));
        CELENCO->setFocus(Qt::OtherFocusReason);
        return;
    }
    const std::optional<FlowEntry> entry = form_->reachConfirm();
    if (!entry)
        return;
    const Ie818FlowRequest request = ie818Request(ctx_, checked, *entry);
    ctx_.Transmit = Transmission{};
    ctx_.Transmit.kind = FlowKind::IE818;
    ctx_.Transmit.flowName = request.flowName;
    Ie818FlowWritten written;
    try {
        BusyCursor busy;
        written = writeIe818Flow(ctx_, request);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    if (form_->toSigning(request.flowName) && handOffToSigning(ctx_, this) && ctx_.Transmit.positiveRealOutcome) {
        try {
            QFile attachment(transmit::attachmentPath(ctx_));
            const QByteArray outcome = attachment.open(QIODevice::ReadOnly) ? attachment.readAll() : QByteArray();
            const QList<std::int32_t> accepted = acceptedReports(outcome, written.placements);
            const QList<std::int32_t> marked =
                markIe818Sent(ctx_, request.year, accepted, request.flowDate, request.flowNumber);
            if (marked.size() < checked.size())
                ctx_.messenger().info(
                    QStringLiteral("NOTE DI RICEZIONE ACCETTATE: %1 SU %2. LE ALTRE RESTANO DA INVIARE: "
                                   "CONTROLLARE L'ESITO NEI DETTAGLI.")
                        .arg(marked.size())
                        .arg(checked.size()));
        } catch (const IoError& e) {
            ctx_.messenger().info(e.text());
        }
    }
    accept();
}

} // namespace vt
