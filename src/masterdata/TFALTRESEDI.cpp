#include "masterdata/TFALTRESEDI.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

#include "foundation/IoError.h"
#include "foundation/Text.h"
#include "masterdata/Company.h"
#include "ui/CodedField.h"
#include "ui/CompanyFields.h"
#include "ui/Edits.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"

namespace vt {

QLineEdit* TFALTRESEDI::edit(const char* name, int maxLength, bool upper)
{
    auto* e = new QLineEdit(this);
    e->setObjectName(QString::fromLatin1(name));
    setupText(e, maxLength, upper ? TextCase::Upper : TextCase::AsTyped);
    return e;
}

TFALTRESEDI::TFALTRESEDI(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFALTRESEDI"));
    setWindowTitle(QStringLiteral("Altre Sedi dell'Azienda autorizzate per le spedizioni"));
    checks_ = new FormChecks(this, ctx_.messenger());

    // Widgets in the order of the fields (Enter follows it).
    SEDE = new QLineEdit(this);
    SEDE->setObjectName(QStringLiteral("SEDE"));
    SEDE->setInputMask(QStringLiteral("999"));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    CACCI2 = edit("CACCI2", 18, true);
    CACCI2->setToolTip(QStringLiteral(
        "Se Deposito Fiscale indicare il Codice d'Accisa, se Speditore Autorizzato digitare la partita iva"));
    DENOM2 = edit("DENOM2", 100, false);
    INDIR2 = edit("INDIR2", 65, false);
    NUMCI2 = edit("NUMCI2", 11, false);
    C_A_P2 = edit("C_A_P2", 10, false);
    CITTA2 = edit("CITTA2", 50, true);
    office_ = new CodedField(ctx_, QStringLiteral("TA03"), {"UFFDO1", "DUFFDOG", "BUFFDOG", "BNUFFDOG"}, 8, this);
    SEZDOG = edit("SEZDOG", 6, false);
    UFFDO2 = edit("UFFDO2", 8, false);
    BUFFDO2 = makeButton(this, "BUFFDO2", QStringLiteral("ec.europa.eu"));
    BUFFDO2->setFocusPolicy(Qt::NoFocus);
    // The premises fields in their frame, before the buttons so that Enter reaches BCONF last.
    auto* premises = new QGroupBox(this);
    for (QWidget* w : std::array<QWidget*, 10>{CACCI2, DENOM2, INDIR2, NUMCI2, C_A_P2, CITTA2, office_, SEZDOG,
                                               UFFDO2, BUFFDO2})
        w->setParent(premises);
    BCONF = makeButton(this, "BCONF", QStringLiteral("&CONFERMA"));
    BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));

    // Sizes: short codes get short edits, names and streets take the room left.
    SEDE->setFixedWidth(widthForChars(this, 4));
    CACCI2->setFixedWidth(widthForChars(this, 19));
    NUMCI2->setFixedWidth(widthForChars(this, 8));
    C_A_P2->setFixedWidth(widthForChars(this, 7));
    SEZDOG->setFixedWidth(widthForChars(this, 7));
    UFFDO2->setFixedWidth(office_->edit()->width());
    UFFDO2->setMaximumWidth(office_->edit()->maximumWidth());
    Memo1->setFixedHeight(Memo1->fontMetrics().lineSpacing() * 4 + 2 * Memo1->frameWidth()
                          + int(Memo1->document()->documentMargin() * 2) + 2);

    // The head office, read-only, beside the premises number.
    const auto right = Qt::AlignRight | Qt::AlignVCenter;
    auto* top = new QGridLayout;
    top->setHorizontalSpacing(8);
    top->addWidget(buddyLabel(QStringLiteral("n° della Sede Autorizzata (da 002 a 999)"), SEDE), 0, 0, right);
    top->addWidget(SEDE, 0, 1, Qt::AlignLeft);
    top->addWidget(Memo1, 0, 3);
    top->setColumnMinimumWidth(2, 16);
    top->setColumnStretch(3, 1);

    // The premises: labels right-aligned in columns 0 and 3, fields in 1-2 and 4-5.
    auto* g = new QGridLayout(premises);
    g->setHorizontalSpacing(8);
    g->setVerticalSpacing(6);
    int row = 0;
    g->addWidget(buddyLabel(QStringLiteral("Codice d'Accisa"), CACCI2), row, 0, right);
    g->addWidget(CACCI2, row, 1, 1, 2, Qt::AlignLeft);
    ++row;
    g->addWidget(buddyLabel(QStringLiteral("Denominazione"), DENOM2), row, 0, right);
    g->addWidget(DENOM2, row, 1, 1, 5);
    ++row;
    g->addWidget(buddyLabel(QStringLiteral("Indirizzo"), INDIR2), row, 0, right);
    g->addWidget(INDIR2, row, 1, 1, 2);
    g->addWidget(buddyLabel(QStringLiteral("Numero civico"), NUMCI2), row, 3, right);
    g->addWidget(NUMCI2, row, 4, Qt::AlignLeft);
    ++row;
    g->addWidget(buddyLabel(QStringLiteral("C.A.P."), C_A_P2), row, 0, right);
    g->addWidget(C_A_P2, row, 1, Qt::AlignLeft);
    g->addWidget(buddyLabel(QStringLiteral("Città"), CITTA2), row, 3, right);
    g->addWidget(CITTA2, row, 4, 1, 2);
    ++row;
    g->addWidget(buddyLabel(QStringLiteral("Ufficio Dogana"), office_->edit()), row, 0, right);
    g->addWidget(office_, row, 1, 1, 5);
    ++row;
    g->addWidget(buddyLabel(QStringLiteral("Sezione Dogana"), SEZDOG), row, 0, right);
    g->addWidget(SEZDOG, row, 1, Qt::AlignLeft);
    ++row;
    g->addWidget(buddyLabel(QStringLiteral("Ufficio Dogana per le esportazioni"), UFFDO2), row, 0, right);
    auto* exportRow = new QHBoxLayout;
    exportRow->addWidget(UFFDO2);
    exportRow->addWidget(BUFFDO2);
    exportRow->addStretch(1);
    g->addLayout(exportRow, row, 1, 1, 5);
    g->setColumnStretch(2, 1);
    g->setColumnStretch(5, 1);
    g->setColumnMinimumWidth(2, 12);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BCONF);
    buttons->addWidget(BABBANDONA);

    auto* main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addWidget(premises);
    main->addStretch(1);
    main->addLayout(buttons);
    setMinimumWidth(720);

    checks_->attach();
    checks_->onLeave(SEDE, [this] { return leavePremises(); });
    checks_->onLeave(CACCI2, [this] { return checkExcise(); });
    checks_->onLeave(DENOM2, [this] { return checkNameEdit(DENOM2); });
    checks_->onLeaveDo(office_->edit(), [this] { leaveOfficeField(*office_, UFFDO2, SEZDOG); });
    connect(office_, &CodedField::picked, this, [this] { deriveFromOffice(*office_, UFFDO2, SEZDOG); });
    connect(BUFFDO2, &QPushButton::clicked, this, [this] { openCompanyLink(ctx_, 1); });
    connect(BCONF, &QPushButton::clicked, this, &TFALTRESEDI::confirm);
    connect(BABBANDONA, &QPushButton::clicked, this, &QDialog::reject);

    // The head office in the memo, the first free number, the fields prefilled from the head office.
    trimCompany(ctx_.CompanyRecord);
    Memo1->setPlainText(HeadOfficeLines(ctx_.CompanyRecord).join(QLatin1Char('\n')));
    try {
        SEDE->setText(FirstFreePremises(ctx_));
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
    fill(NewPremisesFields(ctx_.CompanyRecord));
    SEDE->setFocus(Qt::OtherFocusReason);
}

