#include "masterdata/TFDATIAZIENDA.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "foundation/IoError.h"
#include "foundation/Text.h"
#include "masterdata/AddressBook.h"
#include "masterdata/Company.h"
#include "ui/CodedField.h"
#include "ui/CompanyFields.h"
#include "ui/Edits.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"

namespace vt {

QLineEdit* TFDATIAZIENDA::edit(const char* name, int maxLength, bool upper)
{
    auto* e = new QLineEdit(this);
    e->setObjectName(QString::fromLatin1(name));
    setupText(e, maxLength, upper ? TextCase::Upper : TextCase::AsTyped);
    return e;
}

TFDATIAZIENDA::TFDATIAZIENDA(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFDATIAZIENDA"));
    setWindowTitle(QStringLiteral("Dati dell'Azienda"));
    checks_ = new FormChecks(this, ctx_.messenger());

    // Widgets in the order of the fields (Enter follows it).
    RTIPOIN = new QGroupBox(QStringLiteral("Tipo di Autorizzazione"), this);
    RTIPOIN->setObjectName(QStringLiteral("RTIPOIN"));
    tipo0_ = new QRadioButton(QStringLiteral("DEPOSITO FISCALE"), RTIPOIN);
    tipo1_ = new QRadioButton(QStringLiteral("SPEDITORE/DESTINATARIO AUTORIZZATO"), RTIPOIN);
    tipo0_->setObjectName(QStringLiteral("RTIPOIN0"));
    tipo1_->setObjectName(QStringLiteral("RTIPOIN1"));
    auto* tipoRow = new QHBoxLayout(RTIPOIN);
    tipoRow->addWidget(tipo0_, 1);
    tipoRow->addWidget(tipo1_, 1);

    CACCI1 = edit("CACCI1", 13, true);
    CODUTE = edit("CODUTE", 4, true);
    CODUTE->setToolTip(QStringLiteral("Digitare il codice attribuito dal Sistema Telematico Doganale"));
    DENOM1 = edit("DENOM1", 100, false);
    PARIVA = edit("PARIVA", 11, true);
    CODFIS = edit("CODFIS", 16, true);
    INDIR1 = edit("INDIR1", 65, false);
    NUMCI1 = edit("NUMCI1", 11, false);
    C_A_P1 = edit("C_A_P1", 10, false);
    CITTA1 = edit("CITTA1", 50, true);
    office_ = new CodedField(ctx_, QStringLiteral("TA03"), {"UFFDO1", "DUFFDOG", "BUFFDOG", "BNUFFDOG"}, 8, this);
    SEZDOG = edit("SEZDOG", 6, false);
    CONGAR = edit("CONGAR", 17, false);
    CAUESO = edit("CAUESO", 1, true);
    UFFDO2 = edit("UFFDO2", 8, false);
    BUFFDO2 = makeButton(this, "BUFFDO2", QStringLiteral("ec.europa.eu"));
    BUFFDO2->setFocusPolicy(Qt::NoFocus);
    BWEB = makeButton(this, "BWEB", QStringLiteral("Banca Dati SEED"));
    BWEB->setFocusPolicy(Qt::NoFocus);

    auto* place = new QGroupBox(QStringLiteral("Indirizzo del luogo di spedizione: 001 "), this);
    INDIR2 = edit("INDIR2", 65, false);
    NUMCI2 = edit("NUMCI2", 11, false);
    C_A_P2 = edit("C_A_P2", 10, false);
    CITTA2 = edit("CITTA2", 50, false);
    for (QLineEdit* e : {INDIR2, NUMCI2, C_A_P2, CITTA2})
        e->setParent(place);

    BCONF = makeButton(this, "BCONF", QStringLiteral("&CONFERMA"));
    BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));

    // Sizes: short codes get short edits, names and streets take the room left.
    CACCI1->setFixedWidth(widthForChars(this, 14));
    CODUTE->setFixedWidth(widthForChars(this, 5));
    PARIVA->setFixedWidth(widthForChars(this, 12));
    CODFIS->setFixedWidth(widthForChars(this, 17));
    for (QLineEdit* e : {NUMCI1, NUMCI2})
        e->setFixedWidth(widthForChars(this, 8));
    for (QLineEdit* e : {C_A_P1, C_A_P2})
        e->setFixedWidth(widthForChars(this, 7));
    SEZDOG->setFixedWidth(widthForChars(this, 7));
    CONGAR->setFixedWidth(widthForChars(this, 18));
    CAUESO->setFixedWidth(widthForChars(this, 2));
    UFFDO2->setFixedWidth(office_->edit()->width());
    UFFDO2->setMaximumWidth(office_->edit()->maximumWidth());

    // The form: labels right-aligned in column 0 and 3, fields in 1-2 and 4-5.
    // The company's fields in a frame like the dispatch place below, so that both grids have the
    // same margins and their columns line up.
    auto* identity = new QGroupBox(this);
    identity->setObjectName(QStringLiteral("GIDENTITY"));
    auto* g = new QGridLayout(identity);
    g->setHorizontalSpacing(8);
    g->setVerticalSpacing(6);
    const auto right = Qt::AlignRight | Qt::AlignVCenter;
    int row = 0;
    g->addWidget(buddyLabel(QStringLiteral("Codice d'Accisa"), CACCI1), row, 0, right);
    g->addWidget(CACCI1, row, 1, Qt::AlignLeft);
    g->addWidget(buddyLabel(QStringLiteral("Codice Utente"), CODUTE), row, 3, right);
    g->addWidget(CODUTE, row, 4, Qt::AlignLeft);
    ++row;
    g->addWidget(buddyLabel(QStringLiteral("Denominazione"), DENOM1), row, 0, right);
    g->addWidget(DENOM1, row, 1, 1, 5);
    ++row;
    g->addWidget(buddyLabel(QStringLiteral("Partita I.V.A."), PARIVA), row, 0, right);
    g->addWidget(PARIVA, row, 1, Qt::AlignLeft);
    g->addWidget(buddyLabel(QStringLiteral("Codice Fiscale"), CODFIS), row, 3, right);
    g->addWidget(CODFIS, row, 4, Qt::AlignLeft);
    ++row;
    g->addWidget(buddyLabel(QStringLiteral("Indirizzo"), INDIR1), row, 0, right);
    g->addWidget(INDIR1, row, 1, 1, 2);
    g->addWidget(buddyLabel(QStringLiteral("N° civico"), NUMCI1), row, 3, right);
    g->addWidget(NUMCI1, row, 4, Qt::AlignLeft);
    ++row;
    g->addWidget(buddyLabel(QStringLiteral("C.A.P."), C_A_P1), row, 0, right);
    g->addWidget(C_A_P1, row, 1, Qt::AlignLeft);
    g->addWidget(buddyLabel(QStringLiteral("Città"), CITTA1), row, 3, right);
    g->addWidget(CITTA1, row, 4, 1, 2);
    ++row;
    g->addWidget(buddyLabel(QStringLiteral("Ufficio Dogana"), office_->edit()), row, 0, right);
    g->addWidget(office_, row, 1, 1, 5);
    ++row;
    g->addWidget(buddyLabel(QStringLiteral("Sezione Dogana"), SEZDOG), row, 0, right);
    g->addWidget(SEZDOG, row, 1, Qt::AlignLeft);
    g->addWidget(buddyLabel(QStringLiteral("Codice Conto garanzia"), CONGAR), row, 3, right);
    g->addWidget(CONGAR, row, 4, Qt::AlignLeft);
    ++row;
    g->addWidget(buddyLabel(QStringLiteral("Cauzione / Esonero ? C/E"), CAUESO), row, 0, right);
    g->addWidget(CAUESO, row, 1, Qt::AlignLeft);
    g->addWidget(BWEB, row, 4, 1, 2, Qt::AlignLeft);
    ++row;
    auto* exportLabel = buddyLabel(QStringLiteral("Ufficio Dogana abilitato alle esportazioni (verifica nella banca dati WEB)"), UFFDO2);
    g->addWidget(exportLabel, row, 0, 1, 4, right);
    auto* exportRow = new QHBoxLayout;
    exportRow->addWidget(UFFDO2);
    exportRow->addWidget(BUFFDO2);
    exportRow->addStretch(1);
    g->addLayout(exportRow, row, 4, 1, 2);
    g->setColumnStretch(2, 1);
    g->setColumnStretch(5, 1);
    g->setColumnMinimumWidth(2, 12);

    auto* pg = new QGridLayout(place);
    pg->setHorizontalSpacing(8);
    pg->setVerticalSpacing(6);
    pg->addWidget(buddyLabel(QStringLiteral("Indirizzo"), INDIR2), 0, 0, right);
    pg->addWidget(INDIR2, 0, 1, 1, 2);
    pg->addWidget(buddyLabel(QStringLiteral("N° civico"), NUMCI2), 0, 3, right);
    pg->addWidget(NUMCI2, 0, 4, Qt::AlignLeft);
    pg->addWidget(buddyLabel(QStringLiteral("C.A.P."), C_A_P2), 1, 0, right);
    pg->addWidget(C_A_P2, 1, 1, Qt::AlignLeft);
    pg->addWidget(buddyLabel(QStringLiteral("Città"), CITTA2), 1, 3, right);
    pg->addWidget(CITTA2, 1, 4, 1, 2);
    pg->setColumnStretch(2, 1);
    pg->setColumnStretch(5, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BCONF);
    buttons->addWidget(BABBANDONA);

    auto* main = new QVBoxLayout(this);
    main->addWidget(RTIPOIN);
    main->addWidget(identity);
    main->addWidget(place);
    main->addStretch(1);
    main->addLayout(buttons);

    // The columns of both grids line up: same label and field widths, same stretch.
    const QFontMetrics fm = exportLabel->fontMetrics();
    for (QGridLayout* grid : {g, pg}) {
        grid->setColumnMinimumWidth(0, fm.horizontalAdvance(QStringLiteral("Cauzione / Esonero ? C/E")) + 8);
        grid->setColumnMinimumWidth(1, widthForChars(this, 14));
        grid->setColumnMinimumWidth(2, 12);
        grid->setColumnMinimumWidth(3, fm.horizontalAdvance(QStringLiteral("Codice Conto garanzia")) + 8);
        grid->setColumnMinimumWidth(4, widthForChars(this, 18));
    }
    setMinimumWidth(std::max(800, main->minimumSize().width()));

    checks_->attach();
    checks_->onLeave(CACCI1, [this] { return CheckCompanyExcise(CACCI1->text(), true, QStringLiteral("CACCI1")); });
    checks_->onLeave(CAUESO, [this] { return CheckDepositOrExemption(CAUESO->text()); });
    checks_->onLeave(CODUTE, [this] { return CheckUserCode(CODUTE->text()); });
    checks_->onLeave(DENOM1, [this] { return checkNameEdit(DENOM1); });
    checks_->onLeaveDo(office_->edit(), [this] { leaveOfficeField(*office_, UFFDO2, SEZDOG); });
    checks_->onLeaveDo(CITTA1, [this] { copyRegisteredAddress(); });
    checks_->onLeaveDo(CODFIS, [this] {
        if (QString w = FiscalCodeWarning(CODFIS->text()); !w.isEmpty())
            ctx_.messenger().info(w);
    });
    checks_->onLeaveDo(PARIVA, [this] {
        if (QString w = VatNumberWarning(PARIVA->text()); !w.isEmpty())
            ctx_.messenger().info(w);
    });
    connect(office_, &CodedField::picked, this, [this] { deriveFromOffice(*office_, UFFDO2, SEZDOG); });
    connect(tipo0_, &QRadioButton::clicked, this, [this] { CACCI1->setFocus(Qt::OtherFocusReason); });
    connect(tipo1_, &QRadioButton::clicked, this, [this] { CACCI1->setFocus(Qt::OtherFocusReason); });
    connect(BWEB, &QPushButton::clicked, this, [this] { openCompanyLink(ctx_, 0); });
    connect(BUFFDO2, &QPushButton::clicked, this, [this] { openCompanyLink(ctx_, 1); });
    connect(BCONF, &QPushButton::clicked, this, &TFDATIAZIENDA::confirm);
    connect(BABBANDONA, &QPushButton::clicked, this, &QDialog::reject);

    try {
        if (auto r = ReadCompanyFile(ctx_, QStringLiteral("001"))) {
            load(*r);
            loaded_ = true;
        }
    } catch (const IoError&) {
        // A file that cannot be read closes the window, as a missing one does.
    }
    CACCI1->setFocus(Qt::OtherFocusReason);
}

