#pragma once
// Page 1 of the e-AD compilation, "Speditore / Destinatario": language, message type, place of
// dispatch, invoice, type of consignee and the consignee, place-of-delivery, exemption and export
// blocks laid out by that type.
#include "messages/ead/TFCOMPIE815_PAGINA.h"

class QLabel;

namespace vt {

class DestinationPage : public CompilePage {
    Q_OBJECT
public:
    DestinationPage(AppContext& ctx, FormChecks& checks, EadPanels& panels, QWidget* parent);

    void applyPanels() override;
    // The identifiers' lengths of the form's type of consignee are set before any text is put in,
    // so that no identifier is cut to the length of the type shown before.
    void showForm(const EadForm& f) override;
    // The layout of the type of consignee in TIPDES (and TIPMES) into the flags and the page.
    void applyConsigneeType();
    void showTipmes();
    void clearCompanions();

    CodedField *LINGUA, *TIPDES, *LINDES, *LINLDE, *STAMEM;
    QLineEdit *TIPMES, *SEDELS, *COIDLS, *CITLSP, *UFFSPE, *NUMFAT, *COIDDE, *COIDLD, *uffesp;
    DateEdit* DATFAT;
    QLabel *DTIPMES, *LCOIDDE, *LCOIDLD;
    QGroupBox *PLUOGOSPEDIZIONE, *PDESTINATARIO, *PLUOGODESTINAZIONE, *PESENZIONE, *pesportazione;
    QPushButton *BDESTINATARI, *BNDESTINATARI, *BSEED, *BUFFSPE, *SpeedButton1;

private:
    void takeConsignee(const TRecIndirizzo& r);
    void setIdentifierLengths(const ConsigneeView& v);
    CheckResult leaveSedels();
    CheckResult leaveTipdes();
};

} // namespace vt
