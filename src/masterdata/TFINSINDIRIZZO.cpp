#include "masterdata/TFINSINDIRIZZO.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

#include "foundation/Text.h"
#include "ui/CodedField.h"
#include "ui/FormChecks.h"

namespace vt {

AddressWindow::AddressWindow(AppContext& ctx, bool modify, QWidget* parent)
    : AddressForm(ctx, KindOfAddressFile(ctx.TableName), modify, trimField(ctx.TableName), parent)
{
    setObjectName(modify ? QStringLiteral("TFMODINDIRIZZO") : QStringLiteral("TFINSINDIRIZZO"));
    addModifyLabel(1);

    CACCI2 = line("CACCI2", 18, false);
    addRow(CACCI2, QStringLiteral("Partita IVA"));
    CACCI1 = line("CACCI1", 13, true);
    addRow(CACCI1, QStringLiteral("Codice d'Accisa"));
    DENOM1 = line("DENOM1", 100, false);
    addRow(DENOM1, QStringLiteral("Denominazione"));
    INDIR1 = line("INDIR1", 65, false);
    addRow(INDIR1, QStringLiteral("Indirizzo"));
    NUMCI1 = line("NUMCI1", 11, false);
    addRow(NUMCI1, QStringLiteral("N° civico"));
    C_A_P1 = line("C_A_P1", 10, false);
    addRow(C_A_P1, QStringLiteral("C.A.P."));
    CITTA1 = line("CITTA1", 50, true);
    addRow(CITTA1, QStringLiteral("Città"));
    CAUESO = line("CAUESO", 1, true);
    addRow(CAUESO, QStringLiteral("Cauzione / Esonero ? C/E"));
    CONGAR = line("CONGAR", 17, false);
    addRow(CONGAR, QStringLiteral("Codice Conto garanzia"));
    SEZDOG = addLanguageRow();
    addRow(SEZDOG, QStringLiteral("Lingua delle descrizioni"));
    addButtonRow(2);
    grid()->setColumnStretch(1, 1);

    const ShownFields shown = FieldsShown(kind_, QString());
    setShown(CACCI1, shown.identifier);
    setShown(CAUESO, shown.guarantee);
    setShown(CONGAR, shown.guarantee);

    checks_->attach();
    checks_->onLeaveDo(SEZDOG->edit(), [this] { lookupOrList(SEZDOG); });
    if (shown.guarantee)
        checks_->onLeave(CAUESO, [this] { return CheckDepositOrExemption(CAUESO->text()); });
    if (!modify_) {
        checks_->onLeaveDo(CACCI2, [this] { warn([this] { return DuplicateVatWarning(path(), CACCI2->text()); }); });
        checks_->onLeaveDo(CACCI1, [this] { warn([this] { return DuplicateExciseWarning(path(), CACCI1->text()); }); });
        checks_->onLeaveDo(DENOM1, [this] { warn([this] { return DuplicateNameWarning(path(), DENOM1->text()); }); });
    }
    connect(BCONF, &QPushButton::clicked, this, &AddressWindow::confirm);
}

AddressFields AddressWindow::fields() const
{
    AddressFields f;
    f.CACCI1 = CACCI1->text();
    f.CACCI2 = CACCI2->text();
    f.DENOM1 = DENOM1->text();
    f.INDIR1 = INDIR1->text();
    f.NUMCI1 = NUMCI1->text();
    f.C_A_P1 = C_A_P1->text();
    f.CITTA1 = CITTA1->text();
    f.CAUESO = CAUESO->text();
    f.CONGAR = CONGAR->text();
    f.SEZDOG = SEZDOG->code();
    return f;
}

void AddressWindow::setFields(const AddressFields& f)
{
    CACCI1->setText(f.CACCI1);
    CACCI2->setText(f.CACCI2);
    DENOM1->setText(f.DENOM1);
    INDIR1->setText(f.INDIR1);
    NUMCI1->setText(f.NUMCI1);
    C_A_P1->setText(f.C_A_P1);
    CITTA1->setText(f.CITTA1);
    CAUESO->setText(f.CAUESO);
    CONGAR->setText(f.CONGAR);
    SEZDOG->setCode(f.SEZDOG);
    SEZDOG->companion()->clear();
}

void AddressWindow::clearForm()
{
    setFields(AddressFields{});
    SEZDOG->setCode(QStringLiteral("it"));
    checks_->resetTouched();
    CACCI2->setFocus(Qt::OtherFocusReason);
}

void AddressWindow::confirm()
{
    if (!checks_->touched()) {
        CACCI2->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!lookupOrList(SEZDOG))
        return;
    const ShownFields shown = FieldsShown(kind_, QString());
    if (shown.guarantee && !checks_->show(CheckDepositOrExemption(CAUESO->text())))
        return;
    AddressFields f = fields();
    if (!shown.identifier)
        f.CACCI1.clear();
    if (!checks_->show(CheckRequiredAddressFields(kind_, f)))
        return;
    write(BuildAddressRecord(kind_, f, false));
}

TFINSINDIRIZZO::TFINSINDIRIZZO(AppContext& ctx, QWidget* parent) : AddressWindow(ctx, false, parent)
{
    clearForm();
}

} // namespace vt
