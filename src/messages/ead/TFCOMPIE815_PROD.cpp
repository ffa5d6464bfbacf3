#include "messages/ead/TFCOMPIE815_PROD.h"

#include <algorithm>

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "foundation/IoError.h"
#include "foundation/NumberFormat.h"
#include "foundation/Tables.h"
#include "foundation/Text.h"
#include "masterdata/Products.h"
#include "messages/ead/EadForm.h"
#include "messages/ead/EadStore.h"
#include "messages/ead/Ie815Send.h"
#include "ui/CodedField.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"
#include "ui/WindowRegistry.h"

namespace vt {

ProductsPage::ProductsPage(AppContext& ctx, FormChecks& checks, EadPanels& panels, QWidget* parent)
    : CompilePage(ctx, checks, panels, parent)
{
    setObjectName(QStringLiteral("PAGINA3"));
    auto decimal = [this](const char* name, int decimals) {
        auto* e = new DecimalEdit(ctx_.messenger(), this);
        e->setObjectName(QString::fromLatin1(name));
        e->setDecimals(decimals);
        e->setAllowMinus(false);
        numbersOnly(e, true);
        // Room for nine grouped digits, the comma and the decimals: "123.456.789,12345".
        e->setFixedWidth(widthForChars(e, 12 + decimals));
        return e;
    };
    auto integer = [this](const char* name, int digits) {
        auto* e = new IntegerEdit(ctx_.messenger(), this);
        e->setObjectName(QString::fromLatin1(name));
        e->setMaxLength(digits);
        numbersOnly(e, false);
        e->setFixedWidth(widthForChars(e, digits + 1));
        return e;
    };
    auto* grid = new QGridLayout;
    int r = 0;
    NDETPR = integer("NDETPR", 3);
    row(grid, r, QString::fromUtf8("N° Dettaglio"), NDETPR);
    COAZPR = coded("COAZPR", QStringLiteral("PRAZ"), 20);
    COAZPR->companion()->hide();
    row(grid, r, QStringLiteral("Codice Prodotto"), COAZPR);
    LEDEPR = text("LEDEPR", 250);
    row(grid, r, QStringLiteral("Descizione Prodotto"), LEDEPR, 3);
    META20 = coded("META20", QStringLiteral("TA20"), 21);
    META20->companion()->hide();
    // Excise product code, CN code and the two further parts: "W200-22042131-00-0000".
    META20->edit()->setInputMask(QStringLiteral(">A999-99999999-XX-XXXX; "));
    row(grid, r, QStringLiteral("Codice Prodotto (TA20)"), META20);
    NUMCON = decimal("NUMCON", 5);
    row(grid, r, QStringLiteral("N° Bottiglie / Contenitori"), NUMCON);
    VOLCON = decimal("VOLCON", 5);
    row(grid, r, QStringLiteral("volume unitario contenitori"), VOLCON);
    TOTLIT = decimal("TOTLIT", 3);
    row(grid, r, QStringLiteral("Totale Litri"), TOTLIT);
    GRADOA = decimal("GRADOA", 2);
    row(grid, r, QStringLiteral("Grado Alcolico"), GRADOA);
    PNETTO = decimal("PNETTO", 2);
    row(grid, r, QStringLiteral("Peso Netto KG"), PNETTO);
    PLORDO = decimal("PLORDO", 2);
    row(grid, r, QStringLiteral("Peso Lordo KG"), PLORDO);
    CODIMB = coded("CODIMB", QStringLiteral("T010"), 2);
    row(grid, r, QStringLiteral("Tipo Imballaggio"), CODIMB, 3);
    NUMIMB = integer("NUMIMB", 9);
    row(grid, r, QStringLiteral("Numero degli Imballaggi"), NUMIMB);
    SIGIMB = text("SIGIMB", 35);
    row(grid, r, QStringLiteral("Identificazione Commerciale dei sigilli se utilizzati "), SIGIMB, 3);
    INSIIM = text("INSIIM", 250);
    row(grid, r, QStringLiteral("Informazioni sui sigilli se utilizzati"), INSIIM, 3);
    DESCOM = text("DESCOM", 250);
    row(grid, r, QStringLiteral("Designazione commerciale del prodotto sfuso"), DESCOM, 3);
    grid->setColumnStretch(3, 1);
    // Product fields are kept in the work file, not in the header.
    names_.clear();

    MCODAZ = new QPlainTextEdit(this);
    MCODAZ->setObjectName(QStringLiteral("MCODAZ"));
    MCODAZ->setReadOnly(true);
    MCODAZ->setFocusPolicy(Qt::NoFocus);
    MCODAZ->setFixedHeight(90);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(107, 107);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setFrameShape(QFrame::StyledPanel);
    Image1->setWordWrap(true); // "FOTO NON VALIDA" stays inside the box
    auto* side = new QVBoxLayout;
    side->addWidget(Image1, 0, Qt::AlignHCenter);
    side->addWidget(MCODAZ);
    side->addStretch(1);

    BCONFPR = makeButton(this, "BCONFPR", QStringLiteral("Conferma il dettaglio"));
    BCANPR = makeButton(this, "BCANPR", QStringLiteral("Cance&lla dettaglio"));
    BFINPR = makeButton(this, "BFINPR", QStringLiteral("Dettagli Finiti"));
    for (QPushButton* b : {BCONFPR, BCANPR, BFINPR}) {
        b->setAutoDefault(true);
        b->setFocusPolicy(Qt::TabFocus); // a click leaves the focus in the field being typed
    }
    auto* lineButtons = new QHBoxLayout;
    lineButtons->addWidget(BCONFPR);
    lineButtons->addWidget(BCANPR);
    lineButtons->addStretch(1);
    lineButtons->addWidget(BFINPR);

    auto* title = new QLabel(QStringLiteral("Dettagli dei prodotti inseriti:"), this);
    title->setObjectName(QStringLiteral("LMDEPRO"));
    MDEPRO = new QListWidget(this);
    MDEPRO->setObjectName(QStringLiteral("MDEPRO"));
    MDEPRO->setFocusPolicy(Qt::NoFocus);

    auto* upper = new QHBoxLayout;
    upper->addLayout(grid, 3);
    upper->addLayout(side, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(upper);
    layout->addLayout(lineButtons);
    layout->addWidget(title);
    layout->addWidget(MDEPRO, 1);
    navigation(layout, 3);

    QWidget* order[] = {NDETPR, COAZPR->edit(), LEDEPR, META20->edit(), NUMCON, VOLCON, TOTLIT, GRADOA, PNETTO, PLORDO,
                        CODIMB->edit(), NUMIMB, SIGIMB, INSIIM, DESCOM, BCONFPR, BCANPR, BFINPR, next, previous};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    onLeave(NDETPR, [this] {
        leaveNumber();
        const qint32 n = ParseInteger(NDETPR->text());
        return n >= 1 && n <= 999 ? CheckResult::pass() : CheckResult::fail({}, QStringLiteral("NDETPR"));
    });
    onLeave(COAZPR->edit(), [this] { return leaveProduct(); });
    onLeave(META20->edit(), [this] { return lookupOrPick(META20, false); });
    onLeave(CODIMB->edit(), [this] { return lookupOrPick(CODIMB); });
    onLeaveDo(NUMCON, [this] { leaveContainers(); });
    onLeaveDo(TOTLIT, [this] { leaveLitres(); });
    onLeaveDo(PLORDO, [this] { leaveGross(); });
    // The new-product button opens the products window; the code confirmed there comes back.
    disconnect(COAZPR->newButton(), nullptr, COAZPR, nullptr);
    connect(COAZPR->newButton(), &QToolButton::clicked, this, &ProductsPage::newProduct);
    connect(COAZPR, &CodedField::picked, this, [this] { leaveProduct(); });
    connect(BCONFPR, &QPushButton::clicked, this, &ProductsPage::confirmLine);
    connect(BCANPR, &QPushButton::clicked, this, &ProductsPage::deleteLine);
    connect(BFINPR, &QPushButton::clicked, this, &CompilePage::nextPage);
    BCANPR->hide();
    BFINPR->hide();
}

ProductLineFields ProductsPage::fields() const
{
    ProductLineFields f;
    f.COAZPR = COAZPR->code();
    f.LEDEPR = LEDEPR->text();
    f.META20 = META20->code();
    f.NUMCON = NUMCON->text();
    f.VOLCON = VOLCON->text();
    f.TOTLIT = TOTLIT->text();
    f.GRADOA = GRADOA->text();
    f.PNETTO = PNETTO->text();
    f.PLORDO = PLORDO->text();
    f.CODIMB = CODIMB->code();
    f.NUMIMB = NUMIMB->text();
    f.SIGIMB = SIGIMB->text();
    f.INSIIM = INSIIM->text();
    f.DESCOM = DESCOM->text();
    f.packaged = !NUMCON->isHidden();
    return f;
}

void ProductsPage::showFields(const ProductLineFields& f)
{
    COAZPR->setCode(f.COAZPR);
    LEDEPR->setText(f.LEDEPR);
    META20->setCode(f.META20);
    NUMCON->setValueText(f.NUMCON);
    VOLCON->setValueText(f.VOLCON);
    TOTLIT->setValueText(f.TOTLIT);
    GRADOA->setValueText(f.GRADOA);
    PNETTO->setValueText(f.PNETTO);
    PLORDO->setValueText(f.PLORDO);
    CODIMB->setCode(f.CODIMB);
    NUMIMB->setText(f.NUMIMB);
    SIGIMB->setText(f.SIGIMB);
    INSIIM->setText(f.INSIIM);
    DESCOM->setText(f.DESCOM);
    for (QLineEdit* e : findChildren<QLineEdit*>())
        e->setCursorPosition(0);
}

void ProductsPage::showPackaged(bool packaged)
{
    for (QWidget* w : {static_cast<QWidget*>(NUMCON), static_cast<QWidget*>(VOLCON), static_cast<QWidget*>(NUMIMB),
                       static_cast<QWidget*>(DESCOM)}) {
        w->setVisible(packaged);
        if (QWidget* l = findChild<QWidget*>(QLatin1Char('L') + w->objectName()))
            l->setVisible(packaged);
    }
}

void ProductsPage::showPicture(const QString& path)
{
    QPixmap picture;
    if (!path.isEmpty() && QFileInfo(path).isFile() && picture.load(path) && !picture.isNull())
        Image1->setPixmap(picture.scaledToHeight(Image1->height(), Qt::SmoothTransformation));
    else
        Image1->setText(MsgPhotoInvalid);
}

QStringList ProductsPage::lineTexts() const
{
    QStringList texts;
    const ProductLineFields f = fields();
    for (const QString* t : {&f.COAZPR, &f.LEDEPR, &f.NUMCON, &f.VOLCON, &f.TOTLIT, &f.GRADOA, &f.PNETTO, &f.PLORDO,
                             &f.CODIMB, &f.NUMIMB, &f.SIGIMB, &f.INSIIM, &f.DESCOM})
        texts << t->trimmed();
    return texts; // META20 left out: its mask shows dashes when empty
}

bool ProductsPage::lineInProgress() const
{
    const QStringList now = lineTexts();
    const bool blank = std::all_of(now.begin(), now.end(), [](const QString& t) { return t.isEmpty(); });
    return !blank && now != shown_;
}

void ProductsPage::list()
{
    showPicture(defaultPhotoPath(ctx_));
    showFields({});
    // Every companion goes with its code: no description stays beside an empty field.
    for (CodedField* c : {COAZPR, META20, CODIMB})
        c->companion()->clear();
    MCODAZ->clear();
    MDEPRO->clear();
    BCANPR->hide();
    loaded_ = 0;
    shown_ = lineTexts();
    product_.reset();
    showPackaged(true);
    QList<TRecDettaglio> lines;
    try {
        lines = listWorkLines(eadfiles::productWork(ctx_));
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
    int n = 0;
    for (const TRecDettaglio& l : lines)
        MDEPRO->addItem(productEntry(l, ++n));
    count_ = n;
    BFINPR->setVisible(n > 0);
    NDETPR->setText(QString::number(n + 1));
    NDETPR->setFocus(Qt::OtherFocusReason);
    NDETPR->selectAll();
}

void ProductsPage::leaveNumber()
{
    const qint32 n = ParseInteger(NDETPR->text());
    loaded_ = 0;
    if (n < 1 || n > 999)
        return;
    BCANPR->hide();
    try {
        const QList<TRecDettaglio> lines = listWorkLines(eadfiles::productWork(ctx_));
        if (n > lines.size())
            return;
        ProductLineFields f = productFields(lines[n - 1]);
        product_ = LookupCode(ctx_, QStringLiteral("PRAZ"), f.COAZPR);
        if (product_)
            f.packaged = productDefaults(*product_).packaged;
        showFields(f);
        CODIMB->lookup();
        showPackaged(f.packaged);
        showPicture(defaultPhotoPath(ctx_));
        MCODAZ->clear();
        BCANPR->show();
        loaded_ = n;
        shown_ = lineTexts();
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
}

CheckResult ProductsPage::leaveProduct()
{
    if (COAZPR->code().isEmpty() && count_ > 0 && ParseInteger(NDETPR->text()) > count_) {
        // No more products: on to the next page.
        BFINPR->setFocus(Qt::OtherFocusReason);
        return CheckResult::pass();
    }
    if (!COAZPR->lookup()) {
        COAZPR->pick();
        if (!COAZPR->lookup())
            return CheckResult::fail({}, QStringLiteral("COAZPR"));
    }
    product_ = COAZPR->lastRow();
    const ProductDefaults d = productDefaults(*product_);
    LEDEPR->setText(d.LEDEPR);
    LEDEPR->setCursorPosition(0);
    META20->setCode(d.META20);
    VOLCON->setValueText(d.VOLCON);
    GRADOA->setValueText(d.GRADOA);
    CODIMB->setCode(d.CODIMB);
    CODIMB->lookup();
    showPicture(photoPath(ctx_, product_->Num, trimField(product_->Fld[9])));
    QList<TRecTabella> treatments;
    try {
        treatments = readTreatments(ctx_).value_or(QList<TRecTabella>{});
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
    MCODAZ->setPlainText(productMemo(*product_, treatments).join(QLatin1Char('\n')));
    showPackaged(d.packaged);
    return CheckResult::pass();
}

void ProductsPage::leaveContainers()
{
    if (!product_)
        return;
    const ContainerQuantities q = quantitiesFromContainers(NUMCON->text(), VOLCON->text(), *product_);
    TOTLIT->setValueText(q.TOTLIT);
    PNETTO->setValueText(q.PNETTO);
    PLORDO->setValueText(q.PLORDO);
    if (q.NUMIMB)
        NUMIMB->setText(*q.NUMIMB);
}

void ProductsPage::leaveLitres()
{
    if (!NUMCON->isHidden())
        return;
    ProductLineFields f = fields();
    weightsFromLitres(f);
    PNETTO->setValueText(f.PNETTO);
    PLORDO->setValueText(f.PLORDO);
}

void ProductsPage::leaveGross()
{
    ProductLineFields f = fields();
    if (adjustGrossWeight(f)) {
        PLORDO->setValueText(f.PLORDO);
        ctx_.messenger().info(MsgGrossAdjusted);
    }
}

void ProductsPage::newProduct()
{
    ctx_.EditRow = blankRow();
    TrimRow(ctx_.EditRow);
    const bool savedFromMenu = ctx_.FromMenu;
    const bool savedModify = ctx_.ModifyMode;
    ctx_.FromMenu = false;
    ctx_.ModifyMode = false;
    openWindow(QStringLiteral("TFPRODAZIEND"), ctx_, window());
    ctx_.FromMenu = savedFromMenu;
    ctx_.ModifyMode = savedModify;
    const QString code = trimField(ctx_.EditRow.Fld[0]);
    if (!code.isEmpty()) {
        COAZPR->setCode(code);
        leaveProduct();
        checks_.setTouched(true);
    }
    COAZPR->edit()->setFocus(Qt::OtherFocusReason);
}

bool ProductsPage::confirmLine()
{
    // Clicked straight from a field: that field is left first (its derived quantities, its load).
    if (!checks_.runPendingLeave())
        return false;
    for (CodedField* c : {COAZPR, META20, CODIMB})
        if (!c->lookup()) {
            c->edit()->setFocus(Qt::OtherFocusReason);
            return false;
        }
    product_ = COAZPR->lastRow();
    const qint32 n = ParseInteger(NDETPR->text());
    if (n < 1 || n > 999) {
        NDETPR->setFocus(Qt::OtherFocusReason);
        return false;
    }
    ProductLineFields f = fields();
    if (adjustGrossWeight(f)) {
        PLORDO->setValueText(f.PLORDO);
        ctx_.messenger().info(MsgGrossAdjusted);
    }
    TRecDettaglio line;
    if (!checks_.show(buildProductLine(f, *product_, line)))
        return false;
    try {
        putWorkLine(eadfiles::productWork(ctx_), n, line);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return false;
    }
    list();
    return true;
}

void ProductsPage::deleteLine()
{
    // Only the line on show is deleted: a number typed but not yet left shows its line first.
    const int shown = loaded_;
    if (!checks_.runPendingLeave())
        return;
    const qint32 n = ParseInteger(NDETPR->text());
    if (n != shown)
        return;
    if (n >= 1 && n <= 999) {
        try {
            deleteWorkLine(eadfiles::productWork(ctx_), n);
        } catch (const IoError& e) {
            ctx_.messenger().info(e.text());
        }
    }
    list();
}

} // namespace vt
