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
    : TableRowEditor(ctx, QStringLiteral("TA20"), QStringLiteral("TFCODICI_NC"), QStringLiteral("&Elenca"), parent)
{
    setWindowTitle(QStringLiteral("Codici Identificativi del Vino (TA20)"));

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);

    grid->addWidget(modifyLabel(), 0, 1, 1, 3);

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
    grid->addWidget(BELENCA, 2, 3, Qt::AlignLeft);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setFixedHeight(Memo1->fontMetrics().lineSpacing() * 4 + 12);
    new MemoLimit(Memo1, ctx_.messenger());
    auto* lDesc = new QLabel(QStringLiteral("Descrizione"), this);
    lDesc->setBuddy(Memo1);
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

    grid->setRowMinimumHeight(5, 12);
    grid->addLayout(buttonRow(false), 6, 0, 1, 4);
    setMinimumWidth(560);

    checks_->onLeave(ME0, [this] { return leaveKey(); });
    checks_->onLeave(MDALLA, [this] { return checkDates(); });
    checks_->onLeave(MALLA, [this] { return checkDates(); });

    MDALLA->setDate(ctx_.clock().today());
    MALLA->setText(QStringLiteral("01/01/2050"));
    ready_ = true; // the structure is looked for on each opening
    finishSetup();
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

CheckResult TFCODICI_NC::checkKey()
{
    return CheckTa20Prefix(ME0->text());
}

std::optional<TRecTabella> TFCODICI_NC::findRow(const QString& code)
{
    ctx_.EditRow.Fld[0] = code;
    return FindCode(ctx_, table_, code);
}

void TFCODICI_NC::clearFields()
{
    // The dates are kept from one row to the next.
    ME0->clear();
    Memo1->clear();
}

void TFCODICI_NC::focusKey()
{
    ME0->setFocus(Qt::OtherFocusReason);
    ME0->setCursorPosition(0);
}

void TFCODICI_NC::showRow(const TRecTabella& row)
{
    Memo1->setPlainText(row.Fld[1]);
    MDALLA->setText(dates::ddmmyyyy(row.ValA[0]));
    MALLA->setText(dates::ddmmyyyy(row.ValA[1]));
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

bool TFCODICI_NC::buildRow()
{
    if (!checks_->show(checkDates()))
        return false;
    ctx_.EditRow.Fld[0] = ME0->text();
    ctx_.EditRow.Fld[1] = Memo1->toPlainText();
    return true;
}

CheckResult TFCODICI_NC::checkKeyFree()
{
    return CheckCodeFree(ctx_, table_, ME0->text(), oldCode_, modify_, QStringLiteral("ME0"));
}

std::int32_t TFCODICI_NC::saveRow(std::optional<std::int32_t> replacing)
{
    return SaveCodeRow(ctx_, table_, replacing);
}

void TFCODICI_NC::deleteRow(std::int32_t number)
{
    DeleteCodeRow(ctx_, table_, number);
}

void TFCODICI_NC::saved(std::int32_t number)
{
    if (ctx_.NewCodeMode) {
        TrimRow(ctx_.EditRow);
        accept();
        return;
    }
    TableRowEditor::saved(number);
}

} // namespace vt
