#pragma once
// "Compila e-AD messaggio IE815": the window in which the user writes an e-AD (new) or changes an
// unsent one (ModifyMode, the loaded header in EadHeader and OldEad, its lines in the work files),
// or writes a new one filled from an earlier one (DuplicateEad, the earlier one in EadHeader).
// Five pages in the page control PCCOMPEAD; the fourth-to-first are their own classes, the fifth
// (summary and confirmation) is built here. The checks, the layout rules and the header built on
// confirming are logic functions (messages/EadForm.h, EadLines.h, EadCompile.h); this class binds
// them to the widgets and runs the page navigation. On confirming, the e-AD is saved and the IE815
// flow window opens over this one; this window closes when that one does.
#include <QDialog>

#include "foundation/AppContext.h"
#include "messages/ead/EadForm.h"

class QPushButton;
class QShortcut;
class QTabWidget;
class QTextEdit;

namespace vt {

// Asked when the window is abandoned (Esc, "&Abbandona") with something typed or confirmed in it.
inline const QString MsgAbandonCompilation =
    QStringLiteral("ABBANDONARE LA COMPILAZIONE DELL'e-AD ? I DATI NON CONFERMATI ANDRANNO PERSI");

class FormChecks;
class DestinationPage;
class TransportPage;
class ProductsPage;
class GuaranteePage;
class CompilePage;

class TFCOMPIE815 : public QDialog {
    Q_OBJECT
public:
    explicit TFCOMPIE815(AppContext& ctx, QWidget* parent = nullptr);

    // The form as the pages show it.
    EadForm currentForm() const;

public slots:
    // Esc and "&Abbandona": with changes since opening, only after the user says so.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    // A page that grows (a panel shown) keeps the window on its screen.
    void resizeEvent(QResizeEvent* event) override;
    // A tab clicked (or Ctrl+Tab) while a field is being typed: that field is left first, as a
    // Tab key would leave it (its derived values, loads and refusals), before the page check.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showForm(const EadForm& f);
    void openNew();
    void openModify();
    void openDuplicate();
    // Page changes: the untouched window refuses them; leaving a page forward needs its check.
    void pageChanged(int index);
    bool mayLeave(int from, int to);
    CheckResult pageCheck(int page);
    void enterPage(int page);
    void goToPage(int page);
    CompilePage* page(int index) const;
    // A transport or product line typed and not confirmed when its page is left: the user confirms
    // it or drops it. False: the line stays (its confirmation failed).
    bool settleLine();
    // Before the page changes to `to` (a page button, a tab, Ctrl+Tab): false keeps this page.
    bool leavingPage(int to);
    void buildSummary();
    void showSummary(const QStringList& lines);
    // What the window holds, to tell whether abandoning it loses anything.
    QStringList snapshot() const;
    void confirm();
    void print();

    AppContext& ctx_;
    const bool modify_;
    const bool duplicate_; // a new e-AD filled from an earlier one
    FormChecks* checks_;
    EadPanels panels_;
    QTabWidget* PCCOMPEAD;
    DestinationPage* page1_;
    TransportPage* page2_;
    ProductsPage* page3_;
    GuaranteePage* page4_;
    QWidget* page5_;
    QTextEdit* RIEPILOGO;
    QPushButton *BSTAMPA, *BCONF, *BABBANDONA, *BPAG4;
    QShortcut* toSummary_ = nullptr;
    QStringList opening_; // snapshot() once opened
    int current_ = 0;
    bool switching_ = false;
    bool pageError_ = false;
    bool opened_ = false;
};

} // namespace vt
