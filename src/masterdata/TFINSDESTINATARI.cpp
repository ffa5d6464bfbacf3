#include "masterdata/TFINSDESTINATARI.h"

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

ConsigneeWindow::ConsigneeWindow(AppContext& ctx, bool modify, QWidget* parent)
    : AddressForm(ctx, AddressKind::Consignee, modify, kConsigneeFile, parent)
{
    setObjectName(modify ? QStringLiteral("TFMODDESTINATARI") : QStringLiteral("TFINSDESTINATARI"));
    QGridLayout* g = grid();
    addModifyLabel(2);

    TIPOIN = new CodedField(ctx_, QStringLiteral("T015"), {"TIPOIN", "DTIPOIN", "BTIPOIN", "BNTIPOIN"}, 1, this);
    addRow(TIPOIN, QStringLiteral("Tipo di Destinatario"), 2);

    CACCI1 = line("CACCI1", 13, true);
    LIDEN = new QLabel(QStringLiteral("Identificativo"), this);
    LIDEN->setObjectName(QStringLiteral("LIDEN"));
    {
        auto* l = new QLabel(QStringLiteral("Codice d'Accisa"), this);
        l->setBuddy(CACCI1);
        const int row = nextRow();
        g->addWidget(l, row, 0, Qt::AlignRight);
        g->addWidget(CACCI1, row, 1, Qt::AlignLeft);
        g->addWidget(LIDEN, row, 2, Qt::AlignLeft);
        setLabelOf(CACCI1, l);
    }
    DENOM1 = line("DENOM1", 100, false);
    addRow(DENOM1, QStringLiteral("Denominazione"), 2);
    INDIR1 = line("INDIR1", 65, false);
    addRow(INDIR1, QStringLiteral("Indirizzo"), 2);
    NUMCI1 = line("NUMCI1", 11, false);
    addRow(NUMCI1, QStringLiteral("N° civico"), 2);
    C_A_P1 = line("C_A_P1", 10, false);
    addRow(C_A_P1, QStringLiteral("C.A.P."), 2);
    CITTA1 = line("CITTA1", 50, true);
    addRow(CITTA1, QStringLiteral("Città"), 2);

    CODUTE = new CodedField(ctx_, QStringLiteral("T004"), {"CODUTE", "DCODUTE", "BCODUTE", "BNCODUTE"}, 2, this);
    addRow(CODUTE, QStringLiteral("Stato Membro"), 2);
    // The long captions sit above their edits.
    auto addAbove = [&](QLineEdit* field, const QString& caption, const char* labelName) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(QString::fromLatin1(labelName));
        l->setBuddy(field);
        g->addWidget(l, nextRow(), 1, 1, 2);
        g->addWidget(field, nextRow(), 1, 1, 2, Qt::AlignLeft);
        setLabelOf(field, l);
    };
    ESENZIONE = line("ESENZIONE", 100, false);
    addAbove(ESENZIONE, QStringLiteral("Indicare il numero di serie del certificato di esenzione e lo Stato membro"),
             "LESENZIONE");

    // The place of destination: a heading, then its rows in the same columns as the address.
    LDESTINAZIONE = new QLabel(QStringLiteral("INDIRIZZO del LUOGO di DESTINAZIONE "), this);
    LDESTINAZIONE->setObjectName(QStringLiteral("LDESTINAZIONE"));
    LDESTINAZIONE->setStyleSheet(QStringLiteral("font-weight: bold;"));
    g->setRowMinimumHeight(nextRow(), 6);
    g->addWidget(LDESTINAZIONE, nextRow(), 0, 1, 3);
    CACCI2 = line("CACCI2", 13, true);
    addAbove(CACCI2,
             modify ? QStringLiteral("Codice d'Accisa del luogo di dstinazione: Tax warehouse")
                    : QStringLiteral("Codice d'Accisa del luogo di destinazione: Tax warehouse"),
             "LCACCI2");
    DENOM2 = line("DENOM2", 100, false);
    addRow(DENOM2, QStringLiteral("Denominazione"), 2);
    INDIR2 = line("INDIR2", 65, false);
    addRow(INDIR2, QStringLiteral("Indirizzo"), 2);
    NUMCI2 = line("NUMCI2", 11, false);
    addRow(NUMCI2, QStringLiteral("N° civico"), 2);
    C_A_P2 = line("C_A_P2", 10, false);
    addRow(C_A_P2, QStringLiteral("C.A.P."), 2);
    CITTA2 = line("CITTA2", 50, true);
    addRow(CITTA2, QStringLiteral("Città"), 2);
    g->setRowMinimumHeight(nextRow(), 6);

    SEZDOG = addLanguageRow();
    addRow(SEZDOG, QStringLiteral("Lingua delle descrizioni"), 2);
    addButtonRow(3);
    g->setColumnStretch(2, 1);

    // Tab and Enter follow the order of the form.
    QWidget* order[] = {TIPOIN->edit(), CACCI1, DENOM1, INDIR1, NUMCI1, C_A_P1, CITTA1, CODUTE->edit(), ESENZIONE,
                        CACCI2, DENOM2, INDIR2, NUMCI2, C_A_P2, CITTA2, SEZDOG->edit(), BCONF, BMOSTRA, BSEED, BABBANDONA};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    checks_->attach();
    checks_->onLeaveDo(TIPOIN->edit(), [this] { leaveType(); });
    checks_->onLeaveDo(CODUTE->edit(), [this] { lookupOrList(CODUTE); });
    checks_->onLeaveDo(SEZDOG->edit(), [this] { lookupOrList(SEZDOG); });
    if (!modify_) {
        checks_->onLeaveDo(CACCI1, [this] { leaveExcise(); });
        checks_->onLeaveDo(DENOM1, [this] { warn([this] { return DuplicateNameWarning(path(), DENOM1->text()); }); });
        checks_->onLeaveDo(CITTA1, [this] { leaveCity(); });
    }
    connect(TIPOIN, &CodedField::picked, this, [this] {
        if (TIPOIN->lastRow())
            applyType();
    });
    connect(BCONF, &QPushButton::clicked, this, &ConsigneeWindow::confirm);
}

