#include "messages/ead/TFCOMPIE815_PAGINA.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QRegularExpressionValidator>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

#include "foundation/AddressFile.h"
#include "foundation/IoError.h"
#include "foundation/Services.h"
#include "foundation/Text.h"
#include "masterdata/AddressBook.h"
#include "ui/CodedField.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"
#include "ui/WindowRegistry.h"

namespace vt {

CompilePage::CompilePage(AppContext& ctx, FormChecks& checks, EadPanels& panels, QWidget* parent)
    : QWidget(parent), ctx_(ctx), checks_(checks), panels_(panels)
{
}

QLineEdit* CompilePage::text(const char* name, int maxLength, TextCase c)
{
    auto* e = new QLineEdit(this);
    e->setObjectName(QString::fromLatin1(name));
    setupText(e, maxLength, c);
    if (maxLength <= 20)
        e->setFixedWidth(widthForChars(e, std::max(maxLength, 3)));
    else
        e->setMinimumWidth(widthForChars(e, std::min(maxLength, 30))); // longer text scrolls
    names_ << e->objectName();
    return e;
}

CodedField* CompilePage::coded(const char* name, const QString& table, int maxLength, bool lower)
{
    const QString n = QString::fromLatin1(name);
    auto* f = new CodedField(ctx_, table, {n, QLatin1Char('D') + n, QLatin1Char('B') + n, QStringLiteral("BN") + n},
                             maxLength, this);
    if (lower)
        f->setTextCase(TextCase::Lower);
    names_ << n;
    return f;
}

QWidget* CompilePage::row(QGridLayout* grid, int& r, const QString& label, QWidget* field, int span)
{
    QWidget* buddy = field;
    if (auto* c = qobject_cast<CodedField*>(field))
        buddy = c->edit();
    auto* l = new QLabel(label, field->parentWidget());
    l->setObjectName(QLatin1Char('L') + buddy->objectName());
    l->setBuddy(buddy);
    grid->addWidget(l, r, 0, Qt::AlignRight);
    grid->addWidget(field, r, 1, 1, span, qobject_cast<CodedField*>(field) ? Qt::Alignment() : Qt::AlignLeft);
    ++r;
    return l;
}

QGroupBox* CompilePage::panel(const char* name, const QString& title)
{
    auto* g = new QGroupBox(title, this);
    g->setObjectName(QString::fromLatin1(name));
    return g;
}

void CompilePage::navigation(QLayout* into, int page, const QString& keys)
{
    auto* bar = new QHBoxLayout;
    auto* hint = new QLabel(QStringLiteral("F4: mostra la tabella   Maiusc+F4: Inserisce Nuovo Codice")
                                + (keys.isEmpty() ? QString() : QStringLiteral("   ") + keys),
                            this);
    hint->setObjectName(QStringLiteral("LTASTI"));
    hint->setEnabled(false); // a note, drawn grey
    if (page > 1) {
        const QByteArray name = "BPAG" + QByteArray::number(page - 1);
        previous = makeButton(this, name.constData(), QStringLiteral("Pagina %1").arg(page - 1));
        previous->setAutoDefault(true);
        bar->addWidget(previous);
        connect(previous, &QPushButton::clicked, this, &CompilePage::previousPage);
    }
    bar->addStretch(1);
    bar->addWidget(hint);
    bar->addStretch(1);
    const QByteArray name = "BPAG" + QByteArray::number(page + 1);
    next = makeButton(this, name.constData(), QStringLiteral("Pagina %1").arg(page + 1));
    next->setAutoDefault(true);
    bar->addWidget(next);
    connect(next, &QPushButton::clicked, this, &CompilePage::nextPage);
    // Tab and Enter reach the page buttons; a click leaves the focus in the field, whose leave
    // then runs before the page changes.
    for (QPushButton* b : {previous, next})
        if (b)
            b->setFocusPolicy(Qt::TabFocus);
    if (auto* box = qobject_cast<QBoxLayout*>(into))
        box->addLayout(bar);
}

void CompilePage::onLeave(QWidget* field, std::function<CheckResult()> check)
{
    checks_.onLeave(field, [this, field, check = std::move(check)] {
        if (passAll_ || passedOver_ == field) {
            passedOver_.clear();
            return CheckResult::pass();
        }
        return field->isVisible() ? check() : CheckResult::pass();
    });
}

void CompilePage::passOverPendingLeave()
{
    passAll_ = true;
    QMetaObject::invokeMethod(this, [this] { passAll_ = false; }, Qt::QueuedConnection);
}

void CompilePage::focusFromLeave(QWidget* to)
{
    QWidget* current = QApplication::focusWidget();
    if (current && current != to)
        passedOver_ = current;
    to->setFocus(Qt::OtherFocusReason);
    // The leave of the field passed over is queued by the focus change; anything later is the user's.
    QMetaObject::invokeMethod(this, [this] { passedOver_.clear(); }, Qt::QueuedConnection);
}

void CompilePage::onLeaveDo(QWidget* field, std::function<void()> action)
{
    onLeave(field, [action = std::move(action)] {
        action();
        return CheckResult::pass();
    });
}

void CompilePage::functionKey(QPushButton* button, Qt::Key key)
{
    const QKeySequence sequence(key);
    button->setToolTip(button->text() + QStringLiteral(" (") + sequence.toString(QKeySequence::NativeText) + QLatin1Char(')'));
    auto* s = new QShortcut(sequence, this);
    s->setContext(Qt::WidgetWithChildrenShortcut);
    connect(s, &QShortcut::activated, button, [button] {
        if (button->isVisible())
            button->click();
    });
}

void CompilePage::readInto(EadForm& f) const
{
    for (const QString& n : names_)
        if (auto* e = findChild<QLineEdit*>(n))
            f[n] = e->text();
}

void CompilePage::showForm(const EadForm& f)
{
    for (const QString& n : names_)
        if (auto* e = findChild<QLineEdit*>(n)) {
            if (auto* d = qobject_cast<DecimalEdit*>(e))
                d->setValueText(f[n]);
            else
                e->setText(f[n]);
            e->setCursorPosition(0);
        }
}

void CompilePage::numbersOnly(QLineEdit* edit, bool decimal)
{
    static const QRegularExpression integer(QStringLiteral("\\d*"));
    static const QRegularExpression grouped(QStringLiteral("[\\d.]*(,\\d*)?"));
    edit->setValidator(new QRegularExpressionValidator(decimal ? grouped : integer, edit));
}

CheckResult CompilePage::lookupOrPick(CodedField* field, bool invalidText)
{
    if (field->lookup())
        return CheckResult::pass();
    if (!invalidText)
        field->companion()->clear();
    field->pick();
    if (field->lookup())
        return CheckResult::pass();
    return CheckResult::fail({}, field->edit()->objectName());
}

std::optional<TRecIndirizzo> CompilePage::pickAddress(const QString& file)
{
    const QString savedTable = ctx_.TableName;
    ctx_.TableName = file;
    ctx_.PickedCode = -1;
    openWindow(QStringLiteral("TFLISTVIEW"), ctx_, window());
    ctx_.TableName = savedTable;
    if (ctx_.PickedCode < 0)
        return std::nullopt;
    TRecIndirizzo search = blankCompany();
    search.number = ctx_.PickedCode;
    try {
        return FindAddress(AddressSearch::Code, search, AddressFilePath(ctx_, file));
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return std::nullopt;
    }
}

std::optional<TRecIndirizzo> CompilePage::insertAddress(const QString& file)
{
    const QString savedTable = ctx_.TableName, savedFile = ctx_.AddressFile;
    const bool savedFromMenu = ctx_.FromMenu;
    ctx_.TableName = file;
    ctx_.AddressFile = file;
    ctx_.FromMenu = false; // the insert window closes once the address is written
    ctx_.CurrentAddress = blankCompany();
    ctx_.CurrentAddress.number = 0;
    const bool consignee = file == kConsigneeFile;
    openWindow(consignee ? QStringLiteral("TFINSDESTINATARI") : QStringLiteral("TFINSINDIRIZZO"), ctx_, window());
    ctx_.TableName = savedTable;
    ctx_.AddressFile = savedFile;
    ctx_.FromMenu = savedFromMenu;
    if (ctx_.CurrentAddress.number <= 0)
        return std::nullopt;
    TRecIndirizzo r = ctx_.CurrentAddress;
    trimCompany(r);
    return r;
}

SummaryPage buildSummaryPage(QWidget* page, const char* backName, const QString& backCaption,
                             Qt::FocusPolicy summaryFocus)
{
    SummaryPage p;
    p.RIEPILOGO = new QTextEdit(page);
    p.RIEPILOGO->setObjectName(QStringLiteral("RIEPILOGO"));
    p.RIEPILOGO->setReadOnly(true);
    p.RIEPILOGO->setLineWrapMode(QTextEdit::NoWrap);
    p.RIEPILOGO->setFocusPolicy(summaryFocus);
    QFont mono(QStringLiteral("Courier New"), 9);
    mono.setStyleHint(QFont::Monospace);
    p.RIEPILOGO->setFont(mono);
    p.back = makeButton(page, backName, backCaption);
    p.BSTAMPA = makeButton(page, "BSTAMPA", QStringLiteral("&STAMPA"));
    p.BCONF = makeButton(page, "BCONF", QStringLiteral("&CONFERMA"));
    p.BABBANDONA = makeButton(page, "BABBANDONA", QStringLiteral("&Abbandona"));
    for (QPushButton* b : {p.back, p.BSTAMPA, p.BCONF, p.BABBANDONA})
        b->setAutoDefault(true);
    auto* bar = new QHBoxLayout;
    bar->addWidget(p.back);
    bar->addStretch(1);
    bar->addWidget(p.BSTAMPA);
    bar->addWidget(p.BCONF);
    bar->addWidget(p.BABBANDONA);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(p.RIEPILOGO, 1);
    layout->addLayout(bar);
    QWidget::setTabOrder(p.BCONF, p.BSTAMPA);
    QWidget::setTabOrder(p.BSTAMPA, p.BABBANDONA);
    QWidget::setTabOrder(p.BABBANDONA, p.back);
    return p;
}

void showPageCheck(FormChecks& checks, Messenger& messenger, const CheckResult& r)
{
    if (checks.show(r))
        return;
    const QString closing = pageCheckClosing(r);
    if (!closing.isEmpty())
        messenger.info(closing);
}

int requestedPage(QTabWidget* tabs, QObject* watched, QEvent* event)
{
    if (watched == tabs->tabBar() && event->type() == QEvent::MouseButtonPress) {
        auto* m = static_cast<QMouseEvent*>(event);
        if (m->button() == Qt::LeftButton)
            return tabs->tabBar()->tabAt(m->position().toPoint());
    } else if (watched == tabs && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->modifiers() & Qt::ControlModifier) {
            if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_PageDown)
                return tabs->currentIndex() + 1;
            if (k->key() == Qt::Key_Backtab || k->key() == Qt::Key_PageUp)
                return tabs->currentIndex() - 1;
        }
    }
    return -1;
}

} // namespace vt
