#include "messages/receipt/TFCOMPIE818.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "foundation/Dates.h"
#include "foundation/FieldAccess.h"
#include "foundation/IoError.h"
#include "foundation/RecordFile.h"
#include "foundation/Tables.h"
#include "foundation/Text.h"
#include "messages/receipt/ReceivedImport.h"
#include "messages/ead/Summary.h"
#include "ui/CodedField.h"
#include "ui/DifferencesGrid.h"
#include "ui/Edits.h"
#include "ui/FormChecks.h"
#include "ui/PrintText.h"
#include "ui/Widgets.h"

namespace vt {

namespace {

QLineEdit* readOnly(QWidget* parent, const char* name, int chars)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    e->setMinimumWidth(widthForChars(e, chars));
    return e;
}

QFont fixedFont()
{
    QFont mono(QStringLiteral("Courier New"), 9);
    mono.setStyleHint(QFont::Monospace);
    return mono;
}

} // namespace

TFCOMPIE818::TFCOMPIE818(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFCOMPIE818"));
    setWindowTitle(QStringLiteral("Nota di Ricezione - messaggio IE818"));
    PCCOMPIE818 = new QTabWidget(this);
    PCCOMPIE818->setObjectName(QStringLiteral("PCCOMPIE818"));
    PCCOMPIE818->addTab(buildPageOne(), QStringLiteral("Nota di Ricezione"));
    PCCOMPIE818->addTab(buildPageTwo(), QStringLiteral("Cali / Eccedenze"));
    PCCOMPIE818->addTab(buildPageThree(), QStringLiteral("Riepilogo e Conferma"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PCCOMPIE818);
    resize(1120, 640);

    checks_ = new FormChecks(this, ctx_.messenger());
    checks_->attach();
    // Alt+1, Alt+2, Alt+3 go to that page and Alt+C to the summary with its CONFERMA from any page
    // whose buttons do not take the key themselves; they are never typed into a field.
    const std::pair<Qt::Key, int> pageKeys[] = {{Qt::Key_1, 0}, {Qt::Key_2, 1}, {Qt::Key_3, 2}, {Qt::Key_C, 2}};
    for (auto [key, page] : pageKeys) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | key), this);
        connect(shortcut, &QShortcut::activated, this, [this, page = page] { showPage(page, page < page_); });
        pageShortcuts_ << shortcut;
    }
    // Enter on a page button presses it; other Alt keys are refused (after the shared glue, so
    // that these filters run first).
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
    checks_->onLeaveDo(LINPRG->edit(), [this] { codeLeft(LINPRG); });
    checks_->onLeaveDo(LINGUA->edit(), [this] { codeLeft(LINGUA); });
    checks_->onLeave(IMGPRO, [this] { return arrivalLeft(); });
    connect(LINPRG, &CodedField::picked, this, [this] { applyOutcome(); });

    connect(PCCOMPIE818, &QTabWidget::currentChanged, this, &TFCOMPIE818::pageChanged);
    connect(BDAPAG1A2, &QPushButton::clicked, this, [this] { showPage(1, false); });
    connect(BDAPAG2A1, &QPushButton::clicked, this, [this] { showPage(0, true); });
    connect(BDAPAG2A3, &QPushButton::clicked, this, [this] { showPage(2, false); });
    connect(DAPAG5A4, &QPushButton::clicked, this, [this] { showPage(1, true); });
    connect(STGRID, &QTableWidget::currentCellChanged, this, [this](int r, int c) { cellSelected(r, c); });
    connect(BSTAMPA, &QPushButton::clicked, this, [this] { printText(this, RIEPILOGO->toPlainText(), QStringLiteral("IE818")); });
    connect(BCONF, &QPushButton::clicked, this, &TFCOMPIE818::confirm);
    connect(BABBANDONA, &QPushButton::clicked, this, &QDialog::reject);
}

TFCOMPIE818::~TFCOMPIE818() = default;

