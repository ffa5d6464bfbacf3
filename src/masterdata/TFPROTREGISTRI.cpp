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

TFPROTREGISTRI::TFPROTREGISTRI(AppContext& ctx, QWidget* parent)
    : TableRowEditor(ctx, kTable, QStringLiteral("TFPROTREGISTRI"), QStringLiteral("Mostra / Richiama"), parent)
{
    setWindowTitle(QStringLiteral("Protocollo dei Registri dei movimenti"));

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);

    grid->addWidget(modifyLabel(), 0, 1, 1, 2);

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

    grid->setRowMinimumHeight(9, 12);
    grid->addLayout(buttonRow(false), 10, 0, 1, 3);

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

    checks_->onLeave(LE0, [this] { return leaveKey(); });
    checks_->onLeave(le1, [this] { return CheckProtocolBulk(le1->text()); });
    checks_->onLeave(R10, [this] { return CheckProtocolDates(R10->date(), R11->date()); });
    checks_->onLeave(R11, [this] { return CheckProtocolDates(R10->date(), R11->date()); });
    finishSetup();
}

std::optional<TRecTabella> TFPROTREGISTRI::findRow(const QString& key)
{
    return FindTableRow(ctx_, kTable, key);
}

void TFPROTREGISTRI::clearFields()
{
    for (QLineEdit* e : {LE0, le1, LE2, LE3})
        e->clear();
    R10->setDate(ctx_.clock().today());
    R11->setDate(ctx_.clock().today());
}

void TFPROTREGISTRI::showRow(const TRecTabella& row)
{
    le1->setText(row.Fld[1]);
    LE2->setText(row.Fld[2]);
    LE3->setText(row.Fld[3]);
    R10->setDate(dates::toDate(row.ValA[0]));
    R11->setDate(dates::toDate(row.ValA[1]));
}

bool TFPROTREGISTRI::buildRow()
{
    const ProtocolForm form{LE0->text(), le1->text(), LE2->text(), LE3->text(), R10->date(), R11->date()};
    return checks_->show(BuildProtocolRow(form, ctx_.EditRow));
}

CheckResult TFPROTREGISTRI::checkKeyFree()
{
    return CheckKeyFree(ctx_, kTable, LE0->text(), oldCode_, modify_, QStringLiteral("LE0"));
}

std::int32_t TFPROTREGISTRI::saveRow(std::optional<std::int32_t> replacing)
{
    return SaveProtocol(ctx_, replacing);
}

void TFPROTREGISTRI::deleteRow(std::int32_t number)
{
    DeleteRow(ctx_, number, tablePath(ctx_, kTable, ".TAB"));
}

void TFPROTREGISTRI::saved(std::int32_t)
{
    accept();
}

} // namespace vt
