#include "prints/TFSTAREGCARSCA.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "foundation/IoError.h"
#include "ui/Edits.h"
#include "ui/FormChecks.h"
#include "ui/PrintText.h"
#include "ui/Widgets.h"

namespace vt {

TFSTAREGCARSCA::TFSTAREGCARSCA(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFSTAREGCARSCA"));
    const QChar kind = ctx.OpCode == QLatin1Char('C') || ctx.OpCode == QLatin1Char('S') ? ctx.OpCode : QLatin1Char('T');
    print_.kind = kind;
    title_ = registerPrintTitle(kind);
    setWindowTitle(title_);
    checks_ = new FormChecks(this, ctx_.messenger());

    MDADA = new DateEdit(this);
    MDADA->setObjectName(QStringLiteral("MDADA"));
    MDADA->setFixedWidth(widthForChars(MDADA, 12));
    MDAAL = new DateEdit(this);
    MDAAL->setObjectName(QStringLiteral("MDAAL"));
    MDAAL->setFixedWidth(widthForChars(MDAAL, 12));

    RTIPO = new QGroupBox(this);
    RTIPO->setObjectName(QStringLiteral("RTIPO"));
    RTIPO0 = new QRadioButton(QStringLiteral("Stampa il Registro COMPLETO"), RTIPO);
    RTIPO0->setObjectName(QStringLiteral("RTIPO0"));
    RTIPO1 = new QRadioButton(QStringLiteral("Stampa Solo i MOVIMENTI"), RTIPO);
    RTIPO1->setObjectName(QStringLiteral("RTIPO1"));
    RTIPO2 = new QRadioButton(QStringLiteral("Stampa Solo le INTESTAZIONI"), RTIPO);
    RTIPO2->setObjectName(QStringLiteral("RTIPO2"));
    RTIPO0->setChecked(true);
    auto* group = new QButtonGroup(this);
    group->addButton(RTIPO0, 0);
    group->addButton(RTIPO1, 1);
    group->addButton(RTIPO2, 2);
    auto* radios = new QVBoxLayout(RTIPO);
    radios->addWidget(RTIPO0);
    radios->addWidget(RTIPO1);
    radios->addWidget(RTIPO2);

    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setStyleSheet(QStringLiteral("font-weight: bold;"));

    IDAPAG = new IntegerEdit(ctx_.messenger(), this);
    IDAPAG->setObjectName(QStringLiteral("IDAPAG"));
    IDAPAG->setAllowMinus(true);
    IDAPAG->setMaxLength(5);
    IDAPAG->setFixedWidth(widthForChars(IDAPAG, 7));
    MFOGLI = new IntegerEdit(ctx_.messenger(), this);
    MFOGLI->setObjectName(QStringLiteral("MFOGLI"));
    MFOGLI->setAllowMinus(true);
    MFOGLI->setMaxLength(5);
    MFOGLI->setFixedWidth(widthForChars(MFOGLI, 7));
    LIDAPAG = buddyLabel(QStringLiteral("A partire dal numero di pagina:"), IDAPAG);
    LIDAPAG2 = new QLabel(QStringLiteral("digita 0 (zero) per non numerare le pagine"), this);
    LMFOGLI = buddyLabel(QStringLiteral("Numero dei fogli da stampare"), MFOGLI);

    BCONF = makeButton(this, "BCONF", QStringLiteral("&CONFERMA"));
    BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));

    auto* dates = new QFormLayout;
    dates->addRow(buddyLabel(QStringLiteral("Dalla data"), MDADA), MDADA);
    dates->addRow(buddyLabel(QStringLiteral("Alla data"), MDAAL), MDAAL);
    auto* pages = new QGridLayout;
    pages->addWidget(LIDAPAG, 0, 0);
    pages->addWidget(IDAPAG, 0, 1);
    pages->addWidget(LIDAPAG2, 0, 2);
    pages->addWidget(LMFOGLI, 1, 0);
    pages->addWidget(MFOGLI, 1, 1);
    pages->setColumnStretch(3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BCONF);
    buttons->addStretch(1);
    buttons->addWidget(BABBANDONA);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(dates);
    layout->addWidget(RTIPO);
    layout->addWidget(Label3);
    layout->addLayout(pages);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    checks_->attach();
    connect(group, &QButtonGroup::idClicked, this, [this](int) { modeChanged(); });
    connect(BCONF, &QPushButton::clicked, this, &TFSTAREGCARSCA::confirm);
    connect(BABBANDONA, &QPushButton::clicked, this, &QDialog::reject);
    modeChanged();
}

RegisterPrintMode TFSTAREGCARSCA::mode() const
{
    return RTIPO2->isChecked()   ? RegisterPrintMode::HeadingsOnly
           : RTIPO1->isChecked() ? RegisterPrintMode::MovementsOnly
                                 : RegisterPrintMode::Complete;
}

void TFSTAREGCARSCA::modeChanged()
{
    const RegisterPrintMode m = mode();
    Label3->setText(registerPrintHint(m, title_));
    const bool headings = m == RegisterPrintMode::HeadingsOnly;
    for (QWidget* w : {static_cast<QWidget*>(IDAPAG), static_cast<QWidget*>(MFOGLI), static_cast<QWidget*>(LIDAPAG),
                       static_cast<QWidget*>(LIDAPAG2), static_cast<QWidget*>(LMFOGLI)})
        w->setVisible(headings);
}

void TFSTAREGCARSCA::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    const QDate today = ctx_.clock().today();
    modeChanged();
    IDAPAG->clear();
    MFOGLI->clear();
    MDAAL->setDate(today);
    MDADA->setDate(QDate(today.year(), today.month(), 1));
    MDADA->setFocus(Qt::OtherFocusReason);
}

void TFSTAREGCARSCA::confirm()
{
    RegisterPrint p = print_;
    const RegisterPrintMode m = mode();
    if (!checks_->confirm(
            {[&] { return checkRegisterPrint(m, MDADA->text(), MDAAL->text(), IDAPAG->text(), MFOGLI->text(), p); }}))
        return;
    checks_->setStatus({});
    try {
        BusyCursor busy;
        p.office = registerOffice(ctx_, p.from);
        p.company = ctx_.CompanyRecord;
        records_ = m == RegisterPrintMode::HeadingsOnly ? QList<TRecMovimento>() : registerPrintRecords(ctx_, p);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    print_ = p;
    ctx_.messenger().info(registerPrintPrompt(m));
    const RegisterPrint shown = print_;
    const QList<TRecMovimento> rows = records_;
    previewPages(this, ctx_.fileDialogs(), QStringLiteral("REGISTRO FISCALE"), PageOrientation::Landscape,
                 [shown, rows](PageSurface& s) { PrintLoadUnloadRegister(s, shown, rows); });
    MDADA->setFocus(Qt::OtherFocusReason);
    MDADA->selectAll();
}

} // namespace vt
