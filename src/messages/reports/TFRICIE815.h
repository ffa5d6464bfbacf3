#pragma once
// The report of sent messages of one kind (OpCode "1" IE815, "2" IE810, "3" IE813, "4" IE818):
// the year of the dispatches, the period of the flows, the report REPORT.TXT shown in Rich815 and
// printed through the print preview as "messaggi inviati".
#include <QDialog>

#include "foundation/AppContext.h"
#include "messages/reports/SentReport.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;

namespace vt {

class DateEdit;

class TFRICIE815 : public QDialog {
    Q_OBJECT
public:
    explicit TFRICIE815(AppContext& ctx, QWidget* parent = nullptr);

    QLineEdit* LANNO;
    DateEdit* DALLA;
    DateEdit* ALLA;
    QTextEdit* Rich815;
    QPushButton* BSTAMPA;
    QPushButton* BABBANDONA;
    QLabel* LSTATO; // why there is no report for the period typed

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Builds REPORT.TXT for the fields and shows it; false when the period or the file does not
    // allow it (nothing shown then).
    bool build();
    void print();

    AppContext& ctx_;
    SentKind kind_;
    bool started_ = false;
};

} // namespace vt
