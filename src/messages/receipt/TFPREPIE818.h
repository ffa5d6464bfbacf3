#pragma once
// "Compila la nota di ricezione": imports the received e-ADs of a year from the EMCS download
// folder, shows the report-of-receipt window for each, then the IE818 flow window when at least
// one report was confirmed.
#include <QDialog>

#include "foundation/AppContext.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vt {

class TFPREPIE818 : public QDialog {
    Q_OBJECT
public:
    explicit TFPREPIE818(AppContext& ctx, QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* LANNO;
    QPushButton* BCONF;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void confirm();
    bool yearValid() const;

    AppContext& ctx_;
};

} // namespace vt