int TFDATIAZIENDA::exec()
{
    if (!loaded_)
        return QDialog::Rejected;
    return QDialog::exec();
}

void TFDATIAZIENDA::load(const TRecAzienda& r)
{
    (r.TIPOIN == QLatin1String("2") ? tipo1_ : tipo0_)->setChecked(true);
    CACCI1->setText(r.CACCI1);
    DENOM1->setText(r.DENOM1);
    PARIVA->setText(r.PARIVA);
    CODFIS->setText(r.CODFIS);
    INDIR1->setText(r.INDIR1);
    NUMCI1->setText(r.NUMCI1);
    C_A_P1->setText(r.C_A_P1);
    CITTA1->setText(r.CITTA1);
    CODUTE->setText(r.CODUTE);
    office_->setCode(r.UFFDO1);
    // A stored office shows its description; an unknown or empty one shows nothing until the
    // field is left.
    if (!office_->lookup())
        office_->companion()->clear();
    SEZDOG->setText(r.SEZDOG);
    CONGAR->setText(r.CONGAR);
    CAUESO->setText(r.CAUESO.isEmpty() ? QStringLiteral("C") : r.CAUESO);
    UFFDO2->setText(r.UFFDO2);
    INDIR2->setText(r.INDIR2);
    NUMCI2->setText(r.NUMCI2);
    C_A_P2->setText(r.C_A_P2);
    CITTA2->setText(r.CITTA2);
    copyRegisteredAddress();
}