void TFALTRESEDI::fill(const TRecAzienda& f)
{
    CACCI2->setText(f.CACCI2);
    DENOM2->setText(f.DENOM2);
    INDIR2->setText(f.INDIR2);
    NUMCI2->setText(f.NUMCI2);
    C_A_P2->setText(f.C_A_P2);
    CITTA2->setText(f.CITTA2);
    office_->setCode(f.UFFDO1);
    // A stored office shows its description; an unknown or empty one shows nothing until the
    // field is left.
    if (!office_->lookup())
        office_->companion()->clear();
    UFFDO2->setText(f.UFFDO2);
    SEZDOG->setText(f.SEZDOG);
}

TRecAzienda TFALTRESEDI::values() const
{
    TRecAzienda f = blankCompany();
    f.CACCI2 = CACCI2->text();
    f.DENOM2 = DENOM2->text();
    f.INDIR2 = INDIR2->text();
    f.NUMCI2 = NUMCI2->text();
    f.C_A_P2 = C_A_P2->text();
    f.CITTA2 = CITTA2->text();
    f.UFFDO1 = office_->code();
    f.UFFDO2 = UFFDO2->text();
    f.SEZDOG = SEZDOG->text();
    trimCompany(f);
    return f;
}

CheckResult TFALTRESEDI::leavePremises()
{
    CheckResult r = CheckPremisesNumber(SEDE->text());
    if (!r.ok)
        return r;
    // An existing premises is shown for modification; a new one keeps what the fields hold. A
    // confirmation that reached this load stops, so that the user sees the record first.
    try {
        if (auto existing = ReadCompanyFile(ctx_, SEDE->text())) {
            fill(*existing);
            return CheckResult::stop();
        }
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return CheckResult::stop();
    }
    return CheckResult::pass();
}

CheckResult TFALTRESEDI::checkExcise()
{
    return CheckCompanyExcise(CACCI2->text(), false, QStringLiteral("CACCI2"));
}

void TFALTRESEDI::confirm()
{
    try {
        // The number first: a premises record must never land in the head office's file. Then
        // every check speaks, in order, the focus ending on the last failing field.
        if (!checks_->show(CheckPremisesNumber(SEDE->text())))
            return;
        if (!checks_->confirmAll({
                [this] { return checkExcise(); },
                [this] { return checkAddressEdits({INDIR2, NUMCI2, C_A_P2, CITTA2}); },
                [this] { return checkNameEdit(DENOM2); },
                [this] { return checkOfficeField(*office_); },
            }))
            return;
        ctx_.CurrentAddress = PremisesRecord(values(), SEDE->text());
        WriteCompanyFile(ctx_, ctx_.CurrentAddress.CODUTE, ctx_.CurrentAddress);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    accept();
}

} // namespace vt
