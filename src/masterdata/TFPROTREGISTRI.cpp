#include "ui/CodedField.h"
#include "masterdata/TFPROTREGISTRI.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/WindowRegistry.h"
#include "foundation/Dates.h"
#include "foundation/IoError.h"
#include "foundation/Tables.h"
#include "foundation/Text.h"
#include "masterdata/Settings.h"
#include "ui/Edits.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"

namespace vt {

namespace {

const QString kTable = QStringLiteral("PROTOCOLLI");
} // namespace

TFPROTREGISTRI::TFPROTREGISTRI(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFPROTREGISTRI"));
    setWindowTitle(QStringLiteral("Protocollo dei Registri dei movimenti"));
    checks_ = new FormChecks(this, ctx_.messenger());

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);

    LMODCANC = new QLabel(QStringLiteral("MODIFICA o CANCELLA"), this);
    LMODCANC->setObjectName(QStringLiteral("LMODCANC"));
    LMODCANC->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    grid->addWidget(LMODCANC, 0, 1, 1, 2);

    auto addRow = [&](int row, const QString& caption, QWidget* field, Qt::Alignment align = Qt::AlignLeft) {
        auto* l = new QLabel(caption, this);
        l->setBuddy(field);
        grid->addWidget(l, row, 0, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(field, row, 1, align);
    };
    const QFontMetrics fm(font());

    LE0 = new QLineEdit(this);
    LE0->setObjectName(QStringLiteral("LE0"));
    setupText(LE0, 10, TextCase::Upper);
    LE0->setFixedWidth(fm.horizontalAdvance(QString(11, QLatin1Char('W'))));
    addRow(1, QStringLiteral("N. del Protocollo"), LE0);
    BELENCA = makeButton(this, "BELENCA", QStringLiteral("Mostra / Richiama"));
    grid->addWidget(BELENCA, 1, 2, Qt::AlignLeft);

    R10 = new DateEdit(this);
    R10->setObjectName(QStringLiteral("R10"));
    R10->setFixedWidth(fm.horizontalAdvance(QStringLiteral("00/00/00000")) + 12);
    addRow(2, QStringLiteral("Data del Protocollo"), R10);

    le1 = new QLineEdit(this);
    le1->setObjectName(QStringLiteral("le1"));
    setupText(le1, 1, TextCase::Upper);
    le1->setFixedWidth(fm.horizontalAdvance(QStringLiteral("WW")) + 12);
    addRow(3, QStringLiteral("Registro prodotto Sfuso o coNdizionato ? S/N"), le1);

    R11 = new DateEdit(this);
    R11->setObjectName(QStringLiteral("R11"));
    R11->setFixedWidth(R10->width());
    addRow(4, QStringLiteral("Registro dei Movimenti valido dalla data:"), R11);

    // The two long texts: label above, edit across the window.
    auto addWide = [&](int row, const QString& caption, QLineEdit* field) {
        auto* l = new QLabel(caption, this);
        l->setBuddy(field);
        grid->addWidget(l, row, 0, 1, 3);
        grid->addWidget(field, row + 1, 0, 1, 3);
    };
    LE2 = new QLineEdit(this);
    LE2->setObjectName(QStringLiteral("LE2"));
    setupText(LE2, 200);
    LE2->setMinimumWidth(620);
    addWide(5, QStringLiteral("Dati dell'ufficio vidimante il registro di carico e scarico (max 200)"), LE2);
    LE3 = new QLineEdit(this);
    LE3->setObjectName(QStringLiteral("LE3"));
    setupText(LE3, 200);
    addWide(7, QStringLiteral("Dati dell'ufficio vidimante il registro delle garanzie (max 200)"), LE3);
    grid->setColumnStretch(2, 1);

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
    grid->setRowMinimumHeight(9, 12);
    grid->addLayout(buttons, 10, 0, 1, 3);

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
    checks_->onLeave(LE0, [this] { return leaveNumber(); });
    checks_->onLeave(le1, [this] { return CheckProtocolBulk(le1->text()); });
    checks_->onLeave(R10, [this] { return CheckProtocolDates(R10->date(), R11->date()); });
    checks_->onLeave(R11, [this] { return CheckProtocolDates(R10->date(), R11->date()); });

    connect(BCONF, &QPushButton::clicked, this, &TFPROTREGISTRI::confirm);
    connect(BSVUOTA, &QPushButton::clicked, this, &TFPROTREGISTRI::reset);
    connect(BCANCELLA, &QPushButton::clicked, this, &TFPROTREGISTRI::remove);
    connect(BELENCA, &QPushButton::clicked, this, &TFPROTREGISTRI::list);
    connect(BABBANDONA, &QPushButton::clicked, this, &QDialog::reject);

    reset();
}

int TFPROTREGISTRI::exec()
{
    if (!ready_)
        return QDialog::Rejected;
    return QDialog::exec();
}

void TFPROTREGISTRI::reset()
{
    ctx_.EditRow = blankRow();
    ctx_.EditRow.Ext[0] = kTable;
    for (QLineEdit* e : {LE0, le1, LE2, LE3})
        e->clear();
    R10->setDate(ctx_.clock().today());
    R11->setDate(ctx_.clock().today());
    modify_ = false;
    oldCode_.clear();
    oldNumber_ = 0;
    LMODCANC->hide();
    BCANCELLA->hide();
    BELENCA->show();
    checks_->resetTouched();
    LE0->setFocus(Qt::OtherFocusReason);
}

void TFPROTREGISTRI::enterModify(const TRecTabella& row)
{
    modify_ = true;
    oldCode_ = row.Fld[0];
    oldNumber_ = row.Num;
    le1->setText(row.Fld[1]);
    LE2->setText(row.Fld[2]);
    LE3->setText(row.Fld[3]);
    R10->setDate(dates::toDate(row.ValA[0]));
    R11->setDate(dates::toDate(row.ValA[1]));
    LMODCANC->show();
    BCANCELLA->show();
    BELENCA->hide();
}

CheckResult TFPROTREGISTRI::leaveNumber()
{
    if (trimField(LE0->text()).isEmpty())
        return CheckResult::fail({}, QStringLiteral("LE0"));
    if (modify_)
        return CheckResult::pass();
    try {
        if (auto row = FindTableRow(ctx_, kTable, LE0->text()))
            enterModify(*row);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
    return CheckResult::pass();
}

bool TFPROTREGISTRI::confirmChecks()
{
    if (trimField(LE0->text()).isEmpty()) {
        checks_->focusField(QStringLiteral("LE0"));
        return false;
    }
    if (!modify_) {
        if (auto row = FindTableRow(ctx_, kTable, LE0->text())) {
            enterModify(*row);
            checks_->focusField(QStringLiteral("R10"));
            return false;
        }
    }
    const ProtocolForm form{LE0->text(), le1->text(), LE2->text(), LE3->text(), R10->date(), R11->date()};
    if (!checks_->show(BuildProtocolRow(form, ctx_.EditRow)))
        return false;
    return checks_->show(CheckKeyFree(ctx_, kTable, form.number, oldCode_, modify_, QStringLiteral("LE0")));
}

void TFPROTREGISTRI::confirm()
{
    try {
        if (!confirmChecks())
            return;
        SaveProtocol(ctx_, modify_ ? std::optional(oldNumber_) : std::nullopt);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    accept();
}

void TFPROTREGISTRI::remove()
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

void TFPROTREGISTRI::list()
{
    pickTableCodeInto(ctx_, kTable, LE0, *checks_);
}

} // namespace vt
