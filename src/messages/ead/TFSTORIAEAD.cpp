#include "messages/ead/TFSTORIAEAD.h"

#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "foundation/IoError.h"
#include "prints/ListingPrint.h"
#include "ui/ListingPdf.h"
#include "ui/PrintText.h"
#include "ui/QtPageSurface.h"
#include "ui/Widgets.h"
#include "ui/WindowRegistry.h"

namespace vt {

namespace {

// A record of the story, read-only: its text, printable.
class RecordView : public QDialog {
public:
    RecordView(const QString& title, const QStringList& lines, QWidget* parent) : QDialog(parent)
    {
        setObjectName(QStringLiteral("TFSCHEDA"));
        setWindowTitle(title);
        auto* text = new QPlainTextEdit(this);
        text->setObjectName(QStringLiteral("SCHEDA"));
        text->setReadOnly(true);
        QFont font(QStringLiteral("Courier New"), 9);
        font.setStyleHint(QFont::TypeWriter);
        text->setFont(font);
        text->setPlainText(lines.join(QLatin1Char('\n')));
        auto* print = makeButton(this, "BSTAMPA", QStringLiteral("&Stampa"));
        auto* close = makeButton(this, "BABBANDONA", QStringLiteral("&Chiudi"));
        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        buttons->addWidget(print);
        buttons->addWidget(close);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(text);
        layout->addLayout(buttons);
        connect(print, &QPushButton::clicked, this,
                [this, text, title] { printText(this, text->toPlainText(), title); });
        connect(close, &QPushButton::clicked, this, &QDialog::reject);
        resize(760, 560);
    }
};

} // namespace

TFSTORIAEAD::TFSTORIAEAD(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFSTORIAEAD"));
    setWindowTitle(QStringLiteral("Storia di un e-AD"));

    NUMARC = new QLineEdit(this);
    NUMARC->setObjectName(QStringLiteral("NUMARC"));
    NUMARC->setMaxLength(21);
    NUMARC->setMinimumWidth(widthForChars(NUMARC, 24));
    connect(NUMARC, &QLineEdit::textEdited, this, [this](const QString& t) {
        const int at = NUMARC->cursorPosition();
        NUMARC->setText(t.toUpper());
        NUMARC->setCursorPosition(at);
    });
    BMOSTRA = makeButton(this, "BMOSTRA", QStringLiteral("&Mostra"));
    BSCEGLI = makeButton(this, "BSCEGLI", QStringLiteral("Sce&gli e-AD"));
    LDANNI = new QLabel(this);
    LDANNI->setObjectName(QStringLiteral("LDANNI"));
    LDANNI->setWordWrap(true);
    LDANNI->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));
    LDANNI->hide();

    LISTA = new QTableWidget(this);
    LISTA->setObjectName(QStringLiteral("LISTA"));
    LISTA->setColumnCount(3);
    LISTA->setHorizontalHeaderLabels({QStringLiteral("DATA"), QStringLiteral("EVENTO"), QStringLiteral("DETTAGLI")});
    LISTA->setSelectionBehavior(QAbstractItemView::SelectRows);
    LISTA->setSelectionMode(QAbstractItemView::SingleSelection);
    LISTA->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LISTA->verticalHeader()->setVisible(false);
    LISTA->horizontalHeader()->setStretchLastSection(true);
    LISTA->setWordWrap(false);
    LISTA->installEventFilter(this);
    connect(LISTA, &QTableWidget::cellDoubleClicked, this, [this] { openLine(); });

    BSTAMPA = makeButton(this, "BSTAMPA", QStringLiteral("&Stampa"));
    BPDF = makeButton(this, "BPDF", QStringLiteral("Salva &PDF"));
    BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));

    auto* top = new QHBoxLayout;
    top->addWidget(buddyLabel(QStringLiteral("Numero ARC"), NUMARC));
    top->addWidget(NUMARC);
    top->addWidget(BMOSTRA);
    top->addStretch();
    top->addWidget(BSCEGLI);
    auto* bottom = new QHBoxLayout;
    auto* hint = new QLabel(QStringLiteral("Invio su una riga: apre l'e-AD o il movimento in sola lettura"), this);
    bottom->addWidget(hint);
    bottom->addStretch();
    bottom->addWidget(BSTAMPA);
    bottom->addWidget(BPDF);
    bottom->addWidget(BABBANDONA);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(LDANNI);
    layout->addWidget(LISTA, 1);
    layout->addLayout(bottom);

    connect(BMOSTRA, &QPushButton::clicked, this, &TFSTORIAEAD::showArc);
    connect(NUMARC, &QLineEdit::returnPressed, this, &TFSTORIAEAD::showArc);
    connect(BSCEGLI, &QPushButton::clicked, this, &TFSTORIAEAD::choose);
    connect(BSTAMPA, &QPushButton::clicked, this, &TFSTORIAEAD::print);
    connect(BPDF, &QPushButton::clicked, this, &TFSTORIAEAD::savePdf);
    connect(BABBANDONA, &QPushButton::clicked, this, &QDialog::reject);
    resize(1100, 560);
    display(EadHistory{});
}

