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

TFCODICI::TFCODICI(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx), table_(trimField(ctx.TableName))
{
    setObjectName(QStringLiteral("TFCODICI"));
    checks_ = new FormChecks(this, ctx_.messenger());

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);

    LMODCANC = new QLabel(QStringLiteral("MODIFICA o CANCELLA"), this);
    LMODCANC->setObjectName(QStringLiteral("LMODCANC"));
    LMODCANC->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    grid->addWidget(LMODCANC, 0, 1, 1, 2);

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
    BELENCA = makeButton(this, "BELENCA", QStringLiteral("&Elenca"));
    auto* codeRow = new QHBoxLayout;
    codeRow->setSpacing(5);
    codeRow->addWidget(le_[0]);
    codeRow->addWidget(BELENCA);
    codeRow->addStretch(1);
    grid->addLayout(codeRow, 1, 1);
    grid->setColumnStretch(2, 1);

    BCONF = makeButton(this, "BCONF", QStringLiteral("&CONFERMA"));
    BSVUOTA = makeButton(this, "BSVUOTA", QStringLiteral("&Svuota"));
    BCANCELLA = makeButton(this, "BCANCELLA", QStringLiteral("Cance&lla"));
    BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(BCONF);
    buttons->addWidget(BSVUOTA);
    buttons->addWidget(BCANCELLA);
    buttons->addStretch(1);
    buttons->addWidget(BABBANDONA);
    grid->setRowMinimumHeight(5, 12);
    grid->addLayout(buttons, 6, 0, 1, 3);
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

    checks_->attach();
    checks_->onLeaveDo(le_[0], [this] { leaveCode(); });
    checks_->onLeave(le_[2], [this] { return CheckYesNoFlags(le_[2]->text(), shown(2), le_[3]->text(), false); });
    checks_->onLeave(le_[3], [this] { return CheckYesNoFlags(le_[2]->text(), shown(2), le_[3]->text(), shown(3)); });

    connect(BCONF, &QPushButton::clicked, this, &TFCODICI::confirm);
    connect(BSVUOTA, &QPushButton::clicked, this, &TFCODICI::reset);
    connect(BCANCELLA, &QPushButton::clicked, this, &TFCODICI::remove);
    connect(BELENCA, &QPushButton::clicked, this, &TFCODICI::list);
    connect(BABBANDONA, &QPushButton::clicked, this, &QDialog::reject);

    reset();
}

int TFCODICI::exec()
{
    if (!ready_)
        return QDialog::Rejected;
    return QDialog::exec();
}

bool TFCODICI::shown(int i) const
{
    return present_[i];
}

void TFCODICI::reset()
{
    ctx_.EditRow = blankRow();
    ctx_.EditRow.Ext[0] = table_;
    for (QLineEdit* e : le_)
        e->clear();
    modify_ = false;
    oldCode_.clear();
    oldNumber_ = 0;
    LMODCANC->hide();
    BCANCELLA->hide();
    BELENCA->show();
    checks_->resetTouched();
    le_[0]->setFocus(Qt::OtherFocusReason);
}

void TFCODICI::enterModify(const TRecTabella& row)
{
    modify_ = true;
    oldCode_ = row.Fld[0];
    oldNumber_ = row.Num;
    for (int i = 0; i < 4; ++i)
        if (i < 2 || shown(i))
            le_[i]->setText(row.Fld[i]);
    LMODCANC->show();
    BCANCELLA->show();
    BELENCA->hide();
}

void TFCODICI::leaveCode()
{
    const QString code = le_[0]->text();
    if (code.isEmpty() || code[0].unicode() <= 32) {
        checks_->focusField(QStringLiteral("LE1"));
        return;
    }
    if (modify_)
        return;
    try {
        ctx_.EditRow.Fld[0] = code;
        if (auto row = FindCode(ctx_, table_, code))
            enterModify(*row);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
}

bool TFCODICI::confirmChecks()
{
    const QString code = le_[0]->text();
    if (code.isEmpty() || code[0].unicode() <= 32) {
        checks_->focusField(QStringLiteral("LE1"));
        return false;
    }
    // An existing code typed and confirmed straight away: show its row for modification first,
    // instead of adding a second row with the same code.
    if (!modify_) {
        if (auto row = FindCode(ctx_, table_, code)) {
            enterModify(*row);
            checks_->focusField(QStringLiteral("LE2"));
            return false;
        }
    }
    if (!checks_->show(CheckYesNoFlags(le_[2]->text(), shown(2), le_[3]->text(), shown(3))))
        return false;
    for (int i = 0; i < 4; ++i)
        ctx_.EditRow.Fld[i] = le_[i]->text();
    return checks_->show(CheckCodeFree(ctx_, table_, code, oldCode_, modify_, QStringLiteral("LE1")));
}

void TFCODICI::confirm()
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

void TFCODICI::remove()
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

void TFCODICI::list()
{
    pickTableCodeInto(ctx_, table_, le_[0], *checks_);
}

} // namespace vt
