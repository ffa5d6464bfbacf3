#include "ui/CodedField.h"
#include "masterdata/TFCODICI_NC.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/WindowRegistry.h"
#include "foundation/Dates.h"
#include "foundation/IoError.h"
#include "foundation/Tables.h"
#include "foundation/Text.h"
#include "masterdata/CodeTables.h"
#include "ui/Edits.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"

namespace vt {

namespace {
constexpr int kDescriptionMax = 250;


// The description holds at most 250 characters: a key that would add one more beeps.
class MemoLimit : public QObject {
public:
    MemoLimit(QPlainTextEdit* memo, Messenger& m) : QObject(memo), memo_(memo), m_(m)
    {
        memo->installEventFilter(this);
        connect(memo, &QPlainTextEdit::textChanged, this, [this] {
            const QString t = memo_->toPlainText();
            if (t.size() > kDescriptionMax) { // pasted: cut to the limit
                memo_->setPlainText(t.left(kDescriptionMax));
                memo_->moveCursor(QTextCursor::End);
                m_.beep();
            }
        });
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress)
            return false;
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->text().isEmpty() || k->text()[0].unicode() < 32 || memo_->textCursor().hasSelection())
            return false;
        if (memo_->toPlainText().size() >= kDescriptionMax || !isCp1252(k->text())) {
            m_.beep();
            return true;
        }
        return false;
    }

private:
    QPlainTextEdit* memo_;
    Messenger& m_;
};
} // namespace

