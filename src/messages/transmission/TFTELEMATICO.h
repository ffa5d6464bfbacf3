#pragma once
// "SERVIZIO TELEMATICO DOGANALE - TRASMISSIONE FILE": waits for the signed file of the flow in
// ctx.Transmit, sends it to the customs file service in the test or the real environment, fetches
// and shows the outcome. The flow window reads ctx.Transmit once it has closed (positive real
// outcome, ARC of an IE815).
//
// The waiting counter is driven by a timer and the service calls run off the window's thread, so
// the window answers at any time; "&Abbandona" during a call takes effect when the call returns.
// A real put that turns out to have been taken in charge is followed to its outcome all the same,
// and a positive outcome is recorded (ctx.Transmit.storeOutcome) before the window closes.
#include <QDialog>

#include "foundation/AppContext.h"
#include "messages/transmission/OutcomeParser.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTextEdit;
class QTimer;

namespace vt {

// Asked when CONFERMA is reached again after the flow has been taken in charge in the real
// environment; only OK sends it once more.
inline constexpr const char* AlreadySentQuestion =
    "Flusso già inviato !  PREMI \"OK\" PER INVIARLO DI NUOVO";

class TFTELEMATICO : public QDialog {
    Q_OBJECT
public:
    explicit TFTELEMATICO(AppContext& ctx, QWidget* parent = nullptr);

    // Time between two looks for the signed file (1000 ms; tests shorten it).
    static void setWaitInterval(int ms);

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void waitRound();
    void confirm();
    bool send(bool real);
    outcome::Outcome fetchOutcome(bool evenIfAbandoned);
    void realOutcome(const outcome::Outcome& o);
    void recordOutcome();
    void setBusy(bool busy);
    void openEdi();

    AppContext& ctx_;
    QLabel* LFIRMATO;
    QLabel* LNOMEFILE;
    QLabel* LATTESA;
    QLabel* LCONTA;
    QGroupBox* GAMBIENTE;
    QRadioButton* RPROVA;
    QRadioButton* RREALE;
    QTextEdit* RICHED;
    QLabel* LOCCUPATO;
    QPushButton* BEDI;
    QPushButton* BCONF;
    QPushButton* BABBANDONA;
    QTimer* waitTimer_;
    int rounds_ = 0;
    bool busy_ = false;
    bool started_ = false;
};

} // namespace vt