AddressFields ConsigneeWindow::fields() const
{
    AddressFields f;
    f.TIPOIN = TIPOIN->code();
    f.CACCI1 = CACCI1->text();
    f.CACCI2 = CACCI2->text();
    f.DENOM1 = DENOM1->text();
    f.DENOM2 = DENOM2->text();
    f.ESENZIONE = ESENZIONE->text();
    f.INDIR1 = INDIR1->text();
    f.NUMCI1 = NUMCI1->text();
    f.C_A_P1 = C_A_P1->text();
    f.CITTA1 = CITTA1->text();
    f.INDIR2 = INDIR2->text();
    f.NUMCI2 = NUMCI2->text();
    f.C_A_P2 = C_A_P2->text();
    f.CITTA2 = CITTA2->text();
    f.CODUTE = CODUTE->code();
    f.SEZDOG = SEZDOG->code();
    return f;
}

void ConsigneeWindow::setFields(const AddressFields& f)
{
    TIPOIN->setCode(f.TIPOIN);
    CACCI1->setText(f.CACCI1);
    CACCI2->setText(f.CACCI2);
    DENOM1->setText(f.DENOM1);
    DENOM2->setText(f.DENOM2);
    ESENZIONE->setText(f.ESENZIONE);
    INDIR1->setText(f.INDIR1);
    NUMCI1->setText(f.NUMCI1);
    C_A_P1->setText(f.C_A_P1);
    CITTA1->setText(f.CITTA1);
    INDIR2->setText(f.INDIR2);
    NUMCI2->setText(f.NUMCI2);
    C_A_P2->setText(f.C_A_P2);
    CITTA2->setText(f.CITTA2);
    CODUTE->setCode(f.CODUTE);
    SEZDOG->setCode(f.SEZDOG);
    for (CodedField* c : {TIPOIN, CODUTE, SEZDOG})
        c->companion()->clear();
}

