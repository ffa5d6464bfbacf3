#include "register/guarantees/TFGARANZIA.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/Dates.h"
#include "foundation/IoError.h"
#include "foundation/NumberFormat.h"
#include "register/store/RegisterStore.h"
#include "ui/Edits.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"

namespace vt {

TFGARANZIA::TFGARANZIA(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx), mode_(ctx.OpCode)
{
    setObjectName(QStringLiteral("TFGARANZIA"));
    setWindowTitle(QStringLiteral("GARANZIA"));

    DATMOV = new DateEdit(this);
    DATMOV->setObjectName(QStringLiteral("DATMOV"));
    DecimalEdit** amounts[] = {&DOUBL1, &DOUBL2, &DOUBL3, &DOUBL4};
    const char* names[] = {"DOUBL1", "DOUBL2", "DOUBL3", "DOUBL4"};
    for (int i = 0; i < 4; ++i) {
        *amounts[i] = new DecimalEdit(ctx_.messenger(), this);
        (*amounts[i])->setObjectName(QString::fromLatin1(names[i]));
        (*amounts[i])->setDecimals(2);
        (*amounts[i])->setAlignment(Qt::AlignRight);
    }
    DOUBL5 = new QLineEdit(this);
    DOUBL5->setObjectName(QStringLiteral("DOUBL5"));
    DOUBL5->setReadOnly(true);
    DOUBL5->setFocusPolicy(Qt::NoFocus);
    DOUBL5->setAlignment(Qt::AlignRight);
    MITDES = new QLineEdit(this);
    MITDES->setObjectName(QStringLiteral("MITDES"));
    setupText(MITDES, 16, TextCase::Upper);
    ANNOTA = new QLineEdit(this);
    ANNOTA->setObjectName(QStringLiteral("ANNOTA"));
    setupText(ANNOTA, 250);
    ANNOTA->setMinimumWidth(520);
    BCONF = makeButton(this, "BCONF", QStringLiteral("&CONFERMA"));
    BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Data di riferimento"), DATMOV);
    form->addRow(QStringLiteral("Importo impegnato"), DOUBL1);
    form->addRow(QStringLiteral("Importo svincolato"), DOUBL2);
    form->addRow(QStringLiteral("Nuova cauzione versata"), DOUBL3);
    form->addRow(QStringLiteral("Cauzione riscattata"), DOUBL4);
    form->addRow(QStringLiteral("Importo disponibile"), DOUBL5);
    form->addRow(QStringLiteral("Codice fiscale del co-garante "), MITDES);
    form->addRow(QStringLiteral("Note (max 250)"), ANNOTA);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BCONF);
    buttons->addWidget(BABBANDONA);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    checks_ = new FormChecks(this, ctx_.messenger());
    checks_->attach();
    checks_->setTouched(true); // the balance follows every field left, typed or not
    checks_->onLeave(DATMOV, [this] {
        if (!DATMOV->date().isValid())
            return CheckResult::fail(QString(), QStringLiteral("DATMOV"));
        return loadDay() ? CheckResult::pass()
                         : CheckResult::fail(QString::fromUtf8(GuaranteeAlreadyEntered), QStringLiteral("DATMOV"));
    });
    for (DecimalEdit* e : {DOUBL1, DOUBL2, DOUBL3, DOUBL4})
        checks_->onLeaveDo(e, [this] { showBalance(); });
    connect(BCONF, &QPushButton::clicked, this, &TFGARANZIA::confirm);
    connect(BABBANDONA, &QPushButton::clicked, this, &TFGARANZIA::reject);
}

