#include "register/guarantees/TFPREPGARANZIA.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "foundation/Dates.h"
#include "foundation/IoError.h"
#include "register/guarantees/GuaranteeEntry.h"
#include "ui/FormChecks.h"
#include "ui/WindowRegistry.h"
#include "ui/Widgets.h"

namespace vt {

TFPREPGARANZIA::TFPREPGARANZIA(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFPREPGARANZIA"));
    setWindowTitle(QStringLiteral("Garanzie: impegnate / svincolate /nuove / scadute"));
    LANNO = new QLineEdit(this);
    LANNO->setObjectName(QStringLiteral("LANNO"));
    LANNO->setMaxLength(4);
    LANNO->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), LANNO));
    LANNO->setFixedWidth(LANNO->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    BCONF = makeButton(this, "BCONF", QStringLiteral("&CONFERMA"));
    BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("anno delle garanzie"), LANNO);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BCONF);
    buttons->addWidget(BABBANDONA);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    enterMovesToNextField(this);
    connect(BCONF, &QPushButton::clicked, this, &TFPREPGARANZIA::confirm);
    connect(BABBANDONA, &QPushButton::clicked, this, &QDialog::reject);
}

void TFPREPGARANZIA::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    LANNO->setText(QString::number(ctx_.clock().today().year()));
    LANNO->setFocus(Qt::OtherFocusReason);
    LANNO->selectAll();
}

void TFPREPGARANZIA::confirm()
{
    if (running_)
        return;
    bool ok = false;
    const int year = LANNO->text().toInt(&ok);
    if (!ok || year < 2008 || year > 2060) {
        ctx_.messenger().beep();
        LANNO->setFocus(Qt::OtherFocusReason);
        LANNO->selectAll();
        return;
    }
    running_ = true;
    ctx_.WorkYear = LANNO->text();
    GuaranteePreparation p;
    try {
        BusyCursor busy;
        p = prepareGuaranteeDays(ctx_, year);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        running_ = false;
        return;
    }
    QStringList toldAbout;
    for (const TRecGaranzia& t : p.days) {
        if (t.numeroFlusso == SentDayDiffers) {
            toldAbout << toRectifyMessage(t.data);
            ctx_.messenger().info(toldAbout.last());
        } else if (t.numeroFlusso == NoSentDay) {
            ctx_.OpCode = QLatin1Char('I');
            ctx_.MovementRecord = encodeRegisterRecord(t);
            openWindow(QStringLiteral("TFGARANZIA"), ctx_, this);
        }
    }
    // Sent days whose movements were all cancelled since.
    for (const QString& m : p.toRectify)
        if (!toldAbout.contains(m))
            ctx_.messenger().info(m);
    if (ctx_.messenger().askOkCancel(QString::fromUtf8(NoMoreGuarantees))) {
        ctx_.OpCode = QLatin1Char('i');
        TRecGaranzia o = blankRegisterRecord();
        o.data = dates::fromDate(ctx_.clock().today());
        ctx_.MovementRecord = encodeRegisterRecord(o);
        openWindow(QStringLiteral("TFGARANZIA"), ctx_, this);
    }
    running_ = false;
    accept();
}

} // namespace vt
