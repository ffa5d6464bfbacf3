#pragma once
// What the pages of the e-AD compilation window share: the edits built by name, width and case,
// labelled rows, the texts read and written by component name, the panel flags of the form, and
// the address pickers of the address book; and what the compilation windows (e-AD and change of
// destination) share around their pages: the summary page and the page asked for by the tab bar.
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <functional>
#include <optional>

#include "foundation/AppContext.h"
#include "messages/ead/EadForm.h"
#include "ui/Edits.h"

class QEvent;
class QTabWidget;
class QTextEdit;

namespace vt {

class CodedField;
class FormChecks;
class Messenger;

// The last page of a compilation window: the read-only summary in a fixed-pitch font over the
// buttons back-page, "&STAMPA", "&CONFERMA" and "&Abbandona" (Enter presses the one in hand),
// CONFERMA first in the tab order.
struct SummaryPage {
    QTextEdit* RIEPILOGO;
    QPushButton* back;
    QPushButton* BSTAMPA;
    QPushButton* BCONF;
    QPushButton* BABBANDONA;
};
SummaryPage buildSummaryPage(QWidget* page, const char* backName, const QString& backCaption,
                             Qt::FocusPolicy summaryFocus);

// A page check that failed, as the compilation windows show it: its message with the cursor on its
// field, then the page check's last word when the message was the field's own (pageCheckClosing).
void showPageCheck(FormChecks& checks, Messenger& messenger, const CheckResult& r);

// The page a left click on a tab of tabs, or Ctrl+Tab / Ctrl+PgDn (Ctrl+Shift+Tab / Ctrl+PgUp) in
// it, asks for; -1 for any other event. The window's event filter, installed on tabs and its tab
// bar, leaves the page in hand first and refuses the change when that leave refuses.
int requestedPage(QTabWidget* tabs, QObject* watched, QEvent* event);

class CompilePage : public QWidget {
    Q_OBJECT
public:
    CompilePage(AppContext& ctx, FormChecks& checks, EadPanels& panels, QWidget* parent);

    // The texts of the page's fields into / from the form (by component name).
    void readInto(EadForm& f) const;
    virtual void showForm(const EadForm& f);
    // Shows and hides the page's panels as the flags say.
    virtual void applyPanels() {}

    // The leave already queued for a field of this page (its page was hidden and shown again) is
    // not run: what it would say has been said.
    void passOverPendingLeave();

    QPushButton* previous = nullptr; // "Pagina n-1" (none on page 1)
    QPushButton* next = nullptr;     // "Pagina n+1"

signals:
    void previousPage();
    void nextPage();

protected:
    QLineEdit* text(const char* name, int maxLength, TextCase c = TextCase::AsTyped);
    CodedField* coded(const char* name, const QString& table, int maxLength, bool lower = false);
    // A labelled row in a grid (the label is the field's buddy); returns the label.
    QWidget* row(QGridLayout* grid, int& r, const QString& label, QWidget* field, int span = 1);
    QGroupBox* panel(const char* name, const QString& title);
    // The navigation bar, with the page's keys written beside it (the buttons that take no focus).
    void navigation(QLayout* into, int page, const QString& keys = {});
    // Field behaviour on leaving, run only while the field is on the page shown: a page that is
    // being hidden (a tab change refused or going back) leaves no picker or message behind.
    void onLeave(QWidget* field, std::function<CheckResult()> check);
    void onLeaveDo(QWidget* field, std::function<void()> action);
    // A function key for a button that takes no focus (address pickers), shown in its hint.
    void functionKey(QPushButton* button, Qt::Key key);
    // A leave behaviour that sends the focus on (RESTRA "3" to PIAZTR): the field that had just
    // received the focus is not being left by the user, and its own leave does not run.
    void focusFromLeave(QWidget* to);
    // Pasted text obeys the same rule as typed keys: digits only (decimal: grouped digits and one
    // comma) — the edits filter keys, a paste goes past them.
    static void numbersOnly(QLineEdit* edit, bool decimal);
    // Looks a coded field up; an unknown code opens its listing and keeps the focus.
    CheckResult lookupOrPick(CodedField* field, bool invalidText = true);

    // Picks an address of file (INDIRIZZI_D, _T, _G) from its listing; nothing when none chosen.
    std::optional<TRecIndirizzo> pickAddress(const QString& file);
    // Opens the insert window of file's kind; the record inserted there, if any.
    std::optional<TRecIndirizzo> insertAddress(const QString& file);

    AppContext& ctx_;
    FormChecks& checks_;
    EadPanels& panels_;
    QStringList names_; // the page's text fields

private:
    QPointer<QWidget> passedOver_; // focused only on the way, by focusFromLeave
    bool passAll_ = false;         // passOverPendingLeave
};

} // namespace vt
