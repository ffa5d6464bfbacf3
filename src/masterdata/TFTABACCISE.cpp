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

TFTABACCISE::TFTABACCISE(AppContext& ctx, QWidget* parent)
    : TableRowEditor(ctx, kTable, QStringLiteral("TFTABACCISE"), QStringLiteral("Mostra / Richiama"), parent)
{
    setWindowTitle(QStringLiteral("Tabella delle Accise nei Paesi dell'Unione Europea"));

    auto* outer = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    top->setHorizontalSpacing(8);
    top->addWidget(modifyLabel(), 0, 1);

    auto* lState = new QLabel(QStringLiteral("Nazione"), this);
    LE0 = new CodedField(ctx_, QStringLiteral("T004"), {QStringLiteral("LE0"), QStringLiteral("DLE0"),
                                                        QStringLiteral("BLE0"), QStringLiteral("BNLE0")}, 2, this);
    lState->setBuddy(LE0->edit());
    LE0->setMinimumWidth(380);
    top->addWidget(lState, 1, 0, Qt::AlignRight);
    top->addWidget(LE0, 1, 1);
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

    outer->addSpacing(8);
    outer->addLayout(buttonRow(false));

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

    checks_->onLeave(LE0->edit(), [this] { return leaveKey(); });
    connect(LE0, &CodedField::picked, this, [this] { checks_->setTouched(true); });
    connect(BWEB, &QPushButton::clicked, this, &TFTABACCISE::openWebSite);
    finishSetup();
    setTabOrder(BABBANDONA, BWEB); // the web site after the form's own buttons
}

QLineEdit* TFTABACCISE::keyField() const
{
    return LE0->edit();
}

CheckResult TFTABACCISE::checkKey()
{
    CheckResult r = CheckExciseState(ctx_, LE0->code());
    if (!r) {
        LE0->companion()->setText(MsgUnknownState);
        return r;
    }
    LE0->lookup();
    return r;
}

std::optional<TRecTabella> TFTABACCISE::findRow(const QString& key)
{
    return FindTableRow(ctx_, kTable, key);
}

void TFTABACCISE::clearFields()
{
    LE0->clear();
    for (auto& band : amounts_)
        for (DecimalEdit* e : band)
            e->clear();
}

void TFTABACCISE::showRow(const TRecTabella& row)
{
    const ExciseForm f = ExciseFormOf(row);
    for (size_t b = 0; b < amounts_.size(); ++b) {
        amounts_[b][0]->setValueText(f.bands[b].from);
        amounts_[b][1]->setValueText(f.bands[b].to);
        amounts_[b][2]->setValueText(f.bands[b].excise);
    }
}

bool TFTABACCISE::buildRow()
{
    ExciseForm form;
    form.state = LE0->code();
    for (size_t b = 0; b < amounts_.size(); ++b)
        form.bands[b] = {amounts_[b][0]->text(), amounts_[b][1]->text(), amounts_[b][2]->text()};
    return checks_->show(BuildExciseRow(form, ctx_.EditRow));
}

CheckResult TFTABACCISE::checkKeyFree()
{
    return CheckKeyFree(ctx_, kTable, LE0->code(), oldCode_, modify_, QStringLiteral("LE0"));
}

std::int32_t TFTABACCISE::saveRow(std::optional<std::int32_t> replacing)
{
    return SaveOrderedRow(ctx_, tablePath(ctx_, kTable, ".TAB"), replacing, orderByCode());
}

void TFTABACCISE::deleteRow(std::int32_t number)
{
    DeleteRow(ctx_, number, tablePath(ctx_, kTable, ".TAB"));
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
