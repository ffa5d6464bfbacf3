#pragma once
// "Cambio di destinazione - messaggio IE813": the window in which the consignor changes the
// destination of an accepted e-AD (the e-AD in EadHeader, its transport lines in TRASPORTO.DAT):
// new consignee and place of delivery, transport data and transport details, the summary, and on
// confirming the change stored and the IE813 flow window opened over this one. The checks, the
// record built and the saving are logic (messages/ChangeDestination.h); this class binds them to
// the widgets and runs the page navigation.
#include <QDialog>

#include "foundation/AppContext.h"
#include "messages/ead/EadForm.h"

#include <QStringList>

class QPushButton;
class QTabWidget;
class QTextEdit;

namespace vt {

inline const QString MsgAbandonChange =
    QStringLiteral("ABBANDONARE IL CAMBIO DI DESTINAZIONE ? I DATI NON CONFERMATI ANDRANNO PERSI");

class FormChecks;
class ChangeConsigneePage;
class ChangeTransportPage;

class TFCOMPIE813 : public QDialog {
    Q_OBJECT
public:
    explicit TFCOMPIE813(AppContext& ctx, QWidget* parent = nullptr);

    // The form as the pages show it.
    EadForm currentForm() const;

public slots:
    // Esc or "&Abbandona": with something typed or a transport detail changed since opening, asks
    // first (default No).
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    // A tab clicked, or Ctrl+Tab/PgDn: the field being typed is left first, as Tab would leave it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showForm(const EadForm& f);
    void open();
    void pageChanged(int index);
    bool mayLeave(int from, int to);
    CheckResult pageCheck(int page);
    void enterPage(int page);
    void goToPage(int page);
    bool leavingPage(int to);
    bool settleLine();
    void showFailure(int page, const CheckResult& r);
    void buildSummary();
    void confirm();
    QStringList snapshot() const;

    AppContext& ctx_;
    FormChecks* checks_;
    EadPanels panels_;
    QTabWidget* PCCOMPIE813;
    ChangeConsigneePage* page1_;
    ChangeTransportPage* page2_;
    QWidget* page3_;
    QTextEdit* RIEPILOGO;
    QPushButton *BSTAMPA, *BCONF, *BABBANDONA, *DAPAG5A4;
    int current_ = 0;
    bool switching_ = false;
    bool opened_ = false;
    bool saved_ = false;
    QStringList opening_; // snapshot() once opened
};

} // namespace vt
