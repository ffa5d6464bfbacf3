#include "ui/TransportLinesEditor.h"

#include <algorithm>

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "foundation/AppContext.h"
#include "foundation/IoError.h"
#include "foundation/NumberFormat.h"
#include "messages/ead/EadLines.h"
#include "messages/ead/EadStore.h"
#include "ui/CodedField.h"
#include "ui/Edits.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"

namespace vt {

namespace {
QLineEdit* textEdit(QWidget* parent, const char* name, int maxLength, int chars)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    setupText(e, maxLength, TextCase::AsTyped);
    e->setMinimumWidth(widthForChars(e, chars));
    return e;
}
} // namespace

TransportLinesEditor::TransportLinesEditor(AppContext& ctx, FormChecks& checks, QWidget* parent)
    : QWidget(parent), ctx_(ctx), checks_(checks)
{
    setObjectName(QStringLiteral("DETTAGLITRASPORTO"));
    NDETRA = new IntegerEdit(ctx_.messenger(), this);
    NDETRA->setObjectName(QStringLiteral("NDETRA"));
    NDETRA->setMaxLength(2);
    // A pasted number obeys the same rule as typed keys.
    NDETRA->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), NDETRA));
    NDETRA->setFixedWidth(widthForChars(NDETRA, 3));
    UNITRA = new CodedField(ctx_, QStringLiteral("T009"), {"UNITRA", "DUNITRA", "BUNITRA", "BNUNITRA"}, 2, this);
    IDUNTR = textEdit(this, "IDUNTR", 35, 30);
    SIGTRA = textEdit(this, "SIGTRA", 35, 30);
    INSITR = textEdit(this, "INSITR", 250, 50);
    INAGTR = textEdit(this, "INAGTR", 250, 50);

    BCONFTRA = makeButton(this, "BCONFTRA", QStringLiteral("Conferma il dettaglio"));
    BCANTRA = makeButton(this, "BCANTRA", QStringLiteral("Cance&lla dettaglio"));
    BFINTRA = makeButton(this, "BFINTRA", QStringLiteral("Dettagli Finiti"));
    for (QPushButton* b : {BCONFTRA, BCANTRA, BFINTRA}) {
        b->setAutoDefault(true);          // Enter presses the button that has the focus
        b->setFocusPolicy(Qt::TabFocus); // a click leaves the focus in the field being typed
    }

    LMDETRA = new QLabel(QStringLiteral("Dettagli del trasporto inseriti:"), this);
    LMDETRA->setObjectName(QStringLiteral("LMDETRA"));
    MDETRA = new QListWidget(this);
    MDETRA->setObjectName(QStringLiteral("MDETRA"));
    MDETRA->setFocusPolicy(Qt::NoFocus);
    MDETRA->setMinimumHeight(80);

    auto* grid = new QGridLayout;
    int row = 0;
    auto add = [&](const QString& label, QWidget* w) {
        QWidget* buddy = w;
        if (auto* c = qobject_cast<CodedField*>(w))
            buddy = c->edit();
        grid->addWidget(buddyLabel(label, buddy), row, 0, Qt::AlignRight);
        grid->addWidget(w, row++, 1);
    };
    add(QStringLiteral("N° Dettaglio"), NDETRA);
    add(QStringLiteral("Unità di Trasporto"), UNITRA);
    add(QStringLiteral("Identificativo Unità di Trasp."), IDUNTR);
    add(QStringLiteral("Identificazione Commerciale dei sigilli se utilizzati "), SIGTRA);
    add(QStringLiteral("Informazioni sui sigilli se utilizzati"), INSITR);
    add(QStringLiteral("Informazioni aggiuntive riguardanti il trasporto"), INAGTR);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BCONFTRA);
    buttons->addWidget(BCANTRA);
    buttons->addStretch(1);
    buttons->addWidget(BFINTRA);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->addWidget(LMDETRA);
    layout->addWidget(MDETRA, 1);

    QWidget* order[] = {NDETRA, UNITRA->edit(), IDUNTR, SIGTRA, INSITR, INAGTR, BCONFTRA, BCANTRA, BFINTRA};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    // Only while the lines are shown: a page being hidden leaves no picker behind.
    checks_.onLeave(NDETRA, [this] {
        if (!NDETRA->isVisible())
            return CheckResult::pass();
        leaveNumber();
        const qint32 n = ParseInteger(NDETRA->text());
        return n >= 1 && n <= 99 ? CheckResult::pass() : CheckResult::fail({}, QStringLiteral("NDETRA"));
    });
    checks_.onLeave(UNITRA->edit(), [this] {
        if (!UNITRA->isVisible())
            return CheckResult::pass();
        return leaveUnit() ? CheckResult::pass() : CheckResult::fail({}, {});
    });
    // Back on the line number, no line is in hand until it is left again.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now == NDETRA)
            BCANTRA->hide();
    });
    connect(BCONFTRA, &QPushButton::clicked, this, &TransportLinesEditor::confirmLine);
    connect(BCANTRA, &QPushButton::clicked, this, &TransportLinesEditor::deleteLine);
    connect(BFINTRA, &QPushButton::clicked, this, &TransportLinesEditor::finished);
    BCANTRA->hide();
    BFINTRA->hide();
}