void TFSTORIAEAD::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (opened_)
        return;
    opened_ = true;
    NUMARC->setFocus(Qt::OtherFocusReason);
    // The usual way in: the chooser first, over this window.
    QTimer::singleShot(0, this, &TFSTORIAEAD::choose);
}

void TFSTORIAEAD::choose()
{
    ctx_.OpCode = QLatin1Char('S');
    ctx_.PickedEad = -1;
    if (!openWindow(QStringLiteral("TFSCEGLIDAA"), ctx_, this) || ctx_.PickedEad < 0) {
        NUMARC->setFocus(Qt::OtherFocusReason);
        return;
    }
    try {
        BusyCursor busy;
        display(eadHistoryOf(ctx_, ctx_.SelectedYear, ctx_.PickedEad));
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
    NUMARC->setText(history_.arc);
    LISTA->setFocus(Qt::OtherFocusReason);
}

void TFSTORIAEAD::showArc()
{
    const QString arc = NUMARC->text().trimmed().toUpper();
    if (!historyArcValid(arc)) {
        ctx_.messenger().info(MsgHistoryBadArc);
        NUMARC->setFocus(Qt::OtherFocusReason);
        return;
    }
    try {
        BusyCursor busy;
        display(eadHistory(ctx_, arc));
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    if (history_.events.isEmpty() && history_.damaged.isEmpty())
        ctx_.messenger().info(QStringLiteral("NESSUN EVENTO PER L'ARC ") + arc);
    LISTA->setFocus(Qt::OtherFocusReason);
}

void TFSTORIAEAD::display(const EadHistory& h)
{
    history_ = h;
    setWindowTitle(h.arc.isEmpty() ? QStringLiteral("Storia di un e-AD")
                                   : QStringLiteral("Storia di un e-AD - ARC ") + h.arc);
    LDANNI->setText(QStringLiteral("FILE NON LEGGIBILI, I LORO EVENTI NON SONO ELENCATI:\n")
                    + h.damaged.join(QLatin1Char('\n')));
    LDANNI->setVisible(!h.damaged.isEmpty());
    const Listing l = historyListing(h);
    LISTA->setRowCount(int(l.items.size()));
    for (int r = 0; r < l.items.size(); ++r)
        for (int c = 0; c < 3; ++c) {
            auto* item = new QTableWidgetItem(l.items[r].columns.value(c));
            if (h.events[r].opens != HistoryOpens::Nothing)
                item->setToolTip(QStringLiteral("Invio: apre il record in sola lettura"));
            LISTA->setItem(r, c, item);
        }
    LISTA->resizeColumnToContents(0);
    LISTA->resizeColumnToContents(1);
    if (LISTA->rowCount() > 0)
        LISTA->selectRow(0);
    BSTAMPA->setEnabled(!h.events.isEmpty());
    BPDF->setEnabled(!h.events.isEmpty());
}

bool TFSTORIAEAD::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LISTA && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openLine();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFSTORIAEAD::openLine()
{
    const int row = LISTA->currentRow();
    if (row < 0 || row >= history_.events.size())
        return;
    const HistoryEvent& e = history_.events[row];
    if (e.opens == HistoryOpens::Nothing) {
        ctx_.messenger().beep();
        return;
    }
    QStringList lines;
    try {
        lines = historyRecordText(ctx_, e);
    } catch (const IoError& err) {
        ctx_.messenger().info(err.text());
        return;
    }
    if (lines.isEmpty()) {
        ctx_.messenger().info(QStringLiteral("IL RECORD NON E` PIU` PRESENTE NEL SUO FILE"));
        return;
    }
    const QString title = e.opens == HistoryOpens::Ead
                              ? QStringLiteral("e-AD n. %1 dell'anno %2 (sola lettura)").arg(e.number).arg(e.year)
                              : QStringLiteral("Registro %1, movimento n. %2 (sola lettura)").arg(e.year).arg(e.number);
    RecordView view(title, lines, this);
    view.exec();
}

void TFSTORIAEAD::print()
{
    const Listing listing = historyListing(history_);
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, listing.title);
    printer.setPageOrientation(ListingOrientation(listing) == PageOrientation::Landscape ? QPageLayout::Landscape
                                                                                         : QPageLayout::Portrait);
    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName(QStringLiteral("PrintD"));
    preview.setWindowTitle(listing.title);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [&listing](QPrinter* p) {
        QtPageSurface surface(*p);
        PrintListing(surface, listing);
    });
    execPreview(preview, this);
}

void TFSTORIAEAD::savePdf()
{
    const QString name = history_.arc.isEmpty() ? QStringLiteral("STORIA_EAD.pdf")
                                                : QStringLiteral("STORIA_") + history_.arc + QStringLiteral(".pdf");
    saveListingPdf(ctx_, historyListing(history_), name);
}

} // namespace vt
