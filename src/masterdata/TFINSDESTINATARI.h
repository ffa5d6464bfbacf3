#pragma once
// Consignees of e-ADs (INDIRIZZI_D): the insert window TFINSDESTINATARI and, sharing its form,
// the modify window TFMODDESTINATARI. The fields shown depend on the type of consignee (T015).
#include <QDialog>
#include <QMap>

#include "foundation/AppContext.h"
#include "masterdata/AddressBook.h"

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vt {

class CodedField;
class FormChecks;

class ConsigneeWindow : public QDialog {
    Q_OBJECT
protected:
    ConsigneeWindow(AppContext& ctx, bool modify, QWidget* parent);

    // Writes the record built on confirming (IoError passes through), then clears or closes.
    virtual void write(const TRecIndirizzo& record) = 0;

    AddressFields fields() const;
    void setFields(const AddressFields& f);
    // Shows the fields of the type in TIPOIN; the insert window also empties those it hides.
    void applyType();
    void clearForm();
    QString path() const;

    AppContext& ctx_;
    const bool modify_;
    FormChecks* checks_ = nullptr;

private:
    QLineEdit* line(const char* name, int maxLength, bool upper);
    void addRow(QWidget* field, const QString& label, int& row, QGridLayout* grid);
    void setShown(QWidget* field, bool shown);
    void leaveType();
    void leaveExcise();
    void leaveName();
    void leaveCity();
    bool lookupOrList(CodedField* field);
    void confirm();

    CodedField *TIPOIN = nullptr, *CODUTE = nullptr, *SEZDOG = nullptr;
    QLabel* LIDEN = nullptr;
    QLineEdit *CACCI1 = nullptr, *DENOM1 = nullptr, *INDIR1 = nullptr, *NUMCI1 = nullptr, *C_A_P1 = nullptr,
              *CITTA1 = nullptr, *ESENZIONE = nullptr, *CACCI2 = nullptr, *DENOM2 = nullptr, *INDIR2 = nullptr,
              *NUMCI2 = nullptr, *C_A_P2 = nullptr, *CITTA2 = nullptr;
    QLabel* LDESTINAZIONE = nullptr; // heading of the place-of-destination group
    QPushButton *BCONF = nullptr, *BABBANDONA = nullptr, *BMOSTRA = nullptr, *BSEED = nullptr;
    QMap<QWidget*, QWidget*> labels_;
};

class TFINSDESTINATARI : public ConsigneeWindow {
    Q_OBJECT
public:
    explicit TFINSDESTINATARI(AppContext& ctx, QWidget* parent = nullptr);

protected:
    void write(const TRecIndirizzo& record) override;
};

} // namespace vt
