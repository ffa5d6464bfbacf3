#include "masterdata/TFCANCDESTIN.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "foundation/AddressFile.h"
#include "foundation/IoError.h"
#include "foundation/Text.h"
#include "masterdata/AddressBook.h"
#include "ui/Edits.h"

namespace vt {

TFCANCDESTIN::TFCANCDESTIN(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFCANCDESTIN"));
    const AddressKind kind = KindOfAddressFile(ctx_.TableName);
    setWindowTitle(AddressWindowTitle(kind, AddressAction::Delete));

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setMinimumSize(Memo1->fontMetrics().horizontalAdvance(QString(60, QLatin1Char('M'))) * 3 / 4,
                          Memo1->fontMetrics().lineSpacing() * 14);
    grid->addWidget(Memo1, 0, 0, 1, 3);

    auto* label = new QLabel(QStringLiteral("DIGITA \"SI\" PER CANCELLARE "), this);
    label->setObjectName(QStringLiteral("LSINO"));
    SINO = new QLineEdit(this);
    SINO->setObjectName(QStringLiteral("SINO"));
    setupText(SINO, 10);
    SINO->setFixedWidth(SINO->fontMetrics().horizontalAdvance(QStringLiteral("MMMM")) + 12);
    label->setBuddy(SINO);
    grid->addWidget(label, 1, 0, Qt::AlignRight);
    grid->addWidget(SINO, 1, 1, Qt::AlignLeft);
    grid->setColumnStretch(2, 1);

    // The found record of the address-pick sequence is the working copy.
    ctx_.CompanyRecord = ctx_.FoundAddress;
    trimCompany(ctx_.CompanyRecord);
    Memo1->setPlainText(DeleteMemoLines(kind, ctx_.CompanyRecord).join(QLatin1Char('\n')));

    SINO->installEventFilter(this);
    SINO->setFocus(Qt::OtherFocusReason);
}

bool TFCANCDESTIN::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == SINO && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter || k->key() == Qt::Key_Tab) {
            leaveAnswer();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFCANCDESTIN::leaveAnswer()
{
    if (busy_)
        return;
    // Anything but "SI" exactly keeps the window open, the focus on the answer.
    if (SINO->text() != QLatin1String("SI")) {
        SINO->setFocus(Qt::OtherFocusReason);
        SINO->selectAll();
        return;
    }
    busy_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        DeleteAddress(ctx_.CompanyRecord.number, AddressFilePath(ctx_, ctx_.TableName), ctx_.messenger());
        ctx_.reportSaved();
    } catch (const IoError& e) {
        QApplication::restoreOverrideCursor();
        busy_ = false;
        ctx_.messenger().info(e.text());
        return;
    }
    QApplication::restoreOverrideCursor();
    busy_ = false;
    accept();
}

} // namespace vt
