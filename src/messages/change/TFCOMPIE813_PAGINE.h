#pragma once
// The first two pages of the change-of-destination window: the consignee page and the transport
// page of the e-AD compilation, with what a change does not carry hidden (message type, place of
// dispatch, exemption, fallback procedure, date and time of dispatch), the captions of the change,
// and the return of the goods to the company ("Rientro in Azienda").
#include "messages/ead/TFCOMPIE815_DEST.h"
#include "messages/ead/TFCOMPIE815_TRASP.h"

namespace vt {

class ChangeConsigneePage : public DestinationPage {
    Q_OBJECT
public:
    ChangeConsigneePage(AppContext& ctx, FormChecks& checks, EadPanels& panels, QWidget* parent);

    void applyPanels() override;

    QPushButton* BAZIENDA;

private:
    void returnToCompany();
};

class ChangeTransportPage : public TransportPage {
    Q_OBJECT
public:
    ChangeTransportPage(AppContext& ctx, FormChecks& checks, EadPanels& panels, QWidget* parent);

    void applyPanels() override;
};

} // namespace vt
