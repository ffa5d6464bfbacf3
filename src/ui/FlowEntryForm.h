#pragma once
// The flow date and number entry of every flow window, with the folder of files to sign and the
// confirm / abandon buttons, and the hand-off of a written flow to the signing program:
//
//   form_ = new FlowEntryForm(ctx, this);
//   form_->setDateRule([&](const QDate& d) { return d < ... ? QString("...") : QString(); });
//   connect(form_, &FlowEntryForm::confirmRequested, this, &MyWindow::confirm);
//   connect(form_, &FlowEntryForm::abandonRequested, this, &QDialog::reject);
//   showEvent:  form_->start();
//   confirm():  auto entry = form_->reachConfirm(); if (!entry) return;
//               ... removeReplacedSigned, write the flow ...
//               if (form_->toSigning(name)) handOffToSigning(ctx, this);
#include <QWidget>

#include <optional>

#include "foundation/AppContext.h"
#include "messages/flows/FlowEntryCheck.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vt {

class DateEdit;

class FlowEntryForm : public QWidget {
    Q_OBJECT
public:
    explicit FlowEntryForm(AppContext& ctx, QWidget* parent = nullptr);

    void setDateRule(FlowDateRule rule) { dateRule_ = std::move(rule); }
    // A kind's own proposal of the flow number for a date (the shared one when not set).
    void setProposal(std::function<int(const QDate&)> proposal) { proposal_ = std::move(proposal); }
    // A kind whose date rule stops the confirmation (its message shown, focus DATFLU).
    void setDateRuleStops(bool stops) { dateRuleStops_ = stops; }

    // On opening: the folder shown, DATFLU today, NUMFLU empty, focus DATFLU.
    void start();
    // Reaching BCONF: the checks in their order with their messages and focus; the entry when the
    // confirmation may go on.
    std::optional<FlowEntry> reachConfirm();
    // CFIRMA: hand the written flow to the signing program.
    bool signingRequested() const;
    // After the flow is written: whether it goes to the signing program; when it does not, the
    // main window's status bar says where the flow was left.
    bool toSigning(const QString& flowName) const;

    DateEdit* DATFLU;
    QLineEdit* NUMFLU;
    QCheckBox* CFIRMA;
    QLabel* LFLUSSO;
    QPushButton* BCONF;
    QPushButton* BABBANDONA;

signals:
    void confirmRequested();
    void abandonRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool dateLeft(); // false, and the cursor back on the date, when it is not one
    void focusField(QWidget* field);

    AppContext& ctx_;
    FlowDateRule dateRule_;
    std::function<int(const QDate&)> proposal_;
    bool dateRuleStops_ = false;
    bool confirming_ = false;
    bool dateLeavePending_ = false; // the date was left and its number is not proposed yet
};

// Starts the signing program (APPL.CFG, as configured, no parameters, no command shell); when it
// starts, shows the transmission window TFTELEMATICO over parent and returns true once it has
// closed. When it does not start the user is told (naming the path), the transmission is skipped
// and the flow file stays.
bool handOffToSigning(AppContext& ctx, QWidget* parent);
QString signingNotStarted(const QString& program);

} // namespace vt
