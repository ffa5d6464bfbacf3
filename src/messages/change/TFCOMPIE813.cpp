#include "messages/change/TFCOMPIE813.h"

#include <QTabBar>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

#include "foundation/IoError.h"
#include "messages/change/ChangeDestination.h"
#include "messages/ead/EadCompile.h"
#include "messages/ead/EadLines.h"
#include "messages/ead/EadStore.h"
#include "messages/change/TFCOMPIE813_PAGINE.h"
#include "ui/CodedField.h"
#include "ui/FormChecks.h"
#include "ui/PrintText.h"
#include "ui/TransportLinesEditor.h"
#include "ui/Widgets.h"
#include "ui/WindowRegistry.h"

namespace vt {

TFCOMPIE813::TFCOMPIE813(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFCOMPIE813"));
    setWindowTitle(QStringLiteral("Cambio di destinazione - messaggio IE813"));
    checks_ = new FormChecks(this, ctx_.messenger());

    PCCOMPIE813 = new QTabWidget(this);
    PCCOMPIE813->setObjectName(QStringLiteral("PCCOMPIE813"));
    PCCOMPIE813->setFocusPolicy(Qt::NoFocus);
    page1_ = new ChangeConsigneePage(ctx_, *checks_, panels_, PCCOMPIE813);
    page1_->setObjectName(QStringLiteral("TabSheet1"));
    page2_ = new ChangeTransportPage(ctx_, *checks_, panels_, PCCOMPIE813);
    page2_->setObjectName(QStringLiteral("TabSheet2"));

    page3_ = new QWidget(PCCOMPIE813);
    page3_->setObjectName(QStringLiteral("TabSheet3"));
    const SummaryPage summary = buildSummaryPage(page3_, "DAPAG5A4", QStringLiteral("Pagina 2"), Qt::ClickFocus);
    RIEPILOGO = summary.RIEPILOGO;
    DAPAG5A4 = summary.back;
    BSTAMPA = summary.BSTAMPA;
    BCONF = summary.BCONF;
    BABBANDONA = summary.BABBANDONA;

    PCCOMPIE813->addTab(page1_, QStringLiteral("Nuovo Destinatario"));
    PCCOMPIE813->addTab(page2_, QStringLiteral("Dati del Trasporto"));
    PCCOMPIE813->addTab(page3_, QStringLiteral("Riepilogo e Conferma"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PCCOMPIE813);

    checks_->attach();
    connect(page1_, &CompilePage::nextPage, this, [this] { goToPage(1); });
    connect(page2_, &CompilePage::previousPage, this, [this] { goToPage(0); });
    connect(page2_, &CompilePage::nextPage, this, [this] { goToPage(2); });
    connect(DAPAG5A4, &QPushButton::clicked, this, [this] { goToPage(1); });
    connect(PCCOMPIE813, &QTabWidget::currentChanged, this, &TFCOMPIE813::pageChanged);
    PCCOMPIE813->tabBar()->installEventFilter(this);
    PCCOMPIE813->installEventFilter(this);
    connect(BCONF, &QPushButton::clicked, this, &TFCOMPIE813::confirm);
    connect(BSTAMPA, &QPushButton::clicked, this, [this] { printText(this, RIEPILOGO->toPlainText(), QStringLiteral("EAD")); });
    connect(BABBANDONA, &QPushButton::clicked, this, &TFCOMPIE813::reject);

    resize(980, 720);
    open();
    opening_ = snapshot();
}

QStringList TFCOMPIE813::snapshot() const
{
    const EadForm f = currentForm();
    QStringList s;
    for (const QStringList* page : {&page1Fields(), &page2Fields()})
        for (const QString& n : *page)
            s << f[n].trimmed();
    try {
        s << QString::number(transportLineCount(ctx_));
    } catch (const IoError&) {
        s << QStringLiteral("?");
    }
    return s;
}

void TFCOMPIE813::reject()
{
    const bool changed = !saved_ && (page2_->lines->lineInProgress() || snapshot() != opening_);
    if (changed && !ctx_.messenger().askYesNo(MsgAbandonChange))
        return;
    QDialog::reject();
}

void TFCOMPIE813::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (opened_)
        return;
    opened_ = true;
    // The two address blocks side by side make the window wide: it opens centred on the screen.
    if (QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    page1_->LINGUA->edit()->setFocus(Qt::OtherFocusReason);
}

EadForm TFCOMPIE813::currentForm() const
{
    EadForm f;
    f.panels = panels_;
    page1_->readInto(f);
    page2_->readInto(f);
    return f;
}

void TFCOMPIE813::showForm(const EadForm& f)
{
    panels_ = f.panels;
    for (CompilePage* p : {static_cast<CompilePage*>(page1_), static_cast<CompilePage*>(page2_)}) {
        p->showForm(f);
        p->applyPanels();
    }
}

// Filled from the e-AD in hand; the filling is over once the window is open, so the user may move
// between the pages at once (a change of the transport data alone types nothing on page 1).
void TFCOMPIE813::open()
{
    showForm(changeFormFromEad(ctx_.EadHeader));
    page1_->applyConsigneeType();
    page1_->clearCompanions();
    page2_->clearCompanions();
    try {
        page2_->lines->list();
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
    RIEPILOGO->clear();
    PCCOMPIE813->setCurrentIndex(0);
    checks_->setTouched(true);
}

CheckResult TFCOMPIE813::pageCheck(int page)
{
    EadForm f = currentForm();
    CheckResult r;
    const CodeCheck valid = tableCodeCheck(ctx_);
    switch (page) {
    case 0: r = checkChangePage1(f, valid); break;
    case 1: r = checkChangePage2(f, valid, transportLineCount(ctx_)); break;
    default: return CheckResult::pass();
    }
    // The checks empty what they found hidden or not wanted.
    showForm(f);
    return r;
}

bool TFCOMPIE813::mayLeave(int from, int to)
{
    if (from >= 2)
        return true;
    CheckResult r;
    try {
        r = pageCheck(from);
    } catch (const IoError& e) {
        r = CheckResult::fail(e.text(), {});
    }
    if (r.ok || to < from)
        return true; // going back is always allowed
    switching_ = true;
    PCCOMPIE813->setCurrentIndex(from);
    switching_ = false;
    showPageCheck(*checks_, ctx_.messenger(), r);
    return false;
}

void TFCOMPIE813::pageChanged(int index)
{
    if (switching_)
        return;
    const int from = current_;
    if (!mayLeave(from, index)) {
        switching_ = true;
        PCCOMPIE813->setCurrentIndex(from);
        switching_ = false;
        return;
    }
    current_ = index;
    enterPage(index);
}

void TFCOMPIE813::goToPage(int page)
{
    if (!leavingPage(page))
        return;
    PCCOMPIE813->setCurrentIndex(page);
}

bool TFCOMPIE813::eventFilter(QObject* watched, QEvent* event)
{
    const int to = requestedPage(PCCOMPIE813, watched, event);
    const int here = PCCOMPIE813->currentIndex();
    // A leave that refuses keeps the user on the field, on this page.
    if (to >= 0 && to != here && !leavingPage(to))
        return true;
    return QDialog::eventFilter(watched, event);
}

// Forward, the field being typed is left first (its layout, lookups and warnings happen), and a
// transport detail typed but not confirmed is confirmed or dropped at the user's word.
bool TFCOMPIE813::leavingPage(int to)
{
    if (to > PCCOMPIE813->currentIndex() && !checks_->runPendingLeave())
        return false;
    return settleLine();
}

bool TFCOMPIE813::settleLine()
{
    if (PCCOMPIE813->currentIndex() != 1 || !page2_->lines->lineInProgress())
        return true;
    // No: the detail is dropped (the list empties the fields when the page is shown again).
    if (!ctx_.messenger().askYesNo(MsgLineNotConfirmed))
        return true;
    return page2_->lines->confirmInProgress();
}

void TFCOMPIE813::enterPage(int page)
{
    switch (page) {
    case 0:
        page1_->NUMFAT->setFocus(Qt::OtherFocusReason);
        break;
    case 1:
        try {
            page2_->lines->list();
        } catch (const IoError& e) {
            ctx_.messenger().info(e.text());
        }
        page2_->RESTRA->edit()->setFocus(Qt::OtherFocusReason);
        break;
    case 2:
        buildSummary();
        break;
    }
}

void TFCOMPIE813::showFailure(int page, const CheckResult& r)
{
    if (page >= 1) {
        current_ = page - 1;
        switching_ = true;
        PCCOMPIE813->setCurrentIndex(current_);
        switching_ = false;
        showPageCheck(*checks_, ctx_.messenger(), r); // a page check
        return;
    }
    checks_->show(r);
}

void TFCOMPIE813::buildSummary()
{
    RIEPILOGO->clear();
    EadForm f = currentForm();
    const CodeCheck valid = tableCodeCheck(ctx_);
    try {
        CheckResult r = checkChangePage1(f, valid);
        int page = 1;
        if (r.ok) {
            page = 2;
            r = checkChangePage2(f, valid, transportLineCount(ctx_));
        }
        showForm(f);
        if (r.ok) {
            const TRecEad change = changeRecordFromForm(f, ctx_.EadHeader, ctx_.CompanyRecord);
            RIEPILOGO->setPlainText(
                changeScreenSummary(f, change, readLines(eadfiles::transportWork(ctx_))).join(QLatin1Char('\n')));
            BCONF->setFocus(Qt::OtherFocusReason);
            return;
        }
        showFailure(page, r);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    ctx_.messenger().info(MsgError);
}

void TFCOMPIE813::confirm()
{
    if (saved_)
        return; // a second click while the flow window was opening
    // Every check runs afresh: a click that arrives after a failed check writes nothing.
    EadForm f = currentForm();
    ChangeOutcome out;
    try {
        BusyCursor busy;
        out = confirmChange(ctx_, f);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    if (!out.saved) {
        showForm(f);
        showFailure(out.page, out.result);
        return;
    }
    saved_ = true;
    RIEPILOGO->setPlainText(out.summary.join(QLatin1Char('\n')));
    // This window is done: it closes as soon as the flow window does.
    hide();
    openWindow(QStringLiteral("TFCREAFIRMAINVIAIE813"), ctx_, parentWidget());
    accept();
}

} // namespace vt
