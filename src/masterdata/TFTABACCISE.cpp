#include "masterdata/TFTABACCISE.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/WindowRegistry.h"
#include "foundation/IoError.h"
#include "foundation/Tables.h"
#include "foundation/Text.h"
#include "masterdata/Settings.h"
#include "ui/CodedField.h"
#include "ui/Edits.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"

namespace vt {

namespace {

const QString kTable = QStringLiteral("ACCISE");
} // namespace

TFTABACCISE::TFTABACCISE(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFTABACCISE"));
    setWindowTitle(QStringLiteral("Tabella delle Accise nei Paesi dell'Unione Europea"));
    checks_ = new FormChecks(this, ctx_.messenger());

    auto* outer = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    top->setHorizontalSpacing(8);
    LMODCANC = new QLabel(QStringLiteral("MODIFICA o CANCELLA"), this);
    LMODCANC->setObjectName(QStringLiteral("LMODCANC"));
    LMODCANC->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    top->addWidget(LMODCANC, 0, 1);

    auto* lState = new QLabel(QStringLiteral("Nazione"), this);
    LE0 = new CodedField(ctx_, QStringLiteral("T004"), {QStringLiteral("LE0"), QStringLiteral("DLE0"),
                                                        QStringLiteral("BLE0"), QStringLiteral("BNLE0")}, 2, this);
    lState->setBuddy(LE0->edit());
    LE0->setMinimumWidth(380);
    top->addWidget(lState, 1, 0, Qt::AlignRight);
    top->addWidget(LE0, 1, 1);
    BELENCA = makeButton(this, "BELENCA", QStringLiteral("Mostra / Richiama"));
    top->addWidget(BELENCA, 1, 2);
    top->setColumnStretch(1, 1);
    outer->addLayout(top);

    // Two groups of two bands: still wines (slots 0, 1), sparkling wines (slots 5, 6).
    auto* groups = new QHBoxLayout;
    const QString titles[2] = {QStringLiteral("Vini fermi (W200) "), QStringLiteral("Vini spumanti (W300) ")};
    const QString heads[3] = {QStringLiteral("da % vol."), QStringLiteral("a % vol."), QStringLiteral("accisa €/hl")};
    for (int g = 0; g < 2; ++g) {
        auto* box = new QGroupBox(titles[g], this);
        auto* grid = new QGridLayout(box);
        for (int c = 0; c < 3; ++c)
            grid->addWidget(new QLabel(heads[c], box), 0, c, Qt::AlignHCenter);
        for (int k = 0; k < 2; ++k) {
            const int b = g * 2 + k;
            const int slot = ExciseSlots[b];
            for (int c = 0; c < 3; ++c) {
                auto* e = new DecimalEdit(ctx_.messenger(), box);
                e->setObjectName(QStringLiteral("R%1%2").arg(c + 1).arg(slot));
                e->setAlignment(Qt::AlignRight);
                e->setMaxLength(14);
                e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0.000.000,00")) + 16);
                amounts_[b][c] = e;
                grid->addWidget(e, k + 1, c);
            }
        }
        groups->addWidget(box);
    }
    outer->addLayout(groups);

    BWEB = makeButton(this, "BWEB", QStringLiteral("ec.europa.eu"));
    BWEB->setToolTip(QStringLiteral("Tabella delle Accise in vigore nell'Unione Europea"));
    auto* web = new QHBoxLayout;
    web->addStretch(1);
    web->addWidget(BWEB);
    outer->addLayout(web);

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
    outer->addSpacing(8);
    outer->addLayout(buttons);

    try {
        ready_ = ReadStructure(ctx_, kTable).has_value();
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    if (!ready_) {
        ctx_.messenger().info(MsgTableStructureMissing);
        return;
    }

    checks_->attach();
    checks_->onLeave(LE0->edit(), [this] { return leaveState(); });

    connect(LE0, &CodedField::picked, this, [this] { checks_->setTouched(true); });
    connect(BCONF, &QPushButton::clicked, this, &TFTABACCISE::confirm);
    connect(BSVUOTA, &QPushButton::clicked, this, &TFTABACCISE::reset);
    connect(BCANCELLA, &QPushButton::clicked, this, &TFTABACCISE::remove);
    connect(BELENCA, &QPushButton::clicked, this, &TFTABACCISE::list);
    connect(BWEB, &QPushButton::clicked, this, &TFTABACCISE::openWebSite);
    connect(BABBANDONA, &QPushButton::clicked, this, &QDialog::reject);

    reset();
}

int TFTABACCISE::exec()
{
    if (!ready_)
        return QDialog::Rejected;
    return QDialog::exec();
}

void TFTABACCISE::reset()
{
    ctx_.EditRow = blankRow();
    ctx_.EditRow.Ext[0] = kTable;
    LE0->clear();
    for (auto& band : amounts_)
        for (DecimalEdit* e : band)
            e->clear();
    modify_ = false;
    oldCode_.clear();
    oldNumber_ = 0;
    LMODCANC->hide();
    BCANCELLA->hide();
    BELENCA->show();
    checks_->resetTouched();
    LE0->edit()->setFocus(Qt::OtherFocusReason);
}

void TFTABACCISE::enterModify(const TRecTabella& row)
{
    modify_ = true;
    oldCode_ = row.Fld[0];
    oldNumber_ = row.Num;
    const ExciseForm f = ExciseFormOf(row);
    for (size_t b = 0; b < amounts_.size(); ++b) {
        amounts_[b][0]->setValueText(f.bands[b].from);
        amounts_[b][1]->setValueText(f.bands[b].to);
        amounts_[b][2]->setValueText(f.bands[b].excise);
    }
    LMODCANC->show();
    BCANCELLA->show();
    BELENCA->hide();
}

CheckResult TFTABACCISE::leaveState()
{
    try {
        if (!LE0->lookup()) {
            LE0->companion()->setText(MsgUnknownState);
            return CheckResult::fail({}, QStringLiteral("LE0"));
        }
        if (!modify_)
            if (auto row = FindTableRow(ctx_, kTable, LE0->code()))
                enterModify(*row);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
    return CheckResult::pass();
}

bool TFTABACCISE::confirmChecks()
{
    if (!checks_->show(CheckExciseState(ctx_, LE0->code()))) {
        LE0->companion()->setText(MsgUnknownState);
        return false;
    }
    LE0->lookup();
    // A state typed and confirmed straight away that is already in the table: show its row for
    // modification instead of adding a second row for it.
    if (!modify_) {
        if (auto row = FindTableRow(ctx_, kTable, LE0->code())) {
            enterModify(*row);
            checks_->focusField(QStringLiteral("R10"));
            return false;
        }
    }
    ExciseForm form;
    form.state = LE0->code();
    for (size_t b = 0; b < amounts_.size(); ++b)
        form.bands[b] = {amounts_[b][0]->text(), amounts_[b][1]->text(), amounts_[b][2]->text()};
    if (!checks_->show(BuildExciseRow(form, ctx_.EditRow)))
        return false;
    return checks_->show(CheckKeyFree(ctx_, kTable, form.state, oldCode_, modify_, QStringLiteral("LE0")));
}

void TFTABACCISE::confirm()
{
    try {
        if (!confirmChecks())
            return;
        SaveOrderedRow(ctx_, tablePath(ctx_, kTable, ".TAB"), modify_ ? std::optional(oldNumber_) : std::nullopt,
                       orderByCode());
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    reset();
}

void TFTABACCISE::remove()
{
    if (!modify_)
        return;
    try {
        DeleteRow(ctx_, oldNumber_, tablePath(ctx_, kTable, ".TAB"));
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    reset();
}

void TFTABACCISE::list()
{
    pickTableCodeInto(ctx_, kTable, LE0->edit(), *checks_);
}

void TFTABACCISE::openWebSite()
{
    try {
        const QString address = WebAddress(ctx_, 2);
        if (!address.isEmpty())
            ctx_.shell().openUrl(address);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
}

} // namespace vt