QWidget* TFCOMPIE818::buildPageOne()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto* sender = new QGroupBox(QStringLiteral("Mittente"), page);
    sender->setObjectName(QStringLiteral("PSPEDITORE"));
    COIDSP = readOnly(sender, "COIDSP", 18);
    DENSPE = readOnly(sender, "DENSPE", 60);
    INDSPE = readOnly(sender, "INDSPE", 60);
    CITSPE = readOnly(sender, "CITSPE", 40);
    auto* senderForm = new QFormLayout(sender);
    senderForm->addRow(QStringLiteral("Identific."), COIDSP);
    senderForm->addRow(QStringLiteral("Denomin."), DENSPE);
    senderForm->addRow(QStringLiteral("Indirizzo"), INDSPE);
    senderForm->addRow(QStringLiteral("Città"), CITSPE);

    NUMARC = readOnly(page, "NUMARC", 24);
    NUMARC->setFixedWidth(widthForChars(NUMARC, 26));
    NPRDAA = readOnly(page, "NPRDAA", 5);
    NPRDAA->setFixedWidth(widthForChars(NPRDAA, 7));
    auto* arc = new QHBoxLayout;
    arc->addWidget(new QLabel(QStringLiteral("ARC "), page));
    arc->addWidget(NUMARC);
    arc->addWidget(new QLabel(QStringLiteral("pr."), page));
    arc->addWidget(NPRDAA);
    arc->addStretch();

    LISTA = new QTreeWidget(page);
    LISTA->setObjectName(QStringLiteral("LISTA"));
    LISTA->setRootIsDecorated(false);
    LISTA->setFocusPolicy(Qt::NoFocus);
    LISTA->setHeaderLabels({QStringLiteral("N.Pr."), QStringLiteral("    Codice Prodotto"), QStringLiteral("    Litri"),
                            QStringLiteral("   Descrizione del Prodotto"), QStringLiteral("Confezioni")});
    LISTA->setFont(fixedFont());

    LINGUA = new CodedField(ctx_, QStringLiteral("T001"), {"LINGUA", "DLINGUA", "BLINGUA", "BNLINGUA"}, 2, page);
    LINGUA->setTextCase(TextCase::Lower);
    LINGUA->edit()->setToolTip(QStringLiteral("lingua delle descrizioni e delle note aggiuntive"));
    LINPRG = new CodedField(ctx_, QStringLiteral("T023"), {"LINPRG", "DLINPRG", "BLINPRG", "BNLINPRG"}, 2, page);
    LINPRG->setTextCase(TextCase::Upper);
    IMGPRO = new DateEdit(page);
    IMGPRO->setObjectName(QStringLiteral("IMGPRO"));
    IMGPRO->setFixedWidth(widthForChars(IMGPRO, 12));
    DENPRG = new QLineEdit(page);
    DENPRG->setObjectName(QStringLiteral("DENPRG"));
    setupText(DENPRG, 300);
    DENPRG->setToolTip(QStringLiteral("se la fattura non è stata ancora emessa indicare il documento per il trasporto"));
    BDAPAG1A2 = makeButton(page, "BDAPAG1A2", QStringLiteral("Pagina &2"));

    auto* form = new QFormLayout;
    form->addRow(buddyLabel(QStringLiteral("Lingua delle descrizioni"), LINGUA->edit()), LINGUA);
    form->addRow(buddyLabel(QStringLiteral("Esito della ricezione"), LINPRG->edit()), LINPRG);
    form->addRow(buddyLabel(QStringLiteral("Data di arrivo dei prodotti"), IMGPRO), IMGPRO);
    form->addRow(buddyLabel(QStringLiteral("Note (max 300)"), DENPRG), DENPRG);
    auto* next = new QHBoxLayout;
    next->addStretch();
    next->addWidget(BDAPAG1A2);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(sender);
    layout->addLayout(arc);
    layout->addWidget(LISTA, 1);
    layout->addLayout(form);
    layout->addLayout(next);
    return page;
}