TFCODICI_NC::TFCODICI_NC(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), table_(QStringLiteral("TA20"))
{
    setObjectName(QStringLiteral("TFCODICI_NC"));
    setWindowTitle(QStringLiteral("Codici Identificativi del Vino (TA20)"));
    checks_ = new FormChecks(this, ctx_.messenger());

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);

    LMODCANC = new QLabel(QStringLiteral("MODIFICA o CANCELLA"), this);
    LMODCANC->setObjectName(QStringLiteral("LMODCANC"));
    LMODCANC->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    grid->addWidget(LMODCANC, 0, 1, 1, 3);

    auto* codeLabel = new QLabel(QStringLiteral("CPA            NC           Taric   Cadd"), this);
    grid->addWidget(codeLabel, 1, 1, 1, 3);
    ME0 = new QLineEdit(this);
    ME0->setObjectName(QStringLiteral("ME0"));
    ME0->setInputMask(QStringLiteral(">A999-99999999-NN-NNNN; "));
    QFont mono(QStringLiteral("Monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    ME0->setFont(mono);
    codeLabel->setFont(mono);
    ME0->setFixedWidth(QFontMetrics(mono).horizontalAdvance(QString(24, QLatin1Char('W'))));
    auto* lCode = new QLabel(QStringLiteral("Codice"), this);
    lCode->setBuddy(ME0);
    grid->addWidget(lCode, 2, 0, Qt::AlignRight);
    grid->addWidget(ME0, 2, 1, 1, 2, Qt::AlignLeft);
    BELENCA = makeButton(this, "BELENCA", QStringLiteral("&Elenca"));
    grid->addWidget(BELENCA, 2, 3, Qt::AlignLeft);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setFixedHeight(Memo1->fontMetrics().lineSpacing() * 4 + 12);
    new MemoLimit(Memo1, ctx_.messenger());
    auto* lDesc = new QLabel(QStringLiteral("Descrizione"), this);
    grid->addWidget(lDesc, 3, 0, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(Memo1, 3, 1, 1, 3);

    MDALLA = new DateEdit(this);
    MDALLA->setObjectName(QStringLiteral("MDALLA"));
    MALLA = new DateEdit(this);
    MALLA->setObjectName(QStringLiteral("MALLA"));
    for (DateEdit* d : {MDALLA, MALLA})
        d->setFixedWidth(d->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 12);
    auto* lFrom = new QLabel(QStringLiteral("Codice valido dal"), this);
    auto* lTo = new QLabel(QStringLiteral("al"), this);
    lFrom->setBuddy(MDALLA);
    lTo->setBuddy(MALLA);
    auto* dates = new QHBoxLayout;
    dates->addWidget(MDALLA);
    dates->addSpacing(12);
    dates->addWidget(lTo);
    dates->addWidget(MALLA);
    dates->addStretch(1);
    grid->addWidget(lFrom, 4, 0, Qt::AlignRight);
    grid->addLayout(dates, 4, 1, 1, 3);
    grid->setColumnStretch(3, 1);

    BCONF = makeButton(this, "BCONF", QStringLiteral("&CONFERMA"));
    BSVUOTA = makeButton(this, "BSVUOTA", QStringLiteral("&Svuota"));
    BCANCELLA = makeButton(this, "BCANCELLA", QStringLiteral("Cance&lla"));
    BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BCONF);
    buttons->addWidget(BSVUOTA);
    buttons->addWidget(BCANCELLA);
    buttons->addStretch(1);
    buttons->addWidget(BABBANDONA);
    grid->setRowMinimumHeight(5, 12);
    grid->addLayout(buttons, 6, 0, 1, 4);
    setMinimumWidth(560);

    checks_->attach();
    checks_->onLeave(ME0, [this] {
        CheckResult r = CheckTa20Prefix(code());
        if (r)
            leaveCode();
        return r;
    });
    checks_->onLeave(MDALLA, [this] { return checkDates(); });
    checks_->onLeave(MALLA, [this] { return checkDates(); });

    connect(BCONF, &QPushButton::clicked, this, &TFCODICI_NC::confirm);
    connect(BSVUOTA, &QPushButton::clicked, this, &TFCODICI_NC::reset);
    connect(BCANCELLA, &QPushButton::clicked, this, &TFCODICI_NC::remove);
    connect(BELENCA, &QPushButton::clicked, this, &TFCODICI_NC::list);
    connect(BABBANDONA, &QPushButton::clicked, this, &QDialog::reject);

    MDALLA->setDate(ctx_.clock().today());
    MALLA->setText(QStringLiteral("01/01/2050"));
    reset();
}

int TFCODICI_NC::exec()
{
    bool present = false;
    try {
        present = ReadStructure(ctx_, table_).has_value();
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return QDialog::Rejected;
    }
    if (!present) {
        ctx_.messenger().info(kStructureMissing);
        return QDialog::Rejected;
    }
    return QDialog::exec();
}

QString TFCODICI_NC::code() const
{
    return ME0->text();
}

void TFCODICI_NC::reset()
{
    ctx_.EditRow = blankRow();
    ctx_.EditRow.Ext[0] = table_;
    ME0->clear();
    Memo1->clear();
    modify_ = false;
    oldCode_.clear();
    oldNumber_ = 0;
    LMODCANC->hide();
    BCANCELLA->hide();
    BELENCA->show();
    checks_->resetTouched();
    ME0->setFocus(Qt::OtherFocusReason);
    ME0->setCursorPosition(0);
}

void TFCODICI_NC::enterModify(const TRecTabella& row)
{
    modify_ = true;
    oldCode_ = row.Fld[0];
    oldNumber_ = row.Num;
    Memo1->setPlainText(row.Fld[1]);
    MDALLA->setText(dates::ddmmyyyy(row.ValA[0]));
    MALLA->setText(dates::ddmmyyyy(row.ValA[1]));
    LMODCANC->show();
    BCANCELLA->show();
    BELENCA->hide();
}

void TFCODICI_NC::leaveCode()
{
    if (modify_)
        return;
    try {
        ctx_.EditRow.Fld[0] = code();
        if (auto row = FindCode(ctx_, table_, code()))
            enterModify(*row);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
}

CheckResult TFCODICI_NC::checkDates()
{
    CheckResult r = CheckValidity(MDALLA->date(), MALLA->date());
    if (r) {
        ctx_.EditRow.ValA[0] = dates::fromDate(MDALLA->date());
        ctx_.EditRow.ValA[1] = dates::fromDate(MALLA->date());
    }
    return r;
}

bool TFCODICI_NC::confirmChecks()
{
    if (!checks_->show(CheckTa20Prefix(code())))
        return false;
    if (!modify_) {
        if (auto row = FindCode(ctx_, table_, code())) {
            enterModify(*row);
            checks_->focusField(QStringLiteral("Memo1"));
            return false;
        }
    }
    if (!checks_->show(checkDates()))
        return false;
    ctx_.EditRow.Fld[0] = code();
    ctx_.EditRow.Fld[1] = Memo1->toPlainText();
    return checks_->show(CheckCodeFree(ctx_, table_, code(), oldCode_, modify_, QStringLiteral("ME0")));
}

void TFCODICI_NC::confirm()
{
    try {
        if (!confirmChecks())
            return;
        SaveCodeRow(ctx_, table_, modify_ ? std::optional<std::int32_t>(oldNumber_) : std::nullopt);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    if (ctx_.NewCodeMode) {
        TrimRow(ctx_.EditRow);
        accept();
        return;
    }
    reset();
}

void TFCODICI_NC::remove()
{
    if (!modify_)
        return;
    try {
        DeleteCodeRow(ctx_, table_, oldNumber_);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    reset();
}

void TFCODICI_NC::list()
{
    pickTableCodeInto(ctx_, table_, ME0, *checks_);
}

} // namespace vt
