#include "ui/CodedField.h"
#include "masterdata/TFCODICI.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "ui/WindowRegistry.h"
#include "foundation/IoError.h"
#include "foundation/Tables.h"
#include "foundation/Text.h"
#include "masterdata/CodeTables.h"
#include "ui/Edits.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"

namespace vt {

TFCODICI::TFCODICI(AppContext& ctx, QWidget* parent)
    : TableRowEditor(ctx, trimField(ctx.TableName), QStringLiteral("TFCODICI"), QStringLiteral("&Elenca"), parent)
{
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    grid->addWidget(modifyLabel(), 0, 1, 1, 2);

    for (int i = 0; i < 4; ++i) {
        labels_[i] = new QLabel(this);
        le_[i] = new QLineEdit(this);
        le_[i]->setObjectName(QStringLiteral("LE%1").arg(i + 1));
        labels_[i]->setBuddy(le_[i]);
        grid->addWidget(labels_[i], i + 1, 0, Qt::AlignRight | Qt::AlignVCenter);
        if (i > 0)
            grid->addWidget(le_[i], i + 1, 1, Qt::AlignLeft);
    }
    // Languages (T001) are lower-case codes; every other table is upper case.
    setupText(le_[0], 0, table_ == QLatin1String("T001") ? TextCase::Lower : TextCase::Upper);
    setupText(le_[1], 0);
    setupText(le_[2], 0, TextCase::Upper);
    setupText(le_[3], 0, TextCase::Upper);

    // The list button 5 pixels right of the code.
    auto* codeRow = new QHBoxLayout;
    codeRow->setSpacing(5);
    codeRow->addWidget(le_[0]);
    codeRow->addWidget(BELENCA);
    codeRow->addStretch(1);
    grid->addLayout(codeRow, 1, 1);
    grid->setColumnStretch(2, 1);

    grid->setRowMinimumHeight(5, 12);
    grid->addLayout(buttonRow(false), 6, 0, 1, 3);
    grid->setRowStretch(5, 1);

    std::optional<CodeEditorLayout> layout;
    try {
        layout = ReadEditorLayout(ctx_, table_);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    if (!layout) {
        ctx_.messenger().info(kStructureMissing);
        return;
    }
    ready_ = true;
    setWindowTitle(layout->title);

    const QFontMetrics fm(le_[0]->font());
    int widest = 0;
    for (int i = 0; i < 4; ++i) {
        present_[i] = layout->lengths[i] > 0;
        const bool visible = i < 2 || present_[i];
        labels_[i]->setText(layout->labels[i]);
        if (present_[i]) {
            le_[i]->setMaxLength(layout->lengths[i]);
            const int w = std::min(fm.horizontalAdvance(QString(layout->lengths[i] + 1, QLatin1Char('W'))), 700);
            le_[i]->setFixedWidth(std::max(w, 40));
            widest = std::max(widest, le_[i]->width());
        }
        le_[i]->setVisible(visible);
        labels_[i]->setVisible(visible);
    }
    // The flags start hidden and appear only when the structure has them.
    const int screenLimit = ctx_.ScreenWidthLimit > 0 ? ctx_.ScreenWidthLimit : 1600;
    setMinimumWidth(std::min(fm.horizontalAdvance(QStringLiteral("WWWWWWWWWW")) + std::max(400, widest), screenLimit));

    checks_->onLeave(le_[0], [this] { return leaveKey(); });
    checks_->onLeave(le_[2], [this] { return CheckYesNoFlags(le_[2]->text(), shown(2), le_[3]->text(), false); });
    checks_->onLeave(le_[3], [this] { return CheckYesNoFlags(le_[2]->text(), shown(2), le_[3]->text(), shown(3)); });
    finishSetup();
}

bool TFCODICI::shown(int i) const
{
    return present_[i];
}

CheckResult TFCODICI::checkKey()
{
    const QString code = le_[0]->text();
    if (code.isEmpty() || code[0].unicode() <= 32)
        return CheckResult::quiet(QStringLiteral("DIGITARE IL CODICE"), QStringLiteral("LE1"));
    return CheckResult::pass();
}

std::optional<TRecTabella> TFCODICI::findRow(const QString& code)
{
    ctx_.EditRow.Fld[0] = code;
    return FindCode(ctx_, table_, code);
}

void TFCODICI::clearFields()
{
    for (QLineEdit* e : le_)
        e->clear();
}

void TFCODICI::showRow(const TRecTabella& row)
{
    for (int i = 0; i < 4; ++i)
        if (i < 2 || shown(i))
            le_[i]->setText(row.Fld[i]);
}

bool TFCODICI::buildRow()
{
    if (!checks_->show(CheckYesNoFlags(le_[2]->text(), shown(2), le_[3]->text(), shown(3))))
        return false;
    for (int i = 0; i < 4; ++i)
        ctx_.EditRow.Fld[i] = le_[i]->text();
    return true;
}

CheckResult TFCODICI::checkKeyFree()
{
    return CheckCodeFree(ctx_, table_, le_[0]->text(), oldCode_, modify_, QStringLiteral("LE1"));
}

std::int32_t TFCODICI::saveRow(std::optional<std::int32_t> replacing)
{
    return SaveCodeRow(ctx_, table_, replacing);
}

void TFCODICI::deleteRow(std::int32_t number)
{
    DeleteCodeRow(ctx_, table_, number);
}

void TFCODICI::saved(std::int32_t number)
{
    if (ctx_.NewCodeMode) {
        TrimRow(ctx_.EditRow);
        accept();
        return;
    }
    TableRowEditor::saved(number);
}

} // namespace vt
