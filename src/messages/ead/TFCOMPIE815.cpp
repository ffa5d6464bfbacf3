#include "messages/ead/TFCOMPIE815.h"

#include <QKeyEvent>
#include <QTabBar>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

#include "foundation/IoError.h"
#include "foundation/Text.h"
#include "messages/ead/EadCompile.h"
#include "messages/ead/EadDuplicate.h"
#include "messages/ead/EadLines.h"
#include "messages/ead/TFCOMPIE815_DEST.h"
#include "messages/ead/TFCOMPIE815_GAR.h"
#include "messages/ead/TFCOMPIE815_PROD.h"
#include "messages/ead/TFCOMPIE815_TRASP.h"
#include "ui/CodedField.h"
#include "ui/FormChecks.h"
#include "ui/PrintText.h"
#include "ui/TransportLinesEditor.h"
#include "ui/Widgets.h"
#include "ui/WindowRegistry.h"

namespace vt {

TFCOMPIE815::TFCOMPIE815(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx), modify_(ctx.ModifyMode), duplicate_(ctx.DuplicateEad && !ctx.ModifyMode)
{
    setObjectName(QStringLiteral("TFCOMPIE815"));
    setWindowTitle(QStringLiteral("Compila e-AD messaggio IE815"));
    checks_ = new FormChecks(this, ctx_.messenger());

    PCCOMPEAD = new QTabWidget(this);
    PCCOMPEAD->setObjectName(QStringLiteral("PCCOMPEAD"));
    PCCOMPEAD->setFocusPolicy(Qt::NoFocus);
    page1_ = new DestinationPage(ctx_, *checks_, panels_, PCCOMPEAD);
    page2_ = new TransportPage(ctx_, *checks_, panels_, PCCOMPEAD);
    page3_ = new ProductsPage(ctx_, *checks_, panels_, PCCOMPEAD);
    page4_ = new GuaranteePage(ctx_, *checks_, panels_, PCCOMPEAD);

    page5_ = new QWidget(PCCOMPEAD);
    page5_->setObjectName(QStringLiteral("PAGINA5"));
    const SummaryPage summary = buildSummaryPage(page5_, "BPAG4", QStringLiteral("Pagina 4"), Qt::StrongFocus);
    RIEPILOGO = summary.RIEPILOGO;
    BPAG4 = summary.back;
    BSTAMPA = summary.BSTAMPA;
    BCONF = summary.BCONF;
    BABBANDONA = summary.BABBANDONA;
    setTabOrder(BPAG4, RIEPILOGO);
    // The summary is read from the keyboard too: PgUp/PgDn (Ctrl+Home/End) scroll it from the buttons.
    auto scrollKey = [this](const QKeySequence& keys, QAbstractSlider::SliderAction action) {
        auto* s = new QShortcut(keys, page5_);
        s->setContext(Qt::WidgetWithChildrenShortcut);
        connect(s, &QShortcut::activated, RIEPILOGO,
                [this, action] { RIEPILOGO->verticalScrollBar()->triggerAction(action); });
    };
    scrollKey(QKeySequence(Qt::Key_PageDown), QAbstractSlider::SliderPageStepAdd);
    scrollKey(QKeySequence(Qt::Key_PageUp), QAbstractSlider::SliderPageStepSub);
    scrollKey(QKeySequence(Qt::CTRL | Qt::Key_End), QAbstractSlider::SliderToMaximum);
    scrollKey(QKeySequence(Qt::CTRL | Qt::Key_Home), QAbstractSlider::SliderToMinimum);

    PCCOMPEAD->addTab(page1_, QStringLiteral("Speditore / Destinatario"));
    PCCOMPEAD->addTab(page2_, QStringLiteral("Dati del Trasporto"));
    PCCOMPEAD->addTab(page3_, QStringLiteral("Dettagli del Vino"));
    PCCOMPEAD->addTab(page4_, QStringLiteral("Garanti Accise"));
    PCCOMPEAD->addTab(page5_, QStringLiteral("Riepilogo e Conferma"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PCCOMPEAD);

    checks_->attach();
    const CompilePage* pages[] = {page1_, page2_, page3_, page4_};
    for (int i = 0; i < 4; ++i) {
        connect(pages[i], &CompilePage::nextPage, this, [this, i] { goToPage(i + 1); });
        connect(pages[i], &CompilePage::previousPage, this, [this, i] { goToPage(i - 1); });
    }
    connect(BPAG4, &QPushButton::clicked, this, [this] { goToPage(3); });
    connect(PCCOMPEAD, &QTabWidget::currentChanged, this, &TFCOMPIE815::pageChanged);
    PCCOMPEAD->tabBar()->installEventFilter(this);
    PCCOMPEAD->installEventFilter(this);
    // An Alt key that no button answers must not type its letter into the field in hand.
    for (QLineEdit* e : findChildren<QLineEdit*>())
        e->installEventFilter(this);
    // Alt+C away from the last page leads to the summary and its CONFERMA.
    toSummary_ = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_C), this);
    connect(toSummary_, &QShortcut::activated, this, [this] { goToPage(4); });
    // On the last page Alt+C is CONFERMA itself.
    connect(PCCOMPEAD, &QTabWidget::currentChanged, toSummary_,
            [this] { toSummary_->setEnabled(PCCOMPEAD->currentIndex() != 4); });
    connect(BCONF, &QPushButton::clicked, this, &TFCOMPIE815::confirm);
    connect(BSTAMPA, &QPushButton::clicked, this, &TFCOMPIE815::print);
    connect(BABBANDONA, &QPushButton::clicked, this, &TFCOMPIE815::reject);

