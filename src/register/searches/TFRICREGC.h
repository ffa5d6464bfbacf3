#pragma once
// The register searches: TFRICREGC over the movement register (loads, unloads,
// conclusions, changes of destination; by movement date or, among the sent, by
// flow date; one counterpart or all), TFRICREGF over the guarantee register.
// CONFERMA prints the selection to the preview; the window stays open for
// another search.
#include <QDialog>

#include "foundation/AppContext.h"
#include "register/searches/RegisterSearch.h"

class QLineEdit;
class QPushButton;
class QToolButton;

namespace vt {

class DateEdit;
class FormChecks;

class TFRICREGC : public QDialog {
    Q_OBJECT
public:
    explicit TFRICREGC(AppContext& ctx, QWidget* parent = nullptr) : TFRICREGC(ctx, parent, false) {}

    DateEdit* MDADA;
    DateEdit* MDAAL;
    QLineEdit* MITDES = nullptr;    // movements only
    QToolButton* BMITDES = nullptr; // movements only
    QPushButton* BCONF;
    QPushButton* BABBANDONA;

    // The search of the last confirmation and what it selected.
    const RegisterSearch& search() const { return search_; }
    const QList<TRecMovimento>& selected() const { return selected_; }

protected:
    TFRICREGC(AppContext& ctx, QWidget* parent, bool guarantees);
    void showEvent(QShowEvent* event) override;

private:
    void pickCounterpart();
    void confirm();

    AppContext& ctx_;
    SearchMode mode_;
    FormChecks* checks_;
    RegisterSearch search_;
    QList<TRecMovimento> selected_;
};

class TFRICREGF : public TFRICREGC {
    Q_OBJECT
public:
    explicit TFRICREGF(AppContext& ctx, QWidget* parent = nullptr) : TFRICREGC(ctx, parent, true) {}
};

} // namespace vt
