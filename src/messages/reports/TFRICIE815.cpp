#include "messages/reports/TFRICIE815.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "foundation/IoError.h"
#include "ui/Edits.h"
#include "ui/FormChecks.h"
#include "ui/PrintText.h"
#include "ui/Widgets.h"

namespace vt {

namespace {
bool leftByUser(Qt::FocusReason reason)
{
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::MouseFocusReason ||
           reason == Qt::ShortcutFocusReason || reason == Qt::OtherFocusReason;
}
} // namespace

TFRICIE815::TFRICIE815(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), kind_(sentKindOf(ctx.OpCode).value_or(SentKind::IE815))
{
    setObjectName(QStringLiteral("TFRICIE815"));
    setWindowTitle(sentReportCaption(kind_));

    LANNO = new QLineEdit(this);
    LANNO->setObjectName(QStringLiteral("LANNO"));
    LANNO->setMaxLength(4);
    LANNO->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), LANNO));
    LANNO->setFixedWidth(widthForChars(LANNO, 6));
    DALLA = new DateEdit(this);
    DALLA->setObjectName(QStringLiteral("DALLA"));
    DALLA->setFixedWidth(widthForChars(DALLA, 12));
    ALLA = new DateEdit(this);
    ALLA->setObjectName(QStringLiteral("ALLA"));
    ALLA->setFixedWidth(widthForChars(ALLA, 12));

    Rich815 = new QTextEdit(this);
    Rich815->setObjectName(QStringLiteral("Rich815"));
    Rich815->setReadOnly(true);
    Rich815->setLineWrapMode(QTextEdit::NoWrap);
    QFont mono(QStringLiteral("Courier New"), 9);
    mono.setStyleHint(QFont::Monospace);
    Rich815->setFont(mono);
    Rich815->setMinimumSize(Rich815->fontMetrics().horizontalAdvance(QString(112, QLatin1Char('-'))) + 24, 360);

    LSTATO = new QLabel(this);
    LSTATO->setObjectName(QStringLiteral("LSTATO"));
    LSTATO->setStyleSheet(QStringLiteral("color: #b00000;"));

    BSTAMPA = makeButton(this, "BSTAMPA", QStringLiteral("&Stampa"));
    BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));

    auto* fields = new QHBoxLayout;
    fields->addWidget(buddyLabel(QStringLiteral("Anno della Spedizione"), LANNO));
    fields->addWidget(LANNO);
    fields->addSpacing(16);
    fields->addWidget(buddyLabel(QStringLiteral("Flussi inviati dal "), DALLA));
    fields->addWidget(DALLA);
    fields->addWidget(buddyLabel(QStringLiteral("al "), ALLA));
    fields->addWidget(ALLA);
    fields->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BSTAMPA);
    buttons->addSpacing(16);
    buttons->addWidget(LSTATO, 1);
    buttons->addWidget(BABBANDONA);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(Rich815, 1);
    layout->addLayout(buttons);

    enterMovesToNextField(this);
    for (QLineEdit* e : {LANNO, static_cast<QLineEdit*>(DALLA), static_cast<QLineEdit*>(ALLA)})
        e->installEventFilter(this);
    connect(BSTAMPA, &QPushButton::clicked, this, &TFRICIE815::print);
    connect(BABBANDONA, &QPushButton::clicked, this, &QDialog::reject);
}

void TFRICIE815::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (started_)
        return;
    started_ = true;
    const QDate today = ctx_.clock().today();
    LANNO->setText(QString::number(today.year()));
    ALLA->setDate(today);
    DALLA->setDate(QDate(today.year(), today.month(), 1));
    DALLA->setFocus(Qt::OtherFocusReason);
    // Built once the window is on the screen: a message about the yearly file then shows over it.
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            build();
    });
}

bool TFRICIE815::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving a field builds the report again (not when the focus goes to a button). Only a move
    // of the user's counts: a message box or another window taking the focus is no leaving, or a
    // report that cannot be built would show its message over and over.
    if (event->type() == QEvent::FocusOut && isVisible() && leftByUser(static_cast<QFocusEvent*>(event)->reason()))
        QTimer::singleShot(0, this, [this] {
            QWidget* now = focusWidget();
            if (isVisible() && now != BSTAMPA && now != BABBANDONA)
                build();
        });
    return QDialog::eventFilter(watched, event);
}

bool TFRICIE815::build()
{
    QWidget* now = focusWidget();
    auto focus = [this](QLineEdit* w) {
        if (focusWidget() != w) {
            w->setFocus(Qt::OtherFocusReason);
            w->selectAll();
        }
    };
    const QString year = LANNO->text().trimmed();
    if (!checkReportYear(year))
        focus(LANNO); // the report is built all the same, without rows
    const QDate from = DALLA->date();
    const QDate to = ALLA->date();
    if (const CheckResult p = checkReportPeriod(from, to); !p) {
        // Nothing on the screen, and nothing to print (printing builds first), that the fields do
        // not ask for. The clerk may go to the other date to put the period right.
        LSTATO->setText(!from.isValid() ? QStringLiteral("LA DATA INIZIALE NON E' VALIDA")
                        : !to.isValid() ? QStringLiteral("LA DATA FINALE NON E' VALIDA")
                                        : QStringLiteral("LA DATA FINALE E' ANTERIORE ALLA DATA INIZIALE"));
        Rich815->clear();
        if (now != DALLA && now != ALLA)
            focus(p.focus == QLatin1String("DALLA") ? DALLA : ALLA);
        return false;
    }
    LSTATO->clear();
    try {
        BusyCursor busy;
        Rich815->setPlainText(writeSentReport(ctx_, kind_, year, from, to).join(QLatin1Char('\n')));
    } catch (const IoError& e) {
        Rich815->clear();
        ctx_.messenger().info(e.text());
        return false;
    }
    return true;
}

// The rows of the report are 110 characters wide: on landscape pages they print whole, one row
// a line, as the report shows them.
void TFRICIE815::print()
{
    // What is printed is the report of the fields as they are now (Alt+S straight from a field).
    if (!build())
        return;
    const QString title = QStringLiteral("messaggi inviati");
    auto doc = textDocument(Rich815->toPlainText(), title);
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, title);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName(QStringLiteral("ANTEPRIMA"));
    preview.setWindowTitle(title);
    connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&doc](QPrinter* p) { doc->print(p); });
    execPreview(preview, this);
}

} // namespace vt