void TFGARANZIA::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (opened_)
        return;
    opened_ = true;
    mode_ = ctx_.OpCode;
    setWindowTitle(guaranteeCaption(mode_));
    old_ = ctx_.MovementRecord.size() == TRecGaranzia::Size ? decodeRegisterRecord(ctx_.MovementRecord)
                                                            : blankRegisterRecord();
    try {
        day_ = guaranteeDay(ctx_, old_.data);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
    showFields(startingFields(mode_, old_, day_));
    showBalance();

    const bool dateFree = mode_ == QLatin1Char('H') || mode_ == QLatin1Char('i');
    DATMOV->setReadOnly(!dateFree);
    if (mode_ == QLatin1Char('J'))
        for (QLineEdit* e : {static_cast<QLineEdit*>(DOUBL1), static_cast<QLineEdit*>(DOUBL2),
                 static_cast<QLineEdit*>(DOUBL3), static_cast<QLineEdit*>(DOUBL4), MITDES})
            e->setReadOnly(true);
    QWidget* first = dateFree       ? static_cast<QWidget*>(DATMOV)
        : mode_ == QLatin1Char('J') ? static_cast<QWidget*>(ANNOTA)
                                    : DOUBL1;
    first->setFocus(Qt::OtherFocusReason);
    if (!isGuaranteeRectification(mode_) && day_.sentExists) {
        ctx_.messenger().info(QString::fromUtf8(GuaranteeAlreadyEntered));
        DATMOV->setFocus(Qt::OtherFocusReason);
    }
}

GuaranteeFields TFGARANZIA::fields() const
{
    return {
        DATMOV->date(), DOUBL1->text(), DOUBL2->text(), DOUBL3->text(), DOUBL4->text(), MITDES->text(), ANNOTA->text()};
}

void TFGARANZIA::showFields(const GuaranteeFields& f)
{
    DATMOV->setDate(f.DATMOV);
    DOUBL1->setValueText(f.DOUBL1);
    DOUBL2->setValueText(f.DOUBL2);
    DOUBL3->setValueText(f.DOUBL3);
    DOUBL4->setValueText(f.DOUBL4);
    MITDES->setText(f.MITDES);
    ANNOTA->setText(f.ANNOTA);
}

bool TFGARANZIA::loadDay()
{
    try {
        day_ = guaranteeDay(ctx_, dates::fromDate(DATMOV->date()));
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return false;
    }
    GuaranteeFields f = fields();
    f.DOUBL1 = FormatNumber(day_.impegnato, 0, 2).trimmed();
    f.DOUBL2 = FormatNumber(day_.svincolato, 0, 2).trimmed();
    // A new deposit on a day that already has its unsent record starts from that record.
    if (mode_ == QLatin1Char('i'))
        loadUnsentOfDay(day_, f);
    showFields(f);
    showBalance();
    return isGuaranteeRectification(mode_) || !day_.sentExists;
}

void TFGARANZIA::showBalance()
{
    const double after = day_.before - ParseDecimal(DOUBL1->text(), 2) + ParseDecimal(DOUBL2->text(), 2) +
        ParseDecimal(DOUBL3->text(), 2) - ParseDecimal(DOUBL4->text(), 2);
    DOUBL5->setText(FormatNumber(after, 0, 2).trimmed());
}

void TFGARANZIA::confirm()
{
    // The balance once more, as the files hold it now.
    try {
        day_ = guaranteeDay(ctx_, dates::fromDate(DATMOV->date()));
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    showBalance();
    const GuaranteeComposition c =
        composeGuarantee(mode_, old_, day_, fields(), guaranteeRecordsOf(ctx_, dates::fromDate(DATMOV->date())));
    if (!checks_->show(c.verdict))
        return;
    QStringList messages;
    try {
        BusyCursor busy;
        messages = saveGuarantee(ctx_, mode_, old_, c.record);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    saved_ = true;
    for (const QString& m : messages)
        ctx_.messenger().info(m);
    accept();
}

void TFGARANZIA::reject()
{
    if (!saved_) {
        const GuaranteeFields now = fields();
        const GuaranteeFields start = startingFields(mode_, old_, day_);
        const bool typed = now.DOUBL3 != start.DOUBL3 || now.DOUBL4 != start.DOUBL4 || now.MITDES != start.MITDES ||
            now.ANNOTA != start.ANNOTA;
        if (typed && !ctx_.messenger().askYesNo(MsgAbandonGuarantee))
            return;
    }
    QDialog::reject();
}

} // namespace vt
