#pragma once
// Page 2 of the e-AD compilation, "Dati del Trasporto": who arranges the transport and the
// transport company, mode, duration, fallback procedure, date and time of dispatch, and the
// transport lines (the shared transport-line editor).
#include "messages/ead/TFCOMPIE815_PAGINA.h"

class QRadioButton;

namespace vt {

class TransportLinesEditor;
class IntegerEdit;

class TransportPage : public CompilePage {
    Q_OBJECT
public:
    TransportPage(AppContext& ctx, FormChecks& checks, EadPanels& panels, QWidget* parent);

    void applyPanels() override;
    void clearCompanions();

    CodedField *RESTRA, *MODTRA, *LINAZT;
    QLineEdit *INFTRA, *INVDIF, *NILODD, *ORASPE, *PIAZTR;
    IntegerEdit *DURGIO, *DURORE;
    DateEdit* DATSPE;
    QRadioButton *RGIORNI, *RORE;
    QWidget* RTRASPORTO;
    QGroupBox* PAZIENDADITRASPORTO;
    QPushButton *BARCTRA, *BNUOTRA;
    TransportLinesEditor* lines;

private:
    void takeTransporter(const TRecIndirizzo& r);
    CheckResult leaveRestra();
    CheckResult leaveModtra();
    void chooseDuration(bool hours);
};

} // namespace vt