void ConsigneeWindow::applyType()
{
    const ConsigneeLayout l = ConsigneeTypeLayout(TIPOIN->code());
    LIDEN->setText(l.identifierLabel);
    setShown(CACCI1, l.identifier);
    LIDEN->setVisible(l.identifier);
    if (!l.identifier)
        CACCI1->clear();
    LDESTINAZIONE->setVisible(l.place);
    for (QWidget* e : {DENOM2, INDIR2, NUMCI2, C_A_P2, CITTA2})
        setShown(e, l.place);
    setShown(CACCI2, l.placeExcise);
    setShown(ESENZIONE, l.exemption);
    setShown(CODUTE, l.exemption);
    if (!modify_) {
        if (!l.place)
            for (QLineEdit* e : {DENOM2, INDIR2, NUMCI2, C_A_P2, CITTA2})
                e->clear();
        if (!l.placeExcise)
            CACCI2->clear();
        if (!l.exemption) {
            ESENZIONE->clear();
            CODUTE->clear();
        }
    }
}

void ConsigneeWindow::clearForm()
{
    setFields(AddressFields{});
    SEZDOG->setCode(QStringLiteral("it"));
    applyType();
    checks_->resetTouched();
    TIPOIN->edit()->setFocus(Qt::OtherFocusReason);
}

void ConsigneeWindow::leaveType()
{
    const QString accepted = AcceptedConsigneeType(TIPOIN->code());
    if (accepted != TIPOIN->code())
        TIPOIN->setCode(accepted);
    if (lookupOrList(TIPOIN))
        applyType();
}

void ConsigneeWindow::leaveExcise()
{
    const QString type = TIPOIN->code();
    // An excise number too short to name a country leaves the language alone.
    const bool byExcise = type == QLatin1String("1") || type == QLatin1String("2") || type == QLatin1String("3")
        || type == QLatin1String("4");
    if (byExcise && trimField(CACCI1->text()).size() >= 2) {
        SEZDOG->setCode(LanguageFromExcise(CACCI1->text()));
        SEZDOG->lookup();
    }
    warn([this] { return DuplicateExciseWarning(path(), CACCI1->text()); });
}

void ConsigneeWindow::leaveCity()
{
    const QString type = TIPOIN->code();
    if ((type != QLatin1String("1") && type != QLatin1String("4")) || !trimField(DENOM2->text()).isEmpty())
        return;
    DENOM2->setText(DENOM1->text());
    INDIR2->setText(INDIR1->text());
    NUMCI2->setText(NUMCI1->text());
    C_A_P2->setText(C_A_P1->text());
    CITTA2->setText(CITTA1->text());
    if (type == QLatin1String("1"))
        CACCI2->setText(CACCI1->text());
}

void ConsigneeWindow::confirm()
{
    if (!checks_->touched()) {
        TIPOIN->edit()->setFocus(Qt::OtherFocusReason);
        return;
    }
    leaveType();
    if (!TIPOIN->lastRow())
        return;
    if (!lookupOrList(SEZDOG))
        return;
    const AddressFields f = fields();
    const bool memberState = FieldsShown(AddressKind::Consignee, f.TIPOIN).exemption && CODUTE->lookup();
    if (!checks_->show(CheckRequiredAddressFields(AddressKind::Consignee, f)))
        return;
    write(BuildAddressRecord(AddressKind::Consignee, f, memberState));
}

TFINSDESTINATARI::TFINSDESTINATARI(AppContext& ctx, QWidget* parent) : ConsigneeWindow(ctx, false, parent)
{
    clearForm();
}

} // namespace vt
