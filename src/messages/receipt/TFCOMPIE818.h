#pragma once
// "Nota di Ricezione - messaggio IE818": the report of receipt of the received e-AD in
// ctx.EadHeader (a header of XML.DAT, its lines in XML.ITE). Page 1 holds the consignor, the lines,
// the outcome, the arrival date and the note; page 2 the differences of the lines; page 3 the
// summary and the confirmation, which stores the report for ctx.WorkYear.
#include <QDate>
#include <QDialog>

#include "foundation/AppContext.h"
#include "foundation/Check.h"
#include "messages/receipt/ReceiptReport.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QShortcut;
class QTabWidget;
class QTextEdit;
class QTreeWidget;

namespace vt {

class CodedField;
class DateEdit;
class DifferencesGrid;
class FormChecks;

class TFCOMPIE818 : public QDialog {
    Q_OBJECT
public:
    explicit TFCOMPIE818(AppContext& ctx, QWidget* parent = nullptr);
    ~TFCOMPIE818() override;

    // A report was stored.
    bool confirmed() const { return confirmed_; }
    bool firstPageUntouched() const;

    QTabWidget* PCCOMPIE818;
    QLineEdit *COIDSP, *DENSPE, *INDSPE, *CITSPE, *NUMARC, *NPRDAA;
    QTreeWidget* LISTA;
    CodedField* LINGUA;
    CodedField* LINPRG;
    DateEdit* IMGPRO;
    QLineEdit* DENPRG;
    QLabel* Label23;
    DifferencesGrid* STGRID;
    QLabel* TIPO;
    QListWidget* MOTIVO;
    QTextEdit* RIEPILOGO;
    QPushButton *BDAPAG1A2, *BDAPAG2A1, *BDAPAG2A3, *DAPAG5A4, *BSTAMPA, *BCONF, *BABBANDONA;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildPageOne();
    QWidget* buildPageTwo();
    QWidget* buildPageThree();
    void open();
    void showPage(int page, bool backward);
    void pageChanged(int page);
    bool leavePage(int from);
    void pageEntered(int page);
    void codeLeft(CodedField* field);
    void applyOutcome();
    bool pageOneCheck(QString* focus);
    CheckResult arrivalLeft();
    bool arrivalConfirmed();
    ReceiptEntry entry() const;
    bool buildLines();
    bool buildSummary();
    void cellSelected(int row, int column);
    void confirm();
    void enablePageKeys();

    AppContext& ctx_;
    FormChecks* checks_;
    QList<TRecDettaglio> app_;      // the e-AD's lines (XML.APP)
    QList<TRecTabella> reasons_;    // T025
    QStringList codes_;
    QString outcome_;               // the T023 code found by the last lookup
    ReceiptLines lines_;            // DETTAGLI.818
    TRecEad message_;               // the report being built
    int page_ = 0;
    bool switching_ = false;
    bool backward_ = false;
    bool opened_ = false;
    bool confirmed_ = false;
    QDate arrivalAccepted_;         // an unusual arrival date the user confirmed
    bool arrivalDeclined_ = false;  // the last question about it was answered No
    QList<QShortcut*> pageShortcuts_;
};

} // namespace vt