    resize(980, 720);
    if (modify_)
        openModify();
    else if (duplicate_)
        openDuplicate();
    else
        openNew();
    opening_ = snapshot();
}

QStringList TFCOMPIE815::snapshot() const
{
    const EadForm f = currentForm();
    QStringList s;
    for (const QStringList* page : {&page1Fields(), &page2Fields(), &page4Fields()})
        for (const QString& n : *page)
            s << f[n].trimmed();
    try {
        s << QString::number(transportLineCount(ctx_)) << QString::number(productLineCount(ctx_));
    } catch (const IoError&) {
        s << QStringLiteral("?");
    }
    return s;
}

void TFCOMPIE815::reject()
{
    const bool lineTyped = page2_->lines->lineInProgress() || page3_->lineInProgress();
    if ((lineTyped || snapshot() != opening_) && !ctx_.messenger().askYesNo(MsgAbandonCompilation))
        return;
    QDialog::reject();
}

void TFCOMPIE815::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (opened_)
        return;
    opened_ = true;
    if (modify_)
        page1_->LINGUA->edit()->setFocus(Qt::OtherFocusReason);
    else
        page1_->NUMFAT->setFocus(Qt::OtherFocusReason);
}

void TFCOMPIE815::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    const QScreen* where = screen();
    if (!where || !isVisible())
        return;
    const QRect room = where->availableGeometry();
    const QRect frame = frameGeometry();
    QPoint to = pos();
    if (frame.right() > room.right())
        to.rx() -= std::min(frame.right() - room.right(), frame.left() - room.left());
    if (frame.bottom() > room.bottom())
        to.ry() -= std::min(frame.bottom() - room.bottom(), frame.top() - room.top());
    if (to != pos())
        move(to);
}

bool TFCOMPIE815::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && qobject_cast<QLineEdit*>(watched)) {
        auto* k = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers m = k->modifiers();
        // Alt+letter that reached the field: no shortcut took it (AltGr, which types "@" or "#",
        // arrives as Ctrl+Alt or group switch and is left alone).
        if ((m & Qt::AltModifier) && !(m & (Qt::ControlModifier | Qt::GroupSwitchModifier | Qt::MetaModifier))
            && k->key() >= Qt::Key_Space && k->key() <= Qt::Key_ydiaeresis) {
            ctx_.messenger().beep();
            return true;
        }
        return QDialog::eventFilter(watched, event);
    }
    const int to = requestedPage(PCCOMPEAD, watched, event);
    const int here = PCCOMPEAD->currentIndex();
    // A leave that refuses keeps the user on the field, on this page.
    if (to >= 0 && to != here && !leavingPage(to))
        return true;
    return QDialog::eventFilter(watched, event);
}

EadForm TFCOMPIE815::currentForm() const
{
    EadForm f;
    f.panels = panels_;
    for (const CompilePage* p : {static_cast<CompilePage*>(page1_), static_cast<CompilePage*>(page2_),
                                 static_cast<CompilePage*>(page4_)})
        p->readInto(f);
    return f;
}

