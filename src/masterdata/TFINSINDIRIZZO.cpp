#include "masterdata/TFINSINDIRIZZO.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/WindowRegistry.h"
#include "foundation/AddressFile.h"
#include "foundation/IoError.h"
#include "foundation/Text.h"
#include "ui/CodedField.h"
#include "ui/Edits.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"
#include "ui/AddressActions.h"

namespace vt {

AddressWindow::AddressWindow(AppContext& ctx, bool modify, QWidget* parent)
    : QDialog(parent), ctx_(ctx), modify_(modify), kind_(KindOfAddressFile(ctx.TableName))
{
    setObjectName(modify ? QStringLiteral("TFMODINDIRIZZO") : QStringLiteral("TFINSINDIRIZZO"));
    ctx_.AddressFile = trimField(ctx_.TableName);
    setWindowTitle(AddressWindowTitle(kind_, modify ? AddressAction::Modify : AddressAction::Insert));
    checks_ = new FormChecks(this, ctx_.messenger());

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    int row = 0;
    if (modify) {
        auto* mod = new QLabel(QStringLiteral("MODIFICA "), this);
        mod->setObjectName(QStringLiteral("LMODIFICA"));
        mod->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
        grid->addWidget(mod, row++, 1);
    }

    CACCI2 = line("CACCI2", 18, false);
    addRow(CACCI2, QStringLiteral("Partita IVA"), row, grid);
    CACCI1 = line("CACCI1", 13, true);
    addRow(CACCI1, QStringLiteral("Codice d'Accisa"), row, grid);
    DENOM1 = line("DENOM1", 100, false);
    addRow(DENOM1, QStringLiteral("Denominazione"), row, grid);
    INDIR1 = line("INDIR1", 65, false);
    addRow(INDIR1, QStringLiteral("Indirizzo"), row, grid);
    NUMCI1 = line("NUMCI1", 11, false);
    addRow(NUMCI1, QStringLiteral("N° civico"), row, grid);
    C_A_P1 = line("C_A_P1", 10, false);
    addRow(C_A_P1, QStringLiteral("C.A.P."), row, grid);
    CITTA1 = line("CITTA1", 50, true);
    addRow(CITTA1, QStringLiteral("Città"), row, grid);
    CAUESO = line("CAUESO", 1, true);
    addRow(CAUESO, QStringLiteral("Cauzione / Esonero ? C/E"), row, grid);
    CONGAR = line("CONGAR", 17, false);
    addRow(CONGAR, QStringLiteral("Codice Conto garanzia"), row, grid);
    SEZDOG = new CodedField(ctx_, QStringLiteral("T001"), {"SEZDOG", "DSEZDOG", "BSEZDOG", "BNSEZDOG"}, 2, this);
    SEZDOG->setTextCase(TextCase::Lower);
    addRow(SEZDOG, QStringLiteral("Lingua delle descrizioni"), row, grid);

    BCONF = makeButton(this, "BCONF", QStringLiteral("&CONFERMA"));
    BMOSTRA = makeButton(this, "BMOSTRA", ShowAddressesCaption(kind_));
    BSEED = makeButton(this, "BSEED", QStringLiteral("Banca Dati SEED"));
    BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BCONF);
    buttons->addWidget(BMOSTRA);
    buttons->addWidget(BSEED);
    buttons->addStretch(1);
    buttons->addWidget(BABBANDONA);
    grid->setRowMinimumHeight(row++, 10);
    grid->addLayout(buttons, row++, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    const ShownFields shown = FieldsShown(kind_, QString());
    for (QWidget* w : {static_cast<QWidget*>(CACCI1)}) {
        w->setVisible(shown.identifier);
        labels_.value(w)->setVisible(shown.identifier);
    }
    for (QWidget* w : {CAUESO, CONGAR}) {
        w->setVisible(shown.guarantee);
        labels_.value(w)->setVisible(shown.guarantee);
    }

    checks_->attach();
    checks_->onLeaveDo(SEZDOG->edit(), [this] { lookupOrList(SEZDOG); });
    if (shown.guarantee)
        checks_->onLeave(CAUESO, [this] { return CheckDepositOrExemption(CAUESO->text()); });
    if (!modify_) {
        checks_->onLeaveDo(CACCI2, [this] { leaveVat(); });
        checks_->onLeaveDo(CACCI1, [this] { leaveExcise(); });
        checks_->onLeaveDo(DENOM1, [this] { leaveName(); });
    }

    connect(BCONF, &QPushButton::clicked, this, &AddressWindow::confirm);
    connect(BABBANDONA, &QPushButton::clicked, this, &QDialog::reject);
    connect(BMOSTRA, &QPushButton::clicked, this, [this] { showAddressListing(ctx_, this); });
    connect(BSEED, &QPushButton::clicked, this, [this] { openSeedDatabase(ctx_); });
}

QLineEdit* AddressWindow::line(const char* name, int maxLength, bool upper)
{
    auto* e = new QLineEdit(this);
    e->setObjectName(QString::fromLatin1(name));
    setupText(e, maxLength, upper ? TextCase::Upper : TextCase::AsTyped);
    // Short codes get an edit of their size; names and streets a wide one.
    const int width = e->fontMetrics().horizontalAdvance(QString(std::min(std::max(maxLength, 4), 60) + 2, QLatin1Char('M'))) * 3 / 4 + 12;
    if (maxLength <= 20)
        e->setFixedWidth(width);
    else
        e->setMinimumWidth(width);
    return e;
}

void AddressWindow::addRow(QWidget* field, const QString& label, int& row, QGridLayout* grid)
{
    auto* l = new QLabel(label, this);
    l->setObjectName(QStringLiteral("L") + field->objectName());
    if (auto* coded = qobject_cast<CodedField*>(field))
        l->setBuddy(coded->edit());
    else
        l->setBuddy(field);
    grid->addWidget(l, row, 0, Qt::AlignRight);
    if (qobject_cast<CodedField*>(field))
        grid->addWidget(field, row, 1);
    else
        grid->addWidget(field, row, 1, Qt::AlignLeft);
    labels_.insert(field, l);
    ++row;
}

QString AddressWindow::path() const
{
    return AddressFilePath(ctx_, ctx_.AddressFile);
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

bool AddressWindow::lookupOrList(CodedField* field)
{
    if (field->lookup())
        return true;
    field->pick();
    return false;
}

namespace {
void warn(AppContext& ctx, const std::function<QString()>& check)
{
    try {
        const QString warning = check();
        if (!warning.isEmpty())
            ctx.messenger().info(warning);
    } catch (const IoError& e) {
        ctx.messenger().info(e.text());
    }
}
} // namespace

void AddressWindow::leaveVat()
{
    warn(ctx_, [this] { return DuplicateVatWarning(path(), CACCI2->text()); });
}

void AddressWindow::leaveExcise()
{
    warn(ctx_, [this] { return DuplicateExciseWarning(path(), CACCI1->text()); });
}

void AddressWindow::leaveName()
{
    warn(ctx_, [this] { return DuplicateNameWarning(path(), DENOM1->text()); });
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
    const TRecIndirizzo record = BuildAddressRecord(kind_, f, false);
    ctx_.CurrentAddress = record;
    try {
        write(record);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
}

TFINSINDIRIZZO::TFINSINDIRIZZO(AppContext& ctx, QWidget* parent) : AddressWindow(ctx, false, parent)
{
    clearForm();
}

void TFINSINDIRIZZO::write(const TRecIndirizzo& record)
{
    ctx_.CurrentAddress = WrittenAddress(record, InsertAddress(path(), record, ctx_.messenger()));
    if (ctx_.FromMenu)
        clearForm();
    else
        accept();
}

} // namespace vt