QWidget* TFCOMPIE818::buildPageTwo()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet2"));
    Label23 = new QLabel(QStringLiteral("Indicare le differenze"), page);
    Label23->setObjectName(QStringLiteral("Label23"));
    STGRID = new DifferencesGrid(ctx_.messenger(), page);
    TIPO = new QLabel(QStringLiteral("C = Calo\nE = Eccedenza\nR = Rifiutata"), page);
    TIPO->setObjectName(QStringLiteral("TIPO"));
    MOTIVO = new QListWidget(page);
    MOTIVO->setObjectName(QStringLiteral("MOTIVO"));
    MOTIVO->setFocusPolicy(Qt::NoFocus);
    MOTIVO->setWordWrap(true);
    BDAPAG2A1 = makeButton(page, "BDAPAG2A1", QStringLiteral("Pagina &1"));
    BDAPAG2A3 = makeButton(page, "BDAPAG2A3", QStringLiteral("Pagina &3"));

    // The legends keep their room while hidden, so the grid does not jump as the cursor moves.
    auto* legendPanel = new QWidget(page);
    legendPanel->setFixedWidth(260);
    auto* legends = new QVBoxLayout(legendPanel);
    legends->setContentsMargins(0, 0, 0, 0);
    legends->addWidget(TIPO);
    legends->addWidget(MOTIVO, 1);
    legends->addStretch();
    TIPO->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    auto* middle = new QHBoxLayout;
    middle->addWidget(STGRID, 1);
    middle->addWidget(legendPanel);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BDAPAG2A1);
    buttons->addStretch();
    buttons->addWidget(BDAPAG2A3);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Label23);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);
    return page;
}

QWidget* TFCOMPIE818::buildPageThree()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet3"));
    RIEPILOGO = new QTextEdit(page);
    RIEPILOGO->setObjectName(QStringLiteral("RIEPILOGO"));
    RIEPILOGO->setReadOnly(true);
    RIEPILOGO->setLineWrapMode(QTextEdit::NoWrap);
    RIEPILOGO->setFont(fixedFont());
    BSTAMPA = makeButton(page, "BSTAMPA", QStringLiteral("&STAMPA"));
    BCONF = makeButton(page, "BCONF", QStringLiteral("&CONFERMA"));
    BABBANDONA = makeButton(page, "BABBANDONA", QStringLiteral("&Abbandona"));
    DAPAG5A4 = makeButton(page, "DAPAG5A4", QStringLiteral("Pagina &2"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(DAPAG5A4);
    buttons->addStretch();
    buttons->addWidget(BSTAMPA);
    buttons->addWidget(BCONF);
    buttons->addWidget(BABBANDONA);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(RIEPILOGO, 1);
    layout->addLayout(buttons);
    return page;
}

void TFCOMPIE818::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!opened_) {
        opened_ = true;
        open();
    }
}

// An Alt key that no button nor page key takes is never typed into a field: it is refused with a
// beep. Enter on a page button presses it.
bool TFCOMPIE818::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = k->modifiers() & ~Qt::KeypadModifier;
        if ((mods & Qt::AltModifier) && !(mods & Qt::ControlModifier) && !k->text().isEmpty()) {
            ctx_.messenger().beep();
            return true;
        }
        const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
        if (enter && mods == Qt::NoModifier) {
            for (QPushButton* b : {BDAPAG1A2, BDAPAG2A1, BDAPAG2A3, DAPAG5A4})
                if (watched == b) {
                    b->click();
                    return true;
                }
        }
    }
    return QDialog::eventFilter(watched, event);
}

