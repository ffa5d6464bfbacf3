#pragma once
// The coded field: an edit for a code of a table, its read-only companion showing the code's
// description (or "CODICE NON VALIDO"), a "..." button (hint "mostra la tabella") that lists the
// table and puts the chosen code into the edit, and optionally a second "..." button (hint
// "Inserisce Nuovo Codice") that opens the code editor in new-code mode and takes the code
// entered there.
//
//   CodedField::Names names{"UFFDO1", "DUFFDOG", "BUFFDOG", "BNUFFDOG"};  // no new button: ""
//   auto* f = new CodedField(ctx, "TA03", names, 8, this);
//   form->addRow(label, f);           // edit, buttons and companion on one row
//   f->lookup();                      // true when found; companion filled either way
//
// The widgets keep their own objectNames, so tests and checks find them by name. The "..."
// buttons take no focus, so Enter goes from the edit straight to the next field.
// Lookups read the table through the table engine; I/O failures are shown through the Messenger.
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

#include <optional>

#include "foundation/TableRecord.h"
#include "ui/Edits.h"

class QLineEdit;

namespace vt {

class FormChecks;

struct AppContext;

// Lists table through TFLISTVIEW (TableName restored afterwards): nothing when the listing was
// left without a choice, else the chosen row's code (empty when the row is gone). I/O failures are
// shown through the Messenger.
std::optional<QString> pickTableCode(AppContext& ctx, const QString& table, QWidget* parent);
// "Elenca" of the table editors: a code picked from the listing goes into edit and the window
// counts as touched; the focus returns to edit either way.
void pickTableCodeInto(AppContext& ctx, const QString& table, QLineEdit* edit, FormChecks& checks);

class CodedField : public QWidget {
    Q_OBJECT
public:
    struct Names {
        QString edit;
        QString companion;
        QString listButton;
        QString newButton; // empty: no new-code button
    };

    CodedField(AppContext& ctx, const QString& table, const Names& names, int maxLength, QWidget* parent = nullptr);

    QLineEdit* edit() const { return edit_; }
    QLineEdit* companion() const { return companion_; }
    QToolButton* listButton() const { return list_; }
    QToolButton* newButton() const { return new_; } // nullptr when there is none

    const QString& table() const { return table_; }
    void setTable(const QString& table) { table_ = table; }
    // Upper case unless told otherwise (languages, T001, are lower case).
    void setTextCase(TextCase c);

    QString code() const;               // trimmed
    void setCode(const QString& code);  // no lookup
    // Looks the code up: description or "CODICE NON VALIDO" into the companion; true when found.
    bool lookup();
    std::optional<TRecTabella> lastRow() const { return row_; }
    void clear();

public slots:
    void pick();     // the listing; a chosen code goes into the edit, which gets the focus
    // The code editor in new-code mode (OpenCodeTable on this field's table); its confirmed code
    // goes into the edit.
    void newCode();

signals:
    void picked();   // after pick() or newCode() put a code into the edit (already looked up)

private:
    AppContext& ctx_;
    QString table_;
    QLineEdit* edit_;
    QLineEdit* companion_;
    QToolButton* list_;
    QToolButton* new_ = nullptr;
    std::optional<TRecTabella> row_;
};

inline const QString kInvalidCode = QStringLiteral("CODICE NON VALIDO");

} // namespace vt
