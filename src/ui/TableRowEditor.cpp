#include "ui/TableRowEditor.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "foundation/IoError.h"
#include "foundation/Services.h"
#include "foundation/Tables.h"
#include "foundation/Text.h"
#include "ui/CodedField.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"

namespace vt {

TableRowEditor::TableRowEditor(AppContext& ctx, const QString& table, const QString& objectName,
                               const QString& listCaption, QWidget* parent)
    : QDialog(parent), ctx_(ctx), table_(table)
{
    setObjectName(objectName);
    checks_ = new FormChecks(this, ctx_.messenger());
    BCONF = makeButton(this, "BCONF", QStringLiteral("&CONFERMA"));
    BSVUOTA = makeButton(this, "BSVUOTA", QStringLiteral("&Svuota"));
    BELENCA = makeButton(this, "BELENCA", listCaption);
    BCANCELLA = makeButton(this, "BCANCELLA", QStringLiteral("Cance&lla"));
    BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));
}

int TableRowEditor::exec()
{
    if (!ready_)
        return QDialog::Rejected;
    return QDialog::exec();
}

QLabel* TableRowEditor::modifyLabel()
{
    LMODCANC = new QLabel(QStringLiteral("MODIFICA o CANCELLA"), this);
    LMODCANC->setObjectName(QStringLiteral("LMODCANC"));
    LMODCANC->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    return LMODCANC;
}

QHBoxLayout* TableRowEditor::buttonRow(bool withListButton)
{
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(BCONF);
    buttons->addWidget(BSVUOTA);
    if (withListButton)
        buttons->addWidget(BELENCA);
    buttons->addWidget(BCANCELLA);
    buttons->addStretch(1);
    buttons->addWidget(BABBANDONA);
    return buttons;
}

void TableRowEditor::finishSetup()
{
    checks_->attach();
    // The buttons after the fields: Enter in the key goes on to the next field.
    setTabOrder(BCONF, BELENCA);
    setTabOrder(BELENCA, BSVUOTA);
    setTabOrder(BSVUOTA, BCANCELLA);
    setTabOrder(BCANCELLA, BABBANDONA);
    connect(BCONF, &QPushButton::clicked, this, &TableRowEditor::confirm);
    connect(BSVUOTA, &QPushButton::clicked, this, &TableRowEditor::reset);
    connect(BCANCELLA, &QPushButton::clicked, this, &TableRowEditor::remove);
    connect(BELENCA, &QPushButton::clicked, this, &TableRowEditor::list);
    connect(BABBANDONA, &QPushButton::clicked, this, &QDialog::reject);
    reset();
}

QString TableRowEditor::key() const
{
    return keyField()->text();
}

CheckResult TableRowEditor::checkKey()
{
    if (trimField(key()).isEmpty())
        return CheckResult::quiet(QStringLiteral("DIGITARE IL CODICE"), keyField()->objectName());
    return CheckResult::pass();
}

void TableRowEditor::focusKey()
{
    keyField()->setFocus(Qt::OtherFocusReason);
}

void TableRowEditor::reset()
{
    ctx_.EditRow = blankRow();
    ctx_.EditRow.Ext[0] = table_;
    clearFields();
    modify_ = false;
    oldCode_.clear();
    oldNumber_ = 0;
    if (LMODCANC)
        LMODCANC->hide();
    BCANCELLA->hide();
    BELENCA->show();
    checks_->resetTouched();
    focusKey();
}

void TableRowEditor::enterModify(const TRecTabella& row)
{
    modify_ = true;
    oldCode_ = row.Fld[0];
    oldNumber_ = row.Num;
    showRow(row);
    if (LMODCANC)
        LMODCANC->show();
    BCANCELLA->show();
    BELENCA->hide();
}

CheckResult TableRowEditor::leaveKey()
{
    if (CheckResult r = checkKey(); !r)
        return r;
    if (modify_)
        return CheckResult::pass();
    try {
        if (auto row = findRow(key())) {
            enterModify(*row);
            return CheckResult::stop();
        }
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return CheckResult::stop();
    }
    return CheckResult::pass();
}

void TableRowEditor::confirm()
{
    std::int32_t number = 0;
    try {
        if (!checks_->show(checkKey()))
            return;
        // A key typed and confirmed straight away that is already in the table: show its row for
        // modification instead of adding a second row with the same key.
        if (!modify_) {
            if (auto row = findRow(key())) {
                enterModify(*row);
                checks_->focusField(firstFieldAfterKey());
                return;
            }
        }
        if (!buildRow())
            return;
        if (!checks_->show(checkKeyFree()))
            return;
        number = saveRow(modify_ ? std::optional<std::int32_t>(oldNumber_) : std::nullopt);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    saved(number);
}

void TableRowEditor::saved(std::int32_t)
{
    reset();
}

void TableRowEditor::remove()
{
    if (!modify_)
        return;
    // A delivered code is easily lost: ask first (No by default).
    if (!ctx_.messenger().askYesNo(QStringLiteral("CONFERMI LA CANCELLAZIONE DI %1 ?").arg(trimField(oldCode_))))
        return;
    try {
        deleteRow(oldNumber_);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    reset();
}

void TableRowEditor::list()
{
    pickTableCodeInto(ctx_, table_, keyField(), *checks_);
}

} // namespace vt
