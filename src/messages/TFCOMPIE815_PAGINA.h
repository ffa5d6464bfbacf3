#pragma once
// What the pages of the e-AD compilation window share: the edits built by name, width and case,
// labelled rows, the texts read and written by component name, the panel flags of the form, and
// the address pickers of the address book.
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <functional>
#include <optional>

#include "foundation/AppContext.h"
#include "messages/EadForm.h"
#include "ui/Edits.h"

namespace vt {

class CodedField;
class FormChecks;

class CompilePage : public QWidget {
    Q_OBJECT
public:
    CompilePage(AppContext& ctx, FormChecks& checks, EadPanels& panels, QWidget* parent);

    // The texts of the page's fields into / from the form (by component name).
    void readInto(EadForm& f) const;
    void showForm(const EadForm& f);
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
