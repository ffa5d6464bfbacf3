#pragma once
// Transport companies, guarantors and suppliers (INDIRIZZI_T, _G, _F): the insert window
// TFINSINDIRIZZO and, sharing its form, the modify window TFMODINDIRIZZO. The file is the one
// named by TableName when the window opens.
#include <QDialog>
#include <QMap>

#include "foundation/AppContext.h"
#include "masterdata/AddressBook.h"

class QGridLayout;
class QLineEdit;
class QPushButton;

namespace vt {

class CodedField;
class FormChecks;

class AddressWindow : public QDialog {
    Q_OBJECT
protected:
    AddressWindow(AppContext& ctx, bool modify, QWidget* parent);

    // Writes the record built on confirming (IoError passes through), then clears or closes.
    virtual void write(const TRecIndirizzo& record) = 0;

    AddressFields fields() const;
    void setFields(const AddressFields& f);
    void clearForm();
    QString path() const;

    AppContext& ctx_;
    const bool modify_;
    const AddressKind kind_;
    FormChecks* checks_ = nullptr;

private:
    QLineEdit* line(const char* name, int maxLength, bool upper);
    void addRow(QWidget* field, const QString& label, int& row, QGridLayout* grid);
    void leaveVat();
    void leaveExcise();
    void leaveName();
    bool lookupOrList(CodedField* field);
    void confirm();

    QLineEdit *CACCI2 = nullptr, *CACCI1 = nullptr, *DENOM1 = nullptr, *INDIR1 = nullptr, *NUMCI1 = nullptr,
              *C_A_P1 = nullptr, *CITTA1 = nullptr, *CAUESO = nullptr, *CONGAR = nullptr;
    CodedField* SEZDOG = nullptr;
    QPushButton *BCONF = nullptr, *BABBANDONA = nullptr, *BMOSTRA = nullptr, *BSEED = nullptr;
    QMap<QWidget*, QWidget*> labels_;
};

class TFINSINDIRIZZO : public AddressWindow {
    Q_OBJECT
public:
    explicit TFINSINDIRIZZO(AppContext& ctx, QWidget* parent = nullptr);

protected:
    void write(const TRecIndirizzo& record) override;
};

} // namespace vt
