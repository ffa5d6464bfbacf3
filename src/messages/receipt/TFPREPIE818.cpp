#include "messages/receipt/TFPREPIE818.h"

#include <QDir>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

#include "foundation/IoError.h"
#include "foundation/RecordFile.h"
#include "foundation/Text.h"
#include "messages/receipt/ReceivedImport.h"
#include "messages/receipt/TFCOMPIE818.h"
#include "ui/WindowRegistry.h"
#include "ui/Widgets.h"

namespace vt {

TFPREPIE818::TFPREPIE818(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFPREPIE818"));
    setWindowTitle(QStringLiteral("Compila la nota di ricezione"));

    Label1 = new QLabel(QStringLiteral("cartella di ricerca: "), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont strong = Label2->font();
    strong.setBold(true);
    Label2->setFont(strong);

    LANNO = new QLineEdit(this);
    LANNO->setObjectName(QStringLiteral("LANNO"));
    LANNO->setMaxLength(4);
    LANNO->setFixedWidth(widthForChars(LANNO, 6));
    LANNO->installEventFilter(this);
    BCONF = makeButton(this, "BCONF", QStringLiteral("&CONFERMA"));
    BCONF->installEventFilter(this);

    auto* folder = new QHBoxLayout;
    folder->addWidget(Label1);
    folder->addWidget(Label2, 1);
    auto* year = new QHBoxLayout;
    year->addWidget(buddyLabel(QStringLiteral("e-AD ricevuti, non ancora registrati e spediti nell'anno:"), LANNO));
    year->addWidget(LANNO);
    year->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BCONF);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(folder);
    layout->addLayout(year);
    layout->addLayout(buttons);
    setMinimumWidth(560);

    connect(LANNO, &QLineEdit::returnPressed, this, [this] { focusNextChild(); });
    connect(BCONF, &QPushButton::clicked, this, &TFPREPIE818::confirm);
}

void TFPREPIE818::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    BCONF->setVisible(true);
    Label2->setText(QDir::toNativeSeparators(trimField(ctx_.AppConfig.Fld[3])));
    ctx_.SelectedYear = QString::number(ctx_.clock().today().year());
    LANNO->setText(ctx_.SelectedYear);
    LANNO->setFocus(Qt::OtherFocusReason);
    LANNO->selectAll();
}

bool TFPREPIE818::yearValid() const
{
    bool ok = false;
    const int y = LANNO->text().toInt(&ok);
    return ok && LANNO->text().size() == 4 && y >= 2008 && y <= 2060;
}

bool TFPREPIE818::eventFilter(QObject* watched, QEvent* event)
{
    // Enter on CONFERMA presses it (Enter in the year only moves to it).
    if (watched == BCONF && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            BCONF->click();
            return true;
        }
    }
    if (watched == LANNO && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        const QString text = k->text();
        const bool control = k->key() == Qt::Key_Backspace || k->key() == Qt::Key_Delete || k->key() == Qt::Key_Left
                             || k->key() == Qt::Key_Right || k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter
                             || k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab || k->key() == Qt::Key_Escape
                             || k->key() == Qt::Key_Home || k->key() == Qt::Key_End || text.isEmpty()
                             || (k->modifiers() & Qt::AltModifier);
        if (!control && !(text.size() == 1 && text[0].isDigit() && text[0].unicode() < 128)) {
            ctx_.messenger().beep();
            return true;
        }
    }
    // A year outside 2008-2060 keeps the focus in the field (no message).
    if (watched == LANNO && event->type() == QEvent::FocusOut && focusWidget() != BCONF && !yearValid())
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                LANNO->setFocus(Qt::OtherFocusReason);
        });
    return QDialog::eventFilter(watched, event);
}

void TFPREPIE818::confirm()
{
    if (!yearValid()) {
        ctx_.messenger().beep();
        LANNO->setFocus(Qt::OtherFocusReason);
        LANNO->selectAll();
        return;
    }
    const QString year = LANNO->text();
    ctx_.WorkYear = year;
    ctx_.SelectedYear = year;
    BCONF->setVisible(false);
    ImportResult result;
    try {
        BusyCursor busy;
        result = importReceivedEads(ctx_, year);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        BCONF->setVisible(true);
        LANNO->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The files left out, all in one message.
    if (!result.messages.isEmpty())
        ctx_.messenger().info(result.messages.join(QStringLiteral("\n\n")));
    if (result.imported < 1) {
        ctx_.messenger().info(QString::fromUtf8(NoMessagesFound));
        accept();
        return;
    }
    bool confirmed = false;
    try {
        const QList<QByteArray> headers = RecordFile(receiptfiles::xmlHeaders(ctx_), TRecEad::Size).readAll();
        for (const QByteArray& h : headers) {
            ctx_.EadHeader = decodeEad(h);
            TFCOMPIE818 report(ctx_, this);
            report.exec();
            confirmed = confirmed || report.confirmed();
        }
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
    if (confirmed) {
        ctx_.WorkYear = year;
        openWindow(QStringLiteral("TFCREAFIRMAINVIAIE818"), ctx_, this);
    }
    accept();
}

} // namespace vt
