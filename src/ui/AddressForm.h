#pragma once
// What the address-book edit windows share (consignees: TFINSDESTINATARI / TFMODDESTINATARI;
// transporters, guarantors, suppliers: TFINSINDIRIZZO / TFMODINDIRIZZO): the "MODIFICA " label
// of the modify windows, labelled rows, the language field, the buttons CONFERMA, Mostra,
// Banca Dati SEED and Abbandona, the duplicate warnings of the insert windows, and the writing:
// an insert window adds the record (then clears itself when opened from the menu, else closes
// leaving the new record in ctx.CurrentAddress); a modify window replaces the record picked from
// the menu, keeping its code.
#include <QDialog>
#include <QMap>

#include <functional>

#include "foundation/AppContext.h"
#include "masterdata/AddressBook.h"

class QGridLayout;
class QLineEdit;
class QPushButton;

namespace vt {

class CodedField;
class FormChecks;

class AddressForm : public QDialog {
    Q_OBJECT
protected:
    AddressForm(AppContext& ctx, AddressKind kind, bool modify, const QString& addressFile, QWidget* parent);

    // ---- building
    QGridLayout* grid() const { return grid_; }
    // "MODIFICA " in the modify window, in the given columns of the first row.
    void addModifyLabel(int columnSpan);
    QLineEdit* line(const char* name, int maxLength, bool upper);
    // A labelled row: the label right-aligned in column 0, the field from column 1 over span columns.
    void addRow(QWidget* field, const QString& label, int span = 1);
    // The language of the descriptions (T001, lower case).
    CodedField* addLanguageRow();
    void addButtonRow(int columnSpan);
    void setShown(QWidget* field, bool shown);
    QWidget* labelOf(QWidget* field) const { return labels_.value(field); }
    void setLabelOf(QWidget* field, QWidget* label) { labels_.insert(field, label); }
    int nextRow() { return row_++; }

    // ---- behaviour
    QString path() const;
    // A code of its table, else the listing to choose one: true when the code is known.
    static bool lookupOrList(CodedField* field);
    // Shows the warning check() answers (a duplicate in the file), if any.
    void warn(const std::function<QString()>& check);
    // Writes the record built on confirming: insert or replace, then clear or close.
    void write(const TRecIndirizzo& record);
    // The insert window clears itself for the next entry.
    virtual void clearForm() = 0;
    // The modify window takes the record found by the address-pick sequence as its working copy.
    TRecIndirizzo takeFoundRecord();

    AppContext& ctx_;
    const AddressKind kind_;
    const bool modify_;
    FormChecks* checks_ = nullptr;
    QPushButton *BCONF = nullptr, *BABBANDONA = nullptr, *BMOSTRA = nullptr, *BSEED = nullptr;

private:
    QGridLayout* grid_ = nullptr;
    int row_ = 0;
    QMap<QWidget*, QWidget*> labels_;
};

} // namespace vt
