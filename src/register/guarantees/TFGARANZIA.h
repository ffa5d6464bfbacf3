#pragma once
// "GARANZIA": the guarantee record of one day - committed, released, new deposit, redeemed and the
// balance available after the day - inserted, modified or rectified as OpCode says. The record it
// starts from (O) is the register record buffer.
#include <QDialog>

#include "foundation/AppContext.h"
#include "register/guarantees/GuaranteeEntry.h"

class QLineEdit;
class QPushButton;

namespace vt {

class DateEdit;
class DecimalEdit;
class FormChecks;

inline const QString MsgAbandonGuarantee =
    QStringLiteral("ABBANDONARE LA GARANZIA ? I DATI NON CONFERMATI ANDRANNO PERSI");

class TFGARANZIA : public QDialog {
    Q_OBJECT
public:
    explicit TFGARANZIA(AppContext& ctx, QWidget* parent = nullptr);

    DateEdit* DATMOV;
    DecimalEdit* DOUBL1;
    DecimalEdit* DOUBL2;
    DecimalEdit* DOUBL3;
    DecimalEdit* DOUBL4;
    QLineEdit* DOUBL5;
    QLineEdit* MITDES;
    QLineEdit* ANNOTA;
    QPushButton* BCONF;
    QPushButton* BABBANDONA;

    // Whether a guarantee record was written.
    bool saved() const { return saved_; }

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    GuaranteeFields fields() const;
    void showFields(const GuaranteeFields& f);
    bool loadDay(); // the day's totals and balance for DATMOV; false when the day cannot take a record
    void showBalance();
    void confirm();

    AppContext& ctx_;
    QChar mode_;
    TRecGaranzia old_;
    GuaranteeDay day_;
    FormChecks* checks_;
    bool saved_ = false;
    bool opened_ = false;
};

} // namespace vt