void TFCOMPIE815::showForm(const EadForm& f)
{
    panels_ = f.panels;
    for (CompilePage* p : {static_cast<CompilePage*>(page1_), static_cast<CompilePage*>(page2_),
                           static_cast<CompilePage*>(page4_)}) {
        p->showForm(f);
        p->applyPanels();
    }
    page1_->showTipmes();
}

void TFCOMPIE815::openNew()
{
    showForm(newEadForm(ctx_.CompanyRecord, ctx_.clock().today()));
    page1_->LINGUA->lookup();
    page1_->applyConsigneeType();
    page2_->lines->list();
    page3_->list();
    checks_->resetTouched();
    PCCOMPEAD->setCurrentIndex(0);
}

void TFCOMPIE815::openDuplicate()
{
    showForm(duplicateForm(ctx_.EadHeader, ctx_.CompanyRecord, ctx_.clock().today()));
    page1_->applyConsigneeType();
    page1_->clearCompanions();
    page2_->clearCompanions();
    page4_->clearCompanions();
    page2_->lines->list();
    page3_->list();
    // The copied amounts were proposed from the copied lines: a changed quantity proposes anew.
    try {
        page4_->setProposed(compilationExcise(ctx_, page1_->COIDDE->text()));
    } catch (const IoError&) {
        // unreadable rates: nothing was proposed from them
    }
    PCCOMPEAD->setCurrentIndex(0);
    // Filled as it is, the window moves between pages and checks at once.
    checks_->setTouched(true);
}

void TFCOMPIE815::openModify()
{
    showForm(formFromHeader(ctx_.EadHeader));
    page1_->applyConsigneeType();
    page1_->clearCompanions();
    page2_->clearCompanions();
    page4_->clearCompanions();
    page2_->lines->list();
    page3_->list();
    // The amounts of the loaded rows were proposed from its lines as they were.
    try {
        page4_->setProposed(compilationExcise(ctx_, page1_->COIDDE->text()));
    } catch (const IoError&) {
        // unreadable rates: nothing was proposed from them
    }
    PCCOMPEAD->setCurrentIndex(0);
    checks_->setTouched(true);
}

CheckResult TFCOMPIE815::pageCheck(int page)
{
    EadForm f = currentForm();
    CheckResult r;
    const CodeCheck valid = tableCodeCheck(ctx_);
    switch (page) {
    case 0: r = checkPage1(f, valid); break;
    case 1: r = checkPage2(f, valid, transportLineCount(ctx_), ctx_.clock().today()); break;
    case 2: r = checkPage3(productLineCount(ctx_)); break;
    case 3: r = checkPage4(f, valid); break;
    default: return CheckResult::pass();
    }
    if (r.ok && duplicate_)
        r = checkDuplicatePage(ctx_, f, page + 1);
    // The checks empty what they found hidden or not wanted.
    showForm(f);
    return r;
}

bool TFCOMPIE815::mayLeave(int from, int to)
{
    if (!checks_->touched())
        return false;
    if (from >= 4)
        return true;
    const CheckResult r = pageCheck(from);
    pageError_ = !r.ok;
    if (r.ok)
        return true;
    if (to < from)
        return true; // going back is always allowed
    switching_ = true;
    PCCOMPEAD->setCurrentIndex(from);
    switching_ = false;
    // The field the page change took the focus from is back in sight: the page check speaks for it.
    page(from)->passOverPendingLeave();
    showPageCheck(*checks_, ctx_.messenger(), r);
    return false;
}

void TFCOMPIE815::pageChanged(int index)
{
    if (switching_)
        return;
    const int from = current_;
    if (!mayLeave(from, index)) {
        switching_ = true;
        PCCOMPEAD->setCurrentIndex(from);
        switching_ = false;
        if (!checks_->touched()) {
            // Refused until something is typed: say why at the foot of the window.
            checks_->setStatus(MsgTypeFirst);
            page1_->NUMFAT->setFocus(Qt::OtherFocusReason);
        }
        return;
    }
    current_ = index;
    enterPage(index);
}

bool TFCOMPIE815::leavingPage(int to)
{
    if (!checks_->touched())
        return true; // the page change itself is refused
    // Forward, the field being typed is left first, as Tab would leave it; going back needs no
    // check (and no listing opened by an empty code).
    if (to > PCCOMPEAD->currentIndex() && !checks_->runPendingLeave())
        return false;
    return settleLine();
}

