#include "messages/change/TFCOMPIE813_PAGINE.h"

#include <QHBoxLayout>
#include <QLabel>

#include "messages/change/ChangeDestination.h"
#include "ui/CodedField.h"
#include "ui/Edits.h"
#include "ui/FormChecks.h"
#include "ui/TransportLinesEditor.h"
#include "ui/Widgets.h"

namespace vt {

namespace {
// Hides a field of a page with its label (objectName "L" + the field's).
void hideWithLabel(QWidget* page, QWidget* field)
{
    field->hide();
    if (auto* l = page->findChild<QLabel*>(QLatin1Char('L') + field->objectName()))
        l->hide();
}
} // namespace

ChangeConsigneePage::ChangeConsigneePage(AppContext& ctx, FormChecks& checks, EadPanels& panels, QWidget* parent)
    : DestinationPage(ctx, checks, panels, parent)
{
    PDESTINATARIO->setTitle(QStringLiteral("Nuovo Destinatario "));
    PLUOGODESTINAZIONE->setTitle(QStringLiteral("Nuovo Luogo di destinazione  "));
    if (auto* l = findChild<QLabel*>(QStringLiteral("LUFFSPE")))
        l->setText(QStringLiteral("Ufficio Dogana della Destinazione"));
    UFFSPE->setToolTip(QStringLiteral("Ufficio doganale abilitato all'esportazioni del luogo di spedizione"));
    NUMFAT->setToolTip(
        QString::fromUtf8("se la fattura non è stata ancora emessa indicare il documento per il trasporto"));
    BDESTINATARI->setToolTip(QStringLiteral("Richiama un destinatario dall'indirizzario (F5)"));
    BNDESTINATARI->setText(QStringLiteral("Nuovo Indirizzo"));
    BNDESTINATARI->setToolTip(QStringLiteral("Inserisce un nuovo destinatario (F6)"));
    BSEED->setToolTip(QStringLiteral("verifica il codice d'accisa nella banca dati SEED"));
    next->setObjectName(QStringLiteral("BDAPAG1A2"));

    BAZIENDA = makeButton(this, "BAZIENDA", QStringLiteral("Rientro in Azienda"));
    BAZIENDA->setFocusPolicy(Qt::NoFocus);
    for (auto* bar : findChildren<QHBoxLayout*>())
        if (bar->indexOf(BDESTINATARI) >= 0) {
            bar->insertWidget(bar->indexOf(BNDESTINATARI) + 1, BAZIENDA);
            break;
        }
    connect(BAZIENDA, &QPushButton::clicked, this, &ChangeConsigneePage::returnToCompany);
    functionKey(BAZIENDA, Qt::Key_F9);
    if (auto* keys = findChild<QLabel*>(QStringLiteral("LTASTI")))
        keys->setText(keys->text().replace(QStringLiteral("F6: Nuovo Destinatario"), QStringLiteral("F6: Nuovo Indirizzo")) +
                      QStringLiteral("   F9: Rientro in Azienda"));

    for (const char* name : {"LDENDES", "LDENLDE"})
        if (auto* l = findChild<QLabel*>(QLatin1String(name)))
            l->setText(QStringLiteral("Denomin."));

    // A change names no message type, place of dispatch or exemption.
    hideWithLabel(this, TIPMES);
    DTIPMES->hide();
    PLUOGOSPEDIZIONE->hide();
    PESENZIONE->hide();
}

void ChangeConsigneePage::applyPanels()
{
    changePanels(panels_);
    DestinationPage::applyPanels();
}

void ChangeConsigneePage::returnToCompany()
{
    EadForm f;
    readInto(f);
    f.panels = panels_;
    copyCompanyReturn(ctx_.CompanyRecord, f);
    showForm(f);
    TIPDES->lookup();
    applyConsigneeType();
    for (CodedField* c : {LINDES, LINLDE})
        c->lookup();
    checks_.setTouched(true);
}

ChangeTransportPage::ChangeTransportPage(AppContext& ctx, FormChecks& checks, EadPanels& panels, QWidget* parent)
    : TransportPage(ctx, checks, panels, parent)
{
    previous->setObjectName(QStringLiteral("BDAPAG2A1"));
    next->setObjectName(QStringLiteral("BDAPAG2A3"));
    lines->BCONFTRA->setObjectName(QStringLiteral("CODETR"));
    lines->BCANTRA->setObjectName(QStringLiteral("BCADETR"));
    lines->BFINTRA->setObjectName(QStringLiteral("BDETRA"));
    for (auto* l : findChildren<QLabel*>())
        if (l->buddy() == lines->NDETRA)
            l->setText(QString::fromUtf8("Dettaglio del Trasporto: n°"));
    setupText(lines->IDUNTR, 35, TextCase::Upper); // a plate or serial number
    lines->entryText = changeDetailEntry;
    INFTRA->setToolTip(QStringLiteral("nota obbligatoria solo se modalità di trasporto=0 (altro)"));
    DURGIO->setToolTip(QStringLiteral("indicare un valore compreso tra 1 e 92"));
    DURORE->setToolTip(QStringLiteral("indicare un valore compreso tra 0 e 24"));
    applyPanels();
}

void ChangeTransportPage::applyPanels()
{
    panels_.nilodd = false;
    TransportPage::applyPanels();
    // The dispatch has happened: its date, time and procedure are the e-AD's.
    for (QWidget* w : {static_cast<QWidget*>(INVDIF), static_cast<QWidget*>(NILODD), static_cast<QWidget*>(DATSPE),
                       static_cast<QWidget*>(ORASPE)})
        hideWithLabel(this, w);
}

} // namespace vt
