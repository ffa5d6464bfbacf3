#pragma once
// The printed load/unload register (kind from the menu: "T", "C" or "S") in its
// three modes: complete on stamped sheets, movements only on headed sheets,
// headings only on blank sheets to be stamped. CONFERMA asks for the sheets in
// the printer and prints to the preview; the window stays open for another
// print.
#include <QDialog>

#include "foundation/AppContext.h"
#include "prints/LoadUnloadRegister.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vt {

class DateEdit;
class FormChecks;
class IntegerEdit;

class TFSTAREGCARSCA : public QDialog {
    Q_OBJECT
public:
    explicit TFSTAREGCARSCA(AppContext& ctx, QWidget* parent = nullptr);

    DateEdit* MDADA;
    DateEdit* MDAAL;
    QGroupBox* RTIPO;
    QRadioButton* RTIPO0;
    QRadioButton* RTIPO1;
    QRadioButton* RTIPO2;
    QLabel* Label3;
    IntegerEdit* IDAPAG;
    IntegerEdit* MFOGLI;
    QLabel* LIDAPAG;
    QLabel* LIDAPAG2;
    QLabel* LMFOGLI;
    QPushButton* BCONF;
    QPushButton* BABBANDONA;

    // The print of the last confirmation and the records it laid out.
    const RegisterPrint& lastPrint() const { return print_; }
    const QList<TRecMovimento>& lastRecords() const { return records_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    RegisterPrintMode mode() const;
    void modeChanged();
    void confirm();

    AppContext& ctx_;
    QString title_;
    FormChecks* checks_;
    RegisterPrint print_;
    QList<TRecMovimento> records_;
};

} // namespace vt
