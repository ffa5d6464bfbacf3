#pragma once
// The lifecycle window of an e-AD chosen in the chooser, one window for every mode of OpCode:
// "R" registers its ARC, "C" deletes it while unsent, "A" resets the send data of its IE815, "X"
// cancels it (the cancellation record, then the IE810 flow window), "x" withdraws an unsent
// cancellation, "a" resets the send data of an IE810, "d" deletes an unsent change of destination,
// "e" resets the send data of an IE813. It shows the e-AD summary, a warning of what
// the confirmation does and the fields of the mode; the files are changed by the lifecycle
// operations (messages/EadLifecycle.h) when BCONF is clicked.
#include <QDialog>

#include "foundation/AppContext.h"
#include "foundation/Check.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;

namespace vt {

class CodedField;
class FormChecks;

class TFINS_MOD_CANC_ARC : public QDialog {
    Q_OBJECT
public:
    explicit TFINS_MOD_CANC_ARC(AppContext& ctx, QWidget* parent = nullptr);

    QTextEdit* RIEPILOGO;
    QLabel* Label1;
    QLineEdit* NUMARC;
    CodedField* MOTANN;
    QLineEdit* NOTMOT;
    CodedField* LINGUA;
    QTextEdit* RICHMOTANN;
    QPushButton* BCONF;
    QPushButton* BABBANDONA;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildReasonGroup();
    void showSummaries();
    void confirm();
    bool confirmChecks();
    // Runs the operation of the mode; false when it was refused or failed (message shown).
    bool apply();
    CheckResult ruleCode(CodedField* field);

    AppContext& ctx_;
    QChar mode_;
    FormChecks* checks_;
    QWidget* arcRow_;
    QGroupBox* reasonGroup_;
    bool started_ = false;
};

} // namespace vt
