#pragma once
// The movement window: enters one load or unload into the movement register, modifies an unsent
// one, or composes a rectification (cancel or modify) of a sent one; a movement prepared from an
// e-AD is shown for confirmation. The mode comes from the shared flags; the picked or prepared
// record from the movement record buffer, read again under the lock for the modify and
// rectification modes (a record that is gone, superseded or in the wrong sent state is refused
// and the window does not open).
#include <QDialog>
#include <QPointer>

#include "foundation/AppContext.h"
#include "register/entry/MovementEntry.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace vt {

class CodedField;
class DateEdit;
class DecimalEdit;
class FormChecks;
class IntegerEdit;

class TFMOVIMENTI : public QDialog {
    Q_OBJECT
public:
    explicit TFMOVIMENTI(AppContext& ctx, QWidget* parent = nullptr);
    int exec() override;

private:
    void build();
    void wire();
    void prepare();
    void clearForNext();
    void fillFrom(const TRecMovimento& r);
    void applyMode();
    void showReadOnly();
    void checkShownFields();

    // Field behaviour.
    void documentTypeChanged();
    void storageChanged();
    void productChosen();
    void recomputeLitres();
    void recomputeGuarantee();
    CheckResult lookupCounterpart();
    void pickCounterpart();
    void newCounterpart();
    void newProduct();
    void showPicture(const QString& path);
    void runLeaveOf(QWidget* field);

    // Checks (each returns the verdict for its field).
    CheckResult leaveTipdoc();
    CheckResult leaveProddo();
    CheckResult leaveCodpae();
    CheckResult leaveCaumov();
    bool packaged() const;
    bool lookupProduct();

    void confirm();

    AppContext& ctx_;
    MovementMode mode_;
    bool load_;
    bool ready_ = true;
    TRecMovimento old_;
    FormChecks* checks_ = nullptr;

    QLabel* LMOVIMENTO;
    DateEdit* DATMOV;
    CodedField* TIPDOC;
    QLineEdit* NUMDOC;
    QLabel* lNumdoc;
    QLabel* Label4;
    IntegerEdit* NPRDAA;
    DateEdit* DATDOC;
    QLabel* lNilodd;
    QLineEdit* NILODD;
    QLabel* Label5;
    IntegerEdit* NUMCPR;
    CodedField* PRODAZ;
    QLineEdit* TIPSTO;
    QLineEdit* DTIPSTO;
    CodedField* PRODDO;
    QLabel* lNumcon;
    IntegerEdit* NUMCON;
    QLabel* lDoubl3;
    DecimalEdit* DOUBL3;
    DecimalEdit* DOUBL2;
    DecimalEdit* DOUBL1;
    QLabel* lCodpae;
    CodedField* CODPAE;
    QLabel* lDoubl5;
    DecimalEdit* DOUBL5;
    QLabel* lMitdes;
    QLineEdit* MITDES;
    QToolButton* BMITDES;
    QToolButton* BNMITDES;
    QLineEdit* DMITDES;
    CodedField* CAUMOV;
    QLineEdit* ANNOTA;
    QLabel* Image1;
    QPushButton* BCONF;
    QPushButton* BABBANDONA;
    bool numdocHidden_ = false;
};

} // namespace vt