TRecAzienda TFDATIAZIENDA::values() const
{
    TRecAzienda f = blankCompany();
    f.CACCI1 = CACCI1->text();
    f.DENOM1 = DENOM1->text();
    f.PARIVA = PARIVA->text();
    f.CODFIS = CODFIS->text();
    f.INDIR1 = INDIR1->text();
    f.NUMCI1 = NUMCI1->text();
    f.C_A_P1 = C_A_P1->text();
    f.CITTA1 = CITTA1->text();
    f.CODUTE = CODUTE->text();
    f.UFFDO1 = office_->code();
    f.SEZDOG = SEZDOG->text();
    f.CONGAR = CONGAR->text();
    f.CAUESO = CAUESO->text();
    f.UFFDO2 = UFFDO2->text();
    f.INDIR2 = INDIR2->text();
    f.NUMCI2 = NUMCI2->text();
    f.C_A_P2 = C_A_P2->text();
    f.CITTA2 = CITTA2->text();
    trimCompany(f);
    return f;
}

void TFDATIAZIENDA::copyRegisteredAddress()
{
    if (!trimField(INDIR2->text()).isEmpty())
        return;
    INDIR2->setText(INDIR1->text());
    NUMCI2->setText(NUMCI1->text());
    C_A_P2->setText(C_A_P1->text());
    CITTA2->setText(CITTA1->text());
}

void TFDATIAZIENDA::confirm()
{
    try {
        // All the checks run and each failing one speaks, in this order; the focus ends on the
        // last failing field. Nothing is written while one fails.
        if (!checks_->confirmAll({
                [this] { return CheckCompanyExcise(CACCI1->text(), true, QStringLiteral("CACCI1")); },
                [this] { return CheckDepositOrExemption(CAUESO->text()); },
                [this] { return checkAddressEdits({INDIR1, NUMCI1, C_A_P1, CITTA1, INDIR2, NUMCI2, C_A_P2, CITTA2}); },
                [this] { return checkNameEdit(DENOM1); },
                [this] { return checkOfficeField(*office_); },
                [this] { return CheckUserCode(CODUTE->text()); },
            }))
            return;
        ctx_.CurrentAddress = HeadOfficeRecord(values(), tipo1_->isChecked());
        WriteCompanyFile(ctx_, QStringLiteral("001"), ctx_.CurrentAddress);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    accept();
}

} // namespace vt
