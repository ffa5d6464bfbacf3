#include "messages/ead/TFCOMPIE815_DEST.h"

#include <QLabel>
#include <QVBoxLayout>

#include "foundation/Dates.h"
#include "foundation/IoError.h"
#include "foundation/Text.h"
#include "masterdata/AddressBook.h"
#include "ui/AddressActions.h"
#include "ui/CodedField.h"
#include "ui/CompanyFields.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"

namespace vt {

DestinationPage::DestinationPage(AppContext& ctx, FormChecks& checks, EadPanels& panels, QWidget* parent)
    : CompilePage(ctx, checks, panels, parent)
{
    setObjectName(QStringLiteral("PAGINA1"));
    auto* top = new QGridLayout;
    int r = 0;
    LINGUA = coded("LINGUA", QStringLiteral("T001"), 2, true);
    row(top, r, QStringLiteral("Lingua delle descrizioni"), LINGUA, 3);
    TIPMES = text("TIPMES", 1);
    DTIPMES = new QLabel(this);
    DTIPMES->setObjectName(QStringLiteral("DTIPMES"));
    row(top, r, QStringLiteral("Tipo Messaggio (1/2)"), TIPMES);
    top->addWidget(DTIPMES, r - 1, 2, 1, 2);

    PLUOGOSPEDIZIONE = panel("PLUOGOSPEDIZIONE", QStringLiteral("Luogo di Spedizione"));
    {
        auto* g = new QGridLayout(PLUOGOSPEDIZIONE);
        int pr = 0;
        SEDELS = text("SEDELS", 13, TextCase::Upper);
        SEDELS->setParent(PLUOGOSPEDIZIONE);
        auto put = [&](QLineEdit* e, const QString& label) {
            e->setParent(PLUOGOSPEDIZIONE);
            row(g, pr, label, e);
        };
        put(SEDELS, QStringLiteral("Luogo di Spedizione"));
        COIDLS = text("COIDLS", 13, TextCase::Upper);
        put(COIDLS, QStringLiteral("Codice Accisa"));
        put(text("DENLSP", 100), QStringLiteral("Denomin."));
        put(text("INDLSP", 65), QStringLiteral("Indirizzo"));
        put(text("NUCLSP", 11), QStringLiteral("N° civico"));
        put(text("CAPLSP", 10), QStringLiteral("C.A.P."));
        CITLSP = text("CITLSP", 50, TextCase::Upper);
        put(CITLSP, QStringLiteral("Città"));
        g->setColumnStretch(1, 1); // labels beside their fields, not pushed to the middle
    }
    top->addWidget(PLUOGOSPEDIZIONE, r++, 0, 1, 4);
    UFFSPE = text("UFFSPE", 8, TextCase::Upper);
    BUFFSPE = makeButton(this, "BUFFSPE", QStringLiteral("ec.europa.eu/taxation_customs/dds2/col"));
    BUFFSPE->setFocusPolicy(Qt::NoFocus);
    row(top, r, QStringLiteral("Ufficio Dogana della Spedizione"), UFFSPE);
    top->addWidget(BUFFSPE, r - 1, 2, 1, 2, Qt::AlignLeft);
    NUMFAT = text("NUMFAT", 35);
    row(top, r, QStringLiteral("Numero della fattura o altro documento"), NUMFAT, 3);
    DATFAT = new DateEdit(this);
    DATFAT->setObjectName(QStringLiteral("DATFAT"));
    DATFAT->setFixedWidth(widthForChars(DATFAT, 10));
    names_ << QStringLiteral("DATFAT");
    row(top, r, QStringLiteral("Data fattura o altro documento"), DATFAT);
    TIPDES = coded("TIPDES", QStringLiteral("T015"), 1);
    row(top, r, QStringLiteral("Tipo di Destinatario"), TIPDES, 3);

    BDESTINATARI = makeButton(this, "BDESTINATARI", QStringLiteral("Destinatari"));
    BNDESTINATARI = makeButton(this, "BNDESTINATARI", QStringLiteral("Nuovo Destinatario"));
    BSEED = makeButton(this, "BSEED", QStringLiteral("Banca Dati SEED"));
    for (QPushButton* b : {BDESTINATARI, BNDESTINATARI, BSEED})
        b->setFocusPolicy(Qt::NoFocus);
    auto* addressButtons = new QHBoxLayout;
    addressButtons->addWidget(BDESTINATARI);
    addressButtons->addWidget(BNDESTINATARI);
    addressButtons->addWidget(BSEED);
    addressButtons->addStretch(1);
    top->addLayout(addressButtons, r++, 1, 1, 3);

    auto addressPanel = [&](QGroupBox* box, const char* id, const char* den, const char* ind, const char* nuc,
                            const char* cap, const char* cit, const char* lin, CodedField*& language, QLineEdit*& idEdit,
                            QLabel*& idLabel) {
        auto* g = new QGridLayout(box);
        int pr = 0;
        idEdit = text(id, 13, TextCase::Upper);
        idEdit->setParent(box);
        idEdit->setFixedWidth(widthForChars(idEdit, 18));
        idLabel = qobject_cast<QLabel*>(row(g, pr, QStringLiteral("Identific."), idEdit));
        // The long labels of some types of consignee wrap instead of widening the window.
        idLabel->setWordWrap(true);
        idLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // Two lines for the usual ones ("Codice Accisa:" over "Authorized warehouse keeper").
        idLabel->setFixedWidth(idLabel->fontMetrics().horizontalAdvance(QStringLiteral("Authorized warehouse keeper")) + 8);
        for (auto [name, width, label] : {std::tuple{den, 100, "Denominazione"}, std::tuple{ind, 65, "Indirizzo"},
                                          std::tuple{nuc, 11, "N° civico"}, std::tuple{cap, 10, "C.A.P."}}) {
            QLineEdit* e = text(name, width);
            e->setParent(box);
            row(g, pr, QString::fromUtf8(label), e);
        }
        QLineEdit* city = text(cit, 50, TextCase::Upper);
        city->setParent(box);
        row(g, pr, QStringLiteral("Città"), city);
        language = coded(lin, QStringLiteral("T001"), 2, true);
        language->setParent(box);
        row(g, pr, QStringLiteral("Lingua"), language);
        g->setColumnStretch(1, 1);
    };
    PDESTINATARIO = panel("PDESTINATARIO", QStringLiteral("Destinatario "));
    addressPanel(PDESTINATARIO, "COIDDE", "DENDES", "INDDES", "NUCDES", "CAPDES", "CITDES", "LINDES", LINDES, COIDDE,
                 LCOIDDE);
    PLUOGODESTINAZIONE = panel("PLUOGODESTINAZIONE", QStringLiteral("Luogo di destinazione  "));
    addressPanel(PLUOGODESTINAZIONE, "COIDLD", "DENLDE", "INDLDE", "NUCLDE", "CAPLDE", "CITLDE", "LINLDE", LINLDE,
                 COIDLD, LCOIDLD);
    PESENZIONE = panel("PESENZIONE", QString());
    {
        auto* g = new QGridLayout(PESENZIONE);
        QLineEdit* cerese = text("CERESE", 100);
        cerese->setParent(PESENZIONE);
        auto* l = new QLabel(QStringLiteral("Indicare il numero di serie del certificato di esenzione e lo Stato membro"),
                             PESENZIONE);
        l->setBuddy(cerese);
        g->addWidget(l, 0, 0, 1, 2);
        g->addWidget(cerese, 1, 0, 1, 2);
        STAMEM = coded("STAMEM", QStringLiteral("T004"), 2);
        STAMEM->setParent(PESENZIONE);
        int pr = 2;
        row(g, pr, QStringLiteral("Stato Membro"), STAMEM);
    }
    pesportazione = panel("pesportazione", QString());
    {
        auto* g = new QGridLayout(pesportazione);
        uffesp = text("uffesp", 8, TextCase::Upper);
        uffesp->setParent(pesportazione);
        int pr = 0;
        row(g, pr, QStringLiteral("Ufficio doganale di esportazione "), uffesp);
        SpeedButton1 = makeButton(pesportazione, "SpeedButton1", QStringLiteral("ec.europa.eu/taxation_customs/dds2/col"));
        SpeedButton1->setFocusPolicy(Qt::NoFocus);
        g->addWidget(SpeedButton1, 0, 2, Qt::AlignLeft);
        g->setColumnStretch(3, 1);
    }

    auto* blocks = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(PDESTINATARIO);
    left->addWidget(pesportazione);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(PLUOGODESTINAZIONE);
    right->addWidget(PESENZIONE);
    right->addStretch(1);
    blocks->addLayout(left, 1);
    blocks->addLayout(right, 1);

    auto* layout = new QVBoxLayout(this);
    top->setColumnStretch(3, 1);
    layout->addLayout(top);
    layout->addLayout(blocks, 1);
    navigation(layout, 1, QStringLiteral("F5: Destinatari   F6: Nuovo Destinatario   F7: Banca Dati SEED   F8: Uffici doganali"));

    // Tab and Enter follow the order of the page.
    QList<QWidget*> order{LINGUA->edit(), TIPMES, SEDELS, COIDLS};
    for (const char* n : {"DENLSP", "INDLSP", "NUCLSP", "CAPLSP"})
        order << findChild<QLineEdit*>(QString::fromLatin1(n));
    order << CITLSP << UFFSPE << NUMFAT << DATFAT << TIPDES->edit() << COIDDE;
    for (const char* n : {"DENDES", "INDDES", "NUCDES", "CAPDES", "CITDES"})
        order << findChild<QLineEdit*>(QString::fromLatin1(n));
    order << LINDES->edit() << COIDLD;
    for (const char* n : {"DENLDE", "INDLDE", "NUCLDE", "CAPLDE", "CITLDE"})
        order << findChild<QLineEdit*>(QString::fromLatin1(n));
    order << LINLDE->edit() << findChild<QLineEdit*>(QStringLiteral("CERESE")) << STAMEM->edit() << uffesp << next;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    onLeave(LINGUA->edit(), [this] { return lookupOrPick(LINGUA, false); });
    onLeave(TIPMES, [this] {
        const CheckResult r = checkTipmes(TIPMES->text());
        showTipmes();
        if (r.ok)
            applyConsigneeType();
        return r;
    });
    onLeave(SEDELS, [this] { return leaveSedels(); });
    onLeave(DATFAT, [this] {
        return DATFAT->date().isValid() ? CheckResult::pass() : CheckResult::fail({}, QStringLiteral("DATFAT"));
    });
    onLeave(TIPDES->edit(), [this] { return leaveTipdes(); });
    onLeave(LINDES->edit(), [this] { return lookupOrPick(LINDES, false); });
    onLeave(LINLDE->edit(), [this] { return lookupOrPick(LINLDE, false); });
    onLeave(STAMEM->edit(), [this] { return lookupOrPick(STAMEM); });
    connect(TIPDES, &CodedField::picked, this, [this] { applyConsigneeType(); });

    functionKey(BDESTINATARI, Qt::Key_F5);
    functionKey(BNDESTINATARI, Qt::Key_F6);
    functionKey(BSEED, Qt::Key_F7);
    functionKey(BUFFSPE, Qt::Key_F8);
    connect(BDESTINATARI, &QPushButton::clicked, this, [this] {
        if (auto a = pickAddress(kConsigneeFile))
            takeConsignee(*a);
    });
    connect(BNDESTINATARI, &QPushButton::clicked, this, [this] {
        if (auto a = insertAddress(kConsigneeFile))
            takeConsignee(*a);
    });
    connect(BSEED, &QPushButton::clicked, this, [this] { openSeedDatabase(ctx_); });
    connect(BUFFSPE, &QPushButton::clicked, this, [this] { openCompanyLink(ctx_, 1); });
    connect(SpeedButton1, &QPushButton::clicked, this, [this] { openCompanyLink(ctx_, 1); });
}

void DestinationPage::showForm(const EadForm& f)
{
    setIdentifierLengths(consigneeView(f["TIPDES"], f["TIPMES"]));
    CompilePage::showForm(f);
}

void DestinationPage::setIdentifierLengths(const ConsigneeView& v)
{
    COIDDE->setMaxLength(v.coiddeMax);
    COIDLD->setMaxLength(v.coidldMax > 0 ? v.coidldMax : 32767);
}

void DestinationPage::applyPanels()
{
    PLUOGOSPEDIZIONE->setVisible(panels_.dispatch);
    PDESTINATARIO->setVisible(panels_.consignee);
    PLUOGODESTINAZIONE->setVisible(panels_.place);
    PESENZIONE->setVisible(panels_.exemption);
    pesportazione->setVisible(panels_.exportOffice);
    const ConsigneeView v = consigneeView(TIPDES->code(), TIPMES->text());
    LCOIDDE->setText(v.coiddeLabel);
    LCOIDLD->setText(v.coidldLabel);
    setIdentifierLengths(v);
}

void DestinationPage::applyConsigneeType()
{
    const ConsigneeView v = consigneeView(TIPDES->code(), TIPMES->text());
    EadForm f;
    f.panels = panels_;
    applyConsigneeView(v, f);
    panels_ = f.panels;
    applyPanels();
    if (v.focusNextPage && isVisible())
        focusFromLeave(next);
}

void DestinationPage::showTipmes()
{
    const QString t = trimField(TIPMES->text());
    DTIPMES->setText(t == QLatin1String("1")   ? QStringLiteral("presentazione standard")
                     : t == QLatin1String("2") ? QStringLiteral("esportazione con domiciliazione")
                                               : QString());
}

void DestinationPage::clearCompanions()
{
    for (CodedField* c : {LINGUA, TIPDES, LINDES, LINLDE, STAMEM})
        c->companion()->clear();
}

void DestinationPage::takeConsignee(const TRecIndirizzo& r)
{
    EadForm f;
    readInto(f);
    f.panels = panels_;
    copyConsignee(r, f);
    showForm(f);
    TIPDES->lookup();
    applyConsigneeType();
    for (CodedField* c : {LINDES, LINLDE, STAMEM})
        c->companion()->clear();
    checks_.setTouched(true);
}

CheckResult DestinationPage::leaveSedels()
{
    const CheckResult r = checkSedels(ctx_, SEDELS->text());
    if (!r.ok)
        return r;
    try {
        if (auto premises = dispatchPremises(ctx_, ctx_.CompanyRecord, SEDELS->text())) {
            EadForm f;
            readInto(f);
            copyDispatchPlace(*premises, trimField(SEDELS->text()) == QLatin1String("001"), f);
            showForm(f);
        }
    } catch (const IoError& e) {
        return CheckResult::fail(e.text(), QStringLiteral("SEDELS"));
    }
    return r;
}

CheckResult DestinationPage::leaveTipdes()
{
    if (TIPDES->lookup()) {
        applyConsigneeType();
        return CheckResult::pass();
    }
    TIPDES->pick();
    if (TIPDES->lookup()) {
        applyConsigneeType();
        return CheckResult::pass();
    }
    return CheckResult::fail({}, QStringLiteral("TIPDES"));
}

} // namespace vt
