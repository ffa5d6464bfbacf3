#include "register/searches/TFRICREGC.h"

#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "foundation/AddressFile.h"
#include "foundation/IoError.h"
#include "foundation/Text.h"
#include "ui/Edits.h"
#include "ui/FormChecks.h"
#include "ui/PrintText.h"
#include "ui/Widgets.h"
#include "ui/WindowRegistry.h"

namespace vt {

TFRICREGC::TFRICREGC(AppContext& ctx, QWidget* parent, bool guarantees)
    : QDialog(parent), ctx_(ctx),
      mode_(searchModeOf(ctx.OpCode).value_or(*searchModeOf(guarantees ? QLatin1Char('G') : QLatin1Char('C'))))
{
    // A mode of the other window (a code that is no search of this one) falls
    // back to the first.
    if (mode_.guarantees != guarantees)
        mode_ = *searchModeOf(guarantees ? QLatin1Char('G') : QLatin1Char('C'));
    setObjectName(guarantees ? QStringLiteral("TFRICREGF") : QStringLiteral("TFRICREGC"));
    setWindowTitle(mode_.title);
    checks_ = new FormChecks(this, ctx_.messenger());

    MDADA = new DateEdit(this);
    MDADA->setObjectName(QStringLiteral("MDADA"));
    MDADA->setFixedWidth(widthForChars(MDADA, 12));
    MDAAL = new DateEdit(this);
    MDAAL->setObjectName(QStringLiteral("MDAAL"));
    MDAAL->setFixedWidth(widthForChars(MDAAL, 12));

    auto* form = new QFormLayout;
    form->addRow(buddyLabel(QStringLiteral("Dalla data"), MDADA), MDADA);
    form->addRow(buddyLabel(QStringLiteral("Alla data"), MDAAL), MDAAL);
    if (!guarantees) {
        MITDES = new QLineEdit(this);
        MITDES->setObjectName(QStringLiteral("MITDES"));
        setupText(MITDES, 16, TextCase::Upper);
        MITDES->setFixedWidth(widthForChars(MITDES, 20));
        MITDES->setToolTip(QStringLiteral("OBBLIGATORIO per SPEDIZIONI / RICEZIONI.\n"
                                          "Per i documenti DAC = CUMULATIVO; per DSC e X-E = DESTINATARI VARI\n"
                                          "Per SCF = ASSENTE."));
        BMITDES = new QToolButton(this);
        BMITDES->setObjectName(QStringLiteral("BMITDES"));
        BMITDES->setText(QStringLiteral("..."));
        BMITDES->setToolTip(QStringLiteral("mostra l'archivio"));
        BMITDES->setFocusPolicy(Qt::NoFocus);
        bindFieldKey(MITDES, QKeySequence(Qt::Key_F4), BMITDES);
        auto* row = new QHBoxLayout;
        row->addWidget(MITDES);
        row->addWidget(BMITDES);
        row->addStretch(1);
        form->addRow(buddyLabel(QStringLiteral("Destinatario"), MITDES), row);
        connect(BMITDES, &QToolButton::clicked, this, &TFRICREGC::pickCounterpart);
    }

    BCONF = makeButton(this, "BCONF", QStringLiteral("&CONFERMA"));
    BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BCONF);
    buttons->addStretch(1);
    buttons->addWidget(BABBANDONA);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setMinimumWidth(fontMetrics().horizontalAdvance(mode_.title) + 160);

    checks_->attach();
    connect(BCONF, &QPushButton::clicked, this, &TFRICREGC::confirm);
    connect(BABBANDONA, &QPushButton::clicked, this, &QDialog::reject);
}

void TFRICREGC::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous()) // back from minimised: the fields stay as they are
        return;
    const QDate today = ctx_.clock().today();
    MDAAL->setDate(today);
    MDADA->setDate(QDate(today.year(), 1, 1));
    if (MITDES)
        MITDES->clear();
    MDADA->setFocus(Qt::OtherFocusReason);
}

void TFRICREGC::pickCounterpart()
{
    const QString book = searchAddressBook(mode_);
    const QString saved = ctx_.TableName;
    ctx_.TableName = book;
    ctx_.PickedCode = -1;
    openWindow(QStringLiteral("TFLISTVIEW"), ctx_, this);
    ctx_.TableName = saved;
    if (ctx_.PickedCode >= 0) {
        const QString path = ctx_.datiGen(book + QStringLiteral(".DAT"));
        std::optional<TRecIndirizzo> a;
        try {
            TRecIndirizzo search = blankCompany();
            search.number = ctx_.PickedCode;
            if (QFile::exists(path)) // a search only reads: no address file is created here
                a = FindAddress(AddressSearch::Code, search, path);
        } catch (const IoError& e) {
            ctx_.messenger().info(e.text());
        }
        if (a) {
            const QString first = trimField(a->CACCI1);
            MITDES->setText(
                (!first.isEmpty() && first.at(0) > QLatin1Char('!') ? first : trimField(a->CACCI2)).left(16));
        } else {
            MITDES->clear(); // the code picked is no longer in the book
        }
        checks_->setTouched(true);
    }
    MITDES->setFocus(Qt::OtherFocusReason);
}

void TFRICREGC::confirm()
{
    RegisterSearch search;
    const QString filter = MITDES ? MITDES->text() : QString();
    if (!checks_->confirm({[&] { return checkRegisterSearch(MDADA->text(), MDAAL->text(), filter, search); }}))
        return;
    checks_->setStatus({});
    search_ = search;
    try {
        BusyCursor busy;
        selected_ = searchRegister(ctx_, mode_, search_);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    const SearchMode mode = mode_;
    const RegisterSearch shown = search_;
    const QList<TRecMovimento> rows = selected_;
    previewPages(this, ctx_.fileDialogs(), QStringLiteral("REGISTRO FISCALE"), PageOrientation::Landscape,
                 [mode, shown, rows](PageSurface& s) { PrintRegisterSearch(s, mode, shown, rows); });
    if (MITDES)
        MITDES->clear();
    MDADA->setFocus(Qt::OtherFocusReason);
    MDADA->selectAll();
}

} // namespace vt
