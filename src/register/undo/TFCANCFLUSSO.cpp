#include "register/undo/TFCANCFLUSSO.h"

#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

#include "foundation/IoError.h"
#include "ui/UndoListForm.h"
#include "ui/Edits.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"

namespace vt {

TFCANCFLUSSO::TFCANCFLUSSO(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFCANCFLUSSO"));
    setWindowTitle(QStringLiteral("RIATTIVA I RECORD ASSOCIATI AD UN FLUSSO"));

    MDARI = new DateEdit(this);
    MDARI->setObjectName(QStringLiteral("MDARI"));
    INUCO = new QLineEdit(this);
    INUCO->setObjectName(QStringLiteral("INUCO"));
    INUCO->setMaxLength(4);
    INUCO->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*")), INUCO));
    LANNO = new QLineEdit(this);
    LANNO->setObjectName(QStringLiteral("LANNO"));
    LANNO->setMaxLength(4);
    LANNO->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), LANNO));
    for (QLineEdit* e : {static_cast<QLineEdit*>(MDARI), INUCO, LANNO})
        e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
    form = new UndoListForm(QStringLiteral("CELENCO"), QStringLiteral("DIGITA \"SI\" PER RIATTIVARE "), this);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Data del flusso"), MDARI);
    fields->addRow(QStringLiteral("Numero del flusso"), INUCO);
    fields->addRow(QStringLiteral("Movimenti nell'anno:"), LANNO);
    auto* layout = new QVBoxLayout(this);
    auto warning = [this](const QString& text) {
        auto* l = new QLabel(text, this);
        l->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
        l->setWordWrap(true);
        return l;
    };
    layout->addWidget(warning(QStringLiteral("ATTENZIONE !!!  RIATTIVA SOLO SE IL RECORD NON "
                                             "E' STATO ACQUISITO DAL SISTEMA TELEMATICO ")));
    layout->addLayout(fields);
    layout->addWidget(form, 1);
    layout->addWidget(warning(QStringLiteral("RICORDA: IL SISTEMA TELEMATICO RIPORTA NEI DETTAGLI DEL "
                                             "FLUSSO INVIATO GLI ERRORI  RISCONTRATI: ")));
    layout->addWidget(warning(QStringLiteral("SE e SOLO SE LA NOTA INIZIA CON IL CARATTERE \"E\" "
                                             "ALLORA SIGNIFICA CHE IL DATO E' STATO SCARTATO .")));

    for (QLineEdit* e : {static_cast<QLineEdit*>(MDARI), INUCO, LANNO})
        e->installEventFilter(this);
    enterMovesToNextField(this);
    form->attachConfirm();
    connect(form, &UndoListForm::confirmed, this, &TFCANCFLUSSO::reactivate);
    connect(form, &UndoListForm::abandonRequested, this, &QDialog::reject);
}

void TFCANCFLUSSO::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    MDARI->setDate(ctx_.clock().today());
    LANNO->setText(ctx_.WorkYear);
    proposeNumber();
    rebuildList();
    if (INUCO->text().isEmpty())
        MDARI->setFocus(Qt::OtherFocusReason);
    else
        form->list->setFocus(Qt::OtherFocusReason);
}

bool TFCANCFLUSSO::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && !form->BABBANDONA->hasFocus()) {
        if (watched == MDARI)
            QTimer::singleShot(0, this, [this] {
                if (MDARI->date() != listDate_)
                    proposeNumber();
                rebuildList();
            });
        else if (watched == INUCO || watched == LANNO)
            QTimer::singleShot(0, this, [this] { rebuildList(); });
    }
    return QDialog::eventFilter(watched, event);
}

// The last flow of the date: the number a new one would take, less one.
void TFCANCFLUSSO::proposeNumber()
{
    const QDate date = MDARI->date();
    const int last = date.isValid() ? lastFlowNumber(ctx_, date) : 0;
    INUCO->setText(last >= 1 ? QString::number(last) : QString());
}

bool TFCANCFLUSSO::rebuildList()
{
    const QDate date = MDARI->date();
    if (!date.isValid()) {
        MDARI->setFocus(Qt::OtherFocusReason);
        return false;
    }
    bool ok = false;
    const int year = LANNO->text().toInt(&ok);
    if (!ok || year < 2008 || year > 2060) {
        LANNO->setFocus(Qt::OtherFocusReason);
        LANNO->selectAll();
        return false;
    }
    ctx_.WorkYear = LANNO->text();
    const int number = INUCO->text().trimmed().toInt();
    if (list_.year == year && listDate_ == date && listNumber_ == number && form->list->count() == list_.lines.size())
        return true; // the same list: the ticks stay
    try {
        list_ = buildReactivationList(ctx_, year, date, number);
    } catch (const IoError& e) {
        list_ = {};
        ctx_.messenger().info(e.text());
    }
    listDate_ = date;
    listNumber_ = number;
    form->fill(list_);
    return true;
}

void TFCANCFLUSSO::reactivate()
{
    const QList<TRecMovimento> chosen = form->tickedRecords();
    if (!chosen.isEmpty()) {
        try {
            BusyCursor busy;
            const UndoResult r = reactivateRecords(ctx_, list_.year, chosen, listDate_, listNumber_);
            for (const QString& refused : r.refused)
                ctx_.messenger().info(refused);
        } catch (const IoError& e) {
            ctx_.messenger().info(e.text());
            return;
        }
    }
    accept();
}

} // namespace vt
