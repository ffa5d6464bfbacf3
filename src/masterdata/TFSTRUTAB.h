#pragma once
// "STRUTTURA DELLE TABELLE": writes a table's structure file NAME.STR and imports its rows from
// NAME.CSV.
#include <QDialog>

#include "foundation/AppContext.h"
#include "foundation/Check.h"

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace vt {

class FormChecks;
class IntegerEdit;
struct StructureForm;

class TFSTRUTAB : public QDialog {
    Q_OBJECT
public:
    explicit TFSTRUTAB(AppContext& ctx, QWidget* parent = nullptr);

private:
    void clearForm();
    void clearOthers();
    CheckResult leaveName();
    void confirm();
    void import();
    StructureForm form() const;

    AppContext& ctx_;
    QLineEdit *E02250 = nullptr, *E12250 = nullptr, *E22250 = nullptr;
    IntegerEdit* ICHIAVE = nullptr;
    QTableWidget* GRIGLIA = nullptr;
    QPushButton *BCONF = nullptr, *BIMPORT = nullptr, *BABBANDONA = nullptr;
    FormChecks* checks_ = nullptr;
};

} // namespace vt
