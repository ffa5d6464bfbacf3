#include "ui/CodedField.h"
#include "ui/FormChecks.h"

#include <QHBoxLayout>

#include "ui/WindowRegistry.h"
#include "ui/Widgets.h"
#include "foundation/AppContext.h"
#include "foundation/IoError.h"
#include "foundation/Tables.h"
#include "foundation/Text.h"

namespace vt {

CodedField::CodedField(AppContext& ctx, const QString& table, const Names& names, int maxLength, QWidget* parent)
    : QWidget(parent), ctx_(ctx), table_(table)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);

    edit_ = new QLineEdit(this);
    edit_->setObjectName(names.edit);
    setupText(edit_, maxLength, TextCase::Upper);
    const int chars = std::max(maxLength, 4) + 2;
    edit_->setFixedWidth(edit_->fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('W'))) * 3 / 4 + 12);
    row->addWidget(edit_);

    list_ = new QToolButton(this);
    list_->setObjectName(names.listButton);
    list_->setText(QStringLiteral("..."));
    list_->setToolTip(QStringLiteral("mostra la tabella"));
    list_->setFocusPolicy(Qt::NoFocus);
    connect(list_, &QToolButton::clicked, this, &CodedField::pick);
    row->addWidget(list_);

    if (!names.newButton.isEmpty()) {
        new_ = new QToolButton(this);
        new_->setObjectName(names.newButton);
        new_->setText(QStringLiteral("..."));
        new_->setToolTip(QStringLiteral("Inserisce Nuovo Codice"));
        new_->setFocusPolicy(Qt::NoFocus);
        connect(new_, &QToolButton::clicked, this, &CodedField::newCode);
        row->addWidget(new_);
    }

    companion_ = new QLineEdit(this);
    companion_->setObjectName(names.companion);
    companion_->setReadOnly(true);
    companion_->setFocusPolicy(Qt::NoFocus);
    QPalette pal = companion_->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Window));
    companion_->setPalette(pal);
    row->addWidget(companion_, 1);

    setFocusProxy(edit_);

    // From the keyboard: F4 opens the listing, Shift+F4 the new-code editor; the field's
    // tooltip says so.
    bindFieldKey(edit_, QKeySequence(Qt::Key_F4), list_);
    bindFieldKey(edit_, QKeySequence(Qt::SHIFT | Qt::Key_F4), new_);
}

void CodedField::setTextCase(TextCase c)
{
    setupText(edit_, edit_->maxLength(), c);
}

QString CodedField::code() const
{
    return trimField(edit_->text());
}

void CodedField::setCode(const QString& code)
{
    edit_->setText(code);
}

void CodedField::clear()
{
    edit_->clear();
    companion_->clear();
    row_.reset();
}

bool CodedField::lookup()
{
    row_.reset();
    try {
        row_ = LookupCode(ctx_, table_, edit_->text());
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
    companion_->setText(row_ ? row_->Fld[1] : kInvalidCode);
    companion_->setCursorPosition(0);
    return row_.has_value();
}

std::optional<QString> pickTableCode(AppContext& ctx, const QString& table, QWidget* parent)
{
    const QString savedTable = ctx.TableName;
    ctx.TableName = table;
    ctx.PickedCode = -1;
    openWindow(QStringLiteral("TFLISTVIEW"), ctx, parent);
    ctx.TableName = savedTable;
    if (ctx.PickedCode < 0)
        return std::nullopt;
    QString chosen;
    try {
        if (FindRowByNumber(ctx, ctx.PickedCode, tablePath(ctx, table, ".TAB")))
            chosen = trimField(ctx.FoundRow.Fld[0]);
    } catch (const IoError& e) {
        ctx.messenger().info(e.text());
    }
    return chosen;
}

void pickTableCodeInto(AppContext& ctx, const QString& table, QLineEdit* edit, FormChecks& checks)
{
    if (auto code = pickTableCode(ctx, table, edit->window())) {
        edit->setText(*code);
        checks.setTouched(true);
    }
    edit->setFocus(Qt::OtherFocusReason);
}

void CodedField::pick()
{
    if (auto chosen = pickTableCode(ctx_, table_, window())) {
        setCode(*chosen);
        lookup();
        emit picked();
    }
    edit_->setFocus(Qt::OtherFocusReason);
}

void CodedField::newCode()
{
    const QString savedTable = ctx_.TableName;
    ctx_.TableName = table_;
    ctx_.EditRow = blankRow();
    TrimRow(ctx_.EditRow);
    OpenCodeTable(ctx_, true);
    ctx_.NewCodeMode = false;
    ctx_.TableName = savedTable;
    // A code editor left without confirming leaves nothing: the field keeps what it had.
    const QString entered = trimField(ctx_.EditRow.Fld[0]);
    if (!entered.isEmpty()) {
        setCode(entered);
        lookup();
        emit picked();
    }
    edit_->setFocus(Qt::OtherFocusReason);
}

} // namespace vt