// A page key gives way to a button of the page in hand that has the same Alt letter.
void TFCOMPIE818::enablePageKeys()
{
    QList<QKeySequence> taken;
    for (QAbstractButton* b : PCCOMPIE818->currentWidget()->findChildren<QAbstractButton*>())
        if (!b->isHidden())
            taken << QKeySequence::mnemonic(b->text());
    for (QShortcut* s : pageShortcuts_)
        s->setEnabled(!taken.contains(s->key()));
}

bool TFCOMPIE818::firstPageUntouched() const
{
    return !checks_->touched();
}

// The e-AD in hand, its lines and the reasons of dissatisfaction.
void TFCOMPIE818::open()
{
    try {
        reasons_ = readReasons(ctx_);
        TRecEad& received = ctx_.EadHeader;
        eadToWorkingForm(received);
        app_ = importedLines(ctx_, received.progressivo);
        QList<QByteArray> scratch;
        for (const TRecDettaglio& l : app_)
            scratch << encodeLine(l);
        RecordFile(reportLinesWorkPath(ctx_), TRecDettaglio::Size).replaceAll(scratch);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    codes_ = reasonCodes(reasons_);
    MOTIVO->clear();
    MOTIVO->addItems({QStringLiteral("  MOTIVI DI INSODDISFAZIONE"), QStringLiteral(" ")});
    for (const TRecTabella& r : reasons_)
        MOTIVO->addItem(trimField(r.Fld[0]) + QStringLiteral(" = ") + trimField(r.Fld[1]));
    MOTIVO->hide();
    TIPO->hide();

    const TRecEad& h = ctx_.EadHeader;
    COIDSP->setText(h.accisaSpeditore);
    DENSPE->setText(h.denominazioneSpeditore);
    INDSPE->setText(h.indirizzoSpeditore + QStringLiteral(", ") + h.civicoSpeditore);
    CITSPE->setText(h.cittaSpeditore);
    NUMARC->setText(h.ARC);
    NPRDAA->setText(QString::number(h.progressivoRif));
    for (QLineEdit* e : {COIDSP, DENSPE, INDSPE, CITSPE, NUMARC})
        e->setCursorPosition(0);

    LISTA->clear();
    for (const TRecDettaglio& l : app_) {
        auto* item = new QTreeWidgetItem(LISTA);
        item->setText(0, QString::number(l.rigaProdotto));
        item->setText(1, trimField(l.META20));
        item->setText(2, generalNumber(l.TOTLIT));
        item->setText(3, trimField(l.LEDEPR) + QLatin1Char(' ') + trimField(l.SIGIMB));
        item->setText(4, QString::number(l.NUMIMB));
        item->setTextAlignment(2, Qt::AlignRight);
        item->setTextAlignment(4, Qt::AlignRight);
    }
    // The description takes the room left; the other columns fit their contents.
    LISTA->header()->setStretchLastSection(false);
    for (int c = 0; c < 5; ++c)
        LISTA->resizeColumnToContents(c);
    LISTA->header()->setSectionResizeMode(3, QHeaderView::Stretch);
    STGRID->setCodes(codes_);
    STGRID->setLines(app_);
    STGRID->setOutcome(QString());

    LINGUA->setCode(QStringLiteral("it"));
    LINGUA->companion()->setText(QStringLiteral("italiano"));
    IMGPRO->setDate(ctx_.clock().today());
    LINPRG->clear();
    DENPRG->clear();
    checks_->resetTouched();
    page_ = 0;
    PCCOMPIE818->setCurrentIndex(0);
    enablePageKeys();
    LINPRG->edit()->setFocus(Qt::OtherFocusReason);
}

// Leaving a code field: its description when found, otherwise the table's listing; a code not
// chosen there empties the field.
void TFCOMPIE818::codeLeft(CodedField* field)
{
    if (!field->lookup() && !field->code().isEmpty()) {
        field->pick();
        if (!field->lookup())
            field->clear();
        field->edit()->setFocus(Qt::OtherFocusReason);
    }
    if (field == LINPRG)
        applyOutcome();
}

// The outcome is the code of the row found, and only of a row found: a failed lookup leaves none.
void TFCOMPIE818::applyOutcome()
{
    PCCOMPIE818->setTabVisible(1, true);
    outcome_ = LINPRG->lastRow() ? trimField(LINPRG->lastRow()->Fld[0]) : QString();
    if (outcomeWithoutDifferences(outcome_))
        PCCOMPIE818->setTabVisible(1, false);
    STGRID->setOutcome(outcome_);
}

ReceiptEntry TFCOMPIE818::entry() const
{
    return {LINGUA->code(), outcome_, IMGPRO->date(), DENPRG->text()};
}

// The page-1 check: silent while the page is untouched; otherwise its message, and the field at
// fault in focus.
bool TFCOMPIE818::pageOneCheck(QString* focus)
{
    if (firstPageUntouched())
        return false;
    const bool outcomeFound = LINPRG->lookup();
    applyOutcome();
    const bool languageFound = LINGUA->lookup();
    const PageOneCheck c = checkPageOne(entry(), outcomeFound, languageFound);
    if (!c.ok) {
        if (!c.message.isEmpty()) // the field's own message first
            ctx_.messenger().info(c.message);
        ctx_.messenger().info(QString::fromUtf8(MissingField));
        *focus = c.focus;
        return false;
    }
    // Straight from the date to another page: its question has not been asked yet.
    if (!arrivalConfirmed()) {
        *focus = QStringLiteral("IMGPRO");
        return false;
    }
    return true;
}

// The arrival date left: a year outside 2008-2060 is refused; a date after today or before the
// e-AD was validated is kept only when the user confirms it.
CheckResult TFCOMPIE818::arrivalLeft()
{
    const QDate d = IMGPRO->date();
    if (!d.isValid())
        return CheckResult::pass(); // the page check names it
    if (!arrivalYearAccepted(d))
        return CheckResult::fail(QString::fromUtf8(ArrivalYearOutOfRange), QStringLiteral("IMGPRO"));
    return arrivalConfirmed() ? CheckResult::pass() : CheckResult::fail({}, QStringLiteral("IMGPRO"));
}

// Asks about an unusual arrival date once: the date confirmed is not asked about again.
bool TFCOMPIE818::arrivalConfirmed()
{
    const QDate d = IMGPRO->date();
    const QString question = arrivalQuestion(d, ctx_.clock().today(), dates::toDate(ctx_.EadHeader.IMGATR));
    if (question.isEmpty() || d == arrivalAccepted_)
        return true;
    arrivalDeclined_ = !ctx_.messenger().askYesNo(question);
    if (arrivalDeclined_)
        return false;
    arrivalAccepted_ = d;
    return true;
}

// DETTAGLI.818 from the grid.
bool TFCOMPIE818::buildLines()
{
    if (firstPageUntouched())
        return false;
    // The summary may be reached without passing through page 2: a refused e-AD shows its lines
    // refused all the same.
    if (outcome_ == QLatin1String("3"))
        STGRID->fillRefused(app_);
    lines_ = buildReceiptLines(app_, STGRID->rows(), outcome_, codes_);
    try {
        QList<QByteArray> bytes;
        for (const TRecDettaglio& l : lines_.lines)
            bytes << encodeLine(l);
        RecordFile(reportDetailsPath(ctx_), TRecDettaglio::Size).replaceAll(bytes);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return false;
    }
    if (!lines_.ok) {
        ctx_.messenger().info(lines_.message);
        return false;
    }
    return true;
}

bool TFCOMPIE818::buildSummary()
{
    RIEPILOGO->clear();
    QString focus;
    arrivalDeclined_ = false;
    if (!pageOneCheck(&focus)) {
        if (!focus.isEmpty() && !arrivalDeclined_) // a date the user declined is no error
            ctx_.messenger().info(QStringLiteral("ERRORE"));
        showPage(0, true);
        if (!focus.isEmpty())
            checks_->focusField(focus);
        return false;
    }
    message_ = buildReceiptHeader(ctx_.EadHeader, ctx_.CompanyRecord, entry());
    if (!buildLines()) {
        ctx_.messenger().info(QStringLiteral("ERRORE"));
        showPage(1, true);
        if (lines_.failRow > 0)
            STGRID->setCurrentCell(lines_.failRow - 1, lines_.failColumn);
        return false;
    }
    RIEPILOGO->setPlainText(receiptSummaryLines(message_, lines_.lines, reasons_, LINPRG->companion()->text()).join('\n'));
    return true;
}

void TFCOMPIE818::showPage(int page, bool backward)
{
    // Without differences to report the second page is hidden and passed over.
    if (page == 1 && !PCCOMPIE818->isTabVisible(1))
        page = backward ? 0 : 2;
    // Forward, the page in hand is checked before anything moves: a refusal never shows the
    // next page behind its message.
    if (!backward && page > page_ && !firstPageUntouched() && !leavePage(page_))
        return;
    backward_ = true; // checked (or going back): the change goes through
    PCCOMPIE818->setCurrentIndex(page);
    backward_ = false;
}

// The check of leaving a page; on failure its message has been shown and the cursor is on the
// field or the grid cell to put right.
bool TFCOMPIE818::leavePage(int from)
{
    QString focus;
    bool allowed = true;
    if (from == 0)
        allowed = pageOneCheck(&focus);
    else if (from == 1)
        allowed = buildLines();
    if (allowed)
        return true;
    if (!focus.isEmpty())
        checks_->focusField(focus);
    if (from == 1 && lines_.failRow > 0) { // the cell to fill
        STGRID->setCurrentCell(lines_.failRow - 1, lines_.failColumn);
        STGRID->setFocus(Qt::OtherFocusReason);
    }
    return false;
}

void TFCOMPIE818::pageChanged(int page)
{
    if (switching_ || page == page_)
        return;
    const int from = page_;
    // A tab clicked: refused while the first page is untouched, checked when going forward.
    const bool allowed = !firstPageUntouched() && (backward_ || page < from || leavePage(from));
    if (!allowed) {
        switching_ = true;
        PCCOMPIE818->setCurrentIndex(from);
        switching_ = false;
        if (from == 1 && lines_.failRow > 0) // leavePage moved the cursor; the page is back now
            STGRID->setFocus(Qt::OtherFocusReason);
        return;
    }
    page_ = page;
    pageEntered(page);
    enablePageKeys();
}

void TFCOMPIE818::pageEntered(int page)
{
    if (page == 1) {
        if (outcome_ == QLatin1String("3"))
            STGRID->fillRefused(app_);
        if (STGRID->rowCount() > 0)
            STGRID->setCurrentCell(0, DifferencesGrid::Note);
        STGRID->setFocus(Qt::OtherFocusReason);
    } else if (page == 2) {
        if (buildSummary())
            BCONF->setFocus(Qt::OtherFocusReason);
    }
}

void TFCOMPIE818::cellSelected(int row, int column)
{
    MOTIVO->setVisible(column == DifferencesGrid::Reasons);
    TIPO->setVisible(column == DifferencesGrid::Type);
    if (row >= 0 && row < app_.size())
        Label23->setText(trimField(app_[row].LEDEPR) + QLatin1Char(' ') + trimField(app_[row].SIGIMB));
}

void TFCOMPIE818::confirm()
{
    if (firstPageUntouched()) {
        showPage(0, true);
        LINGUA->edit()->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The report is built from what the pages show now; nothing is stored while a check fails.
    if (!buildSummary())
        return;
    try {
        BusyCursor busy;
        storeReceipt(ctx_, ctx_.WorkYear, message_, app_, lines_.lines);
        confirmed_ = true;
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    accept();
}

} // namespace vt