bool TFCOMPIE815::settleLine()
{
    const int here = PCCOMPEAD->currentIndex();
    const bool transport = here == 1 && page2_->lines->lineInProgress();
    const bool product = here == 2 && page3_->lineInProgress();
    if (!checks_->touched() || (!transport && !product))
        return true;
    // No: the line is dropped (the listing empties it when the page is shown again).
    if (!ctx_.messenger().askYesNo(MsgLineNotConfirmed))
        return true;
    return transport ? page2_->lines->confirmInProgress() : page3_->confirmInProgress();
}

CompilePage* TFCOMPIE815::page(int index) const
{
    CompilePage* pages[] = {page1_, page2_, page3_, page4_};
    return index >= 0 && index < 4 ? pages[index] : nullptr;
}

void TFCOMPIE815::goToPage(int page)
{
    // A page button clicked straight from a field leaves that field first (the buttons take no
    // focus from the mouse, so its leave has not run yet).
    if (!leavingPage(page))
        return;
    PCCOMPEAD->setCurrentIndex(page);
}

void TFCOMPIE815::enterPage(int page)
{
    switch (page) {
    case 0:
        page1_->NUMFAT->setFocus(Qt::OtherFocusReason);
        break;
    case 1:
        page2_->lines->list();
        page2_->RESTRA->edit()->setFocus(Qt::OtherFocusReason);
        break;
    case 2:
        page3_->list();
        break;
    case 3:
        try {
            page4_->enter(compilationExcise(ctx_, page1_->COIDDE->text()));
        } catch (const IoError& e) {
            ctx_.messenger().info(e.text());
            page4_->enter(0);
        }
        break;
    case 4:
        // Reached straight from page 3, the guarantee still follows the lines.
        try {
            page4_->refreshAmount(compilationExcise(ctx_, page1_->COIDDE->text()));
        } catch (const IoError& e) {
            ctx_.messenger().info(e.text());
        }
        buildSummary();
        break;
    }
}

void TFCOMPIE815::buildSummary()
{
    RIEPILOGO->clear();
    EadForm f = currentForm();
    AllPagesVerdict v;
    try {
        v = checkCompilation(ctx_, f, duplicate_);
        showForm(f);
        if (v.page == 0) {
            showSummary(compilationSummary(ctx_, f));
            BCONF->setFocus(Qt::OtherFocusReason);
            return;
        }
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    current_ = v.page - 1;
    switching_ = true;
    PCCOMPEAD->setCurrentIndex(current_);
    switching_ = false;
    showPageCheck(*checks_, ctx_.messenger(), v.result);
    ctx_.messenger().info(MsgError);
}

void TFCOMPIE815::confirm()
{
    if (!checks_->touched()) {
        goToPage(0);
        page1_->NUMFAT->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Every page is checked afresh: a click that arrives after a failed check writes nothing.
    EadForm f = currentForm();
    CompileOutcome out;
    try {
        BusyCursor busy;
        out = confirmCompilation(ctx_, f, modify_, duplicate_);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    if (out.verdict.page != 0) {
        showForm(f);
        current_ = out.verdict.page - 1;
        switching_ = true;
        PCCOMPEAD->setCurrentIndex(current_);
        switching_ = false;
        showPageCheck(*checks_, ctx_.messenger(), out.verdict.result);
        return;
    }
    showSummary(out.summary);
    // This window is already done: it closes as soon as the flow window does.
    openWindow(QStringLiteral("TFCREAFIRMAINVIAIE815"), ctx_, this);
    accept();
    // Several windows close one after the other: the one below gets the keyboard back.
    if (QWidget* below = parentWidget())
        below->window()->activateWindow();
}

void TFCOMPIE815::showSummary(const QStringList& lines)
{
    RIEPILOGO->setPlainText(lines.join(QLatin1Char('\n')));
    // Read from the top: the message type and the invoice come first.
    RIEPILOGO->moveCursor(QTextCursor::Start);
    RIEPILOGO->verticalScrollBar()->setValue(0);
    RIEPILOGO->horizontalScrollBar()->setValue(0);
}

void TFCOMPIE815::print()
{
    printText(this, RIEPILOGO->toPlainText(), QStringLiteral("EAD"));
}

} // namespace vt
