#include "register/undo/TFCANCMOVIM.h"

#include <QEvent>
#include <QFormLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

#include "foundation/IoError.h"
#include "register/guarantees/GuaranteeEntry.h"
#include "ui/UndoListForm.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"

namespace vt {

TFCANCMOVIM::TFCANCMOVIM(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx), mode_(ctx.OpCode)
{
    setObjectName(QStringLiteral("TFCANCMOVIM"));
    setWindowTitle(deletionCaption(mode_));

    LANNO = new QLineEdit(this);
    LANNO->setObjectName(QStringLiteral("LANNO"));
    LANNO->setMaxLength(4);
    LANNO->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), LANNO));
    LANNO->setFixedWidth(LANNO->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    form = new UndoListForm(QStringLiteral("ELENCO"), QStringLiteral("Digita \"SI\" per cancellare "), this);

    auto* year = new QFormLayout;
    year->addRow(QStringLiteral("Registro movimenti dell'anno:"), LANNO);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(year);
    layout->addWidget(form, 1);

    LANNO->installEventFilter(this);
    enterMovesToNextField(this);
    form->attachConfirm();
    connect(form, &UndoListForm::confirmed, this, &TFCANCMOVIM::remove);
    connect(form, &UndoListForm::abandonRequested, this, &QDialog::reject);
}

void TFCANCMOVIM::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    LANNO->setText(QString::number(ctx_.clock().today().year()));
    rebuildList();
}

bool TFCANCMOVIM::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LANNO && event->type() == QEvent::FocusOut && !form->BABBANDONA->hasFocus())
        QTimer::singleShot(0, this, [this] {
            if (LANNO->text().toInt() != list_.year)
                rebuildList();
        });
    return QDialog::eventFilter(watched, event);
}

void TFCANCMOVIM::rebuildList()
{
    bool ok = false;
    const int year = LANNO->text().toInt(&ok);
    if (!ok || year < 2008 || year > 2060) {
        LANNO->setFocus(Qt::OtherFocusReason);
        LANNO->selectAll();
        return;
    }
    ctx_.WorkYear = LANNO->text();
    try {
        list_ = buildDeletionList(ctx_, mode_, year);
    } catch (const IoError& e) {
        list_ = {};
        list_.year = year;
        ctx_.messenger().info(e.text());
    }
    form->fill(list_);
    form->ECONF->clear();
    form->ECONF->setFocus(Qt::OtherFocusReason);
}

void TFCANCMOVIM::remove()
{
    const QList<TRecMovimento> chosen = form->tickedRecords();
    if (!chosen.isEmpty()) {
        try {
            BusyCursor busy;
            const UndoResult r = deleteRecords(ctx_, mode_, list_.year, chosen);
            for (const QString& refused : r.refused)
                ctx_.messenger().info(refused);
            // What was deleted counted in the balance of the guarantee days after it.
            if (r.done > 0)
                for (const QString& m : refreshGuaranteeBalances(ctx_, list_.year))
                    ctx_.messenger().info(m);
        } catch (const IoError& e) {
            ctx_.messenger().info(e.text());
            return;
        }
    }
    accept();
}

} // namespace vt