QWidget* TransportLinesEditor::firstField() const
{
    return NDETRA;
}

QWidget* TransportLinesEditor::lastButton() const
{
    return BFINTRA;
}

void TransportLinesEditor::clearFields()
{
    UNITRA->clear();
    for (QLineEdit* e : {IDUNTR, SIGTRA, INSITR, INAGTR})
        e->clear();
}

QStringList TransportLinesEditor::lineTexts() const
{
    return {UNITRA->code(), IDUNTR->text().trimmed(), SIGTRA->text().trimmed(), INSITR->text().trimmed(),
            INAGTR->text().trimmed()};
}

bool TransportLinesEditor::lineInProgress() const
{
    const QStringList now = lineTexts();
    const bool blank = std::all_of(now.begin(), now.end(), [](const QString& t) { return t.isEmpty(); });
    return !blank && now != shown_;
}

void TransportLinesEditor::list()
{
    clearFields();
    NDETRA->clear();
    MDETRA->clear();
    BCANTRA->hide();
    loaded_ = 0;
    shown_ = lineTexts();
    QList<TRecDettaglio> lines;
    try {
        lines = listWorkLines(eadfiles::transportWork(ctx_));
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
    int n = 0;
    for (const TRecDettaglio& l : lines)
        MDETRA->addItem(entryText ? entryText(l, ++n) : transportEntry(l, ++n));
    count_ = n;
    BFINTRA->setVisible(n > 0);
    NDETRA->setText(QString::number(n + 1));
}

void TransportLinesEditor::leaveNumber()
{
    const qint32 n = ParseInteger(NDETRA->text());
    loaded_ = 0;
    if (n < 1 || n > 99)
        return;
    BCANTRA->hide();
    try {
        const QList<TRecDettaglio> lines = listWorkLines(eadfiles::transportWork(ctx_));
        if (n > lines.size())
            return;
        const TransportLineFields f = transportFields(lines[n - 1]);
        UNITRA->setCode(f.UNITRA);
        UNITRA->lookup();
        IDUNTR->setText(f.IDUNTR);
        SIGTRA->setText(f.SIGTRA);
        INSITR->setText(f.INSITR);
        INAGTR->setText(f.INAGTR);
        BCANTRA->show();
        loaded_ = n;
        shown_ = lineTexts();
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
}

bool TransportLinesEditor::leaveUnit()
{
    if (UNITRA->code().isEmpty() && count_ > 0 && ParseInteger(NDETRA->text()) > count_) {
        // No more lines: on to the next page.
        BFINTRA->setFocus(Qt::OtherFocusReason);
        return true;
    }
    if (UNITRA->lookup())
        return true;
    UNITRA->pick();
    return UNITRA->lookup();
}

bool TransportLinesEditor::confirmLine()
{
    // Clicked straight from a field: that field is left first (the unit looked up, a line loaded).
    if (!checks_.runPendingLeave())
        return false;
    if (!UNITRA->lookup()) {
        UNITRA->edit()->setFocus(Qt::OtherFocusReason);
        return false;
    }
    const qint32 n = ParseInteger(NDETRA->text());
    if (n < 1 || n > 99) {
        NDETRA->setFocus(Qt::OtherFocusReason);
        return false;
    }
    TRecDettaglio line;
    const CheckResult built = buildTransportLine({UNITRA->code(), IDUNTR->text(), SIGTRA->text(), INSITR->text(),
                                                  INAGTR->text()},
                                                 line);
    if (!checks_.show(built))
        return false;
    try {
        putWorkLine(eadfiles::transportWork(ctx_), n, line);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return false;
    }
    list();
    NDETRA->setFocus(Qt::OtherFocusReason);
    NDETRA->selectAll();
    return true;
}

void TransportLinesEditor::deleteLine()
{
    // Only the line on show is deleted: a number typed but not yet left shows its line first.
    const int shown = loaded_;
    if (!checks_.runPendingLeave())
        return;
    const qint32 n = ParseInteger(NDETRA->text());
    if (n != shown)
        return;
    if (n >= 1 && n <= 99) {
        try {
            deleteWorkLine(eadfiles::transportWork(ctx_), n);
        } catch (const IoError& e) {
            ctx_.messenger().info(e.text());
        }
    }
    list();
    NDETRA->setFocus(Qt::OtherFocusReason);
    NDETRA->selectAll();
}

} // namespace vt
