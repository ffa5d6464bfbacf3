#include "masterdata/TFPRODAZIEND.h"

#include <QApplication>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

#include "ui/WindowRegistry.h"
#include "foundation/IoError.h"
#include "foundation/NumberFormat.h"
#include "foundation/Tables.h"
#include "foundation/Text.h"
#include "masterdata/Products.h"
#include "masterdata/Settings.h"
#include "ui/CodedField.h"
#include "ui/Edits.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"

namespace vt {

namespace {

QLineEdit* lineEdit(QWidget* parent, const char* name, int maxLength, TextCase c)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    setupText(e, maxLength, c);
    return e;
}

CodedField::Names names(const char* edit)
{
    const QString e = QString::fromLatin1(edit);
    return {e, QStringLiteral("D") + e, QStringLiteral("B") + e, QStringLiteral("BN") + e};
}

const QString kTable = QStringLiteral("PRAZ");
constexpr int kPictureSide = 115;
} // namespace

TFPRODAZIEND::TFPRODAZIEND(AppContext& ctx, QWidget* parent)
    : TableRowEditor(ctx, kTable, QStringLiteral("TFPRODAZIEND"), QStringLiteral("&Elenca"), parent)
{
    setWindowTitle(QStringLiteral("Prodotti Aziendali"));
    const QFontMetrics fm(font());

    auto* outer = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    outer->addLayout(top);

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    top->addLayout(form, 1);

    form->addRow(QString(), modifyLabel());

    LE0 = lineEdit(this, "LE0", 20, TextCase::Upper);
    LE0->setFixedWidth(fm.horizontalAdvance(QString(21, QLatin1Char('W'))) * 3 / 4);
    form->addRow(QStringLiteral("Codice Prodotto"), LE0);
    LE1 = lineEdit(this, "LE1", 80, TextCase::AsTyped);
    form->addRow(QStringLiteral("Descizione del Prodotto"), LE1);

    LE2 = new CodedField(ctx_, QStringLiteral("T018"), names("LE2"), 2, this);
    form->addRow(QStringLiteral("Categoria del Vino"), LE2);
    LE21 = lineEdit(this, "LE21", 200, TextCase::AsTyped);
    label21_ = new QLabel(this);
    label21_->setBuddy(LE21);
    form->addRow(label21_, LE21);
    LE22 = lineEdit(this, "LE22", 200, TextCase::AsTyped);
    label22_ = new QLabel(QStringLiteral("Organismo certificatore"), this);
    label22_->setBuddy(LE22);
    form->addRow(label22_, LE22);
    LE7 = new CodedField(ctx_, QStringLiteral("T005"), names("LE7"), 2, this);
    label7_ = new QLabel(QStringLiteral("Paese d'Importazione"), this);
    label7_->setBuddy(LE7->edit());
    form->addRow(label7_, LE7);

    LE3 = new CodedField(ctx_, QStringLiteral("T019"), names("LE3"), 7, this);
    form->addRow(QStringLiteral("Zona di Coltivazione"), LE3);

    R10 = new DecimalEdit(ctx_.messenger(), this);
    R10->setObjectName(QStringLiteral("R10"));
    R10->setAlignment(Qt::AlignRight);
    R10->setMaxLength(10);
    R10->setFixedWidth(fm.horizontalAdvance(QStringLiteral("000,00000")) + 16);
    form->addRow(QStringLiteral("Grado Alcolico"), R10);

    ME4 = new CodedField(ctx_, QStringLiteral("TA20"), names("ME4"), 21, this);
    ME4->edit()->setValidator(nullptr); // the mask does the work: upper case, digits where due
    ME4->edit()->setInputMask(QStringLiteral(">A999-99999999-NN-NNNN; "));
    ME4->edit()->setFixedWidth(fm.horizontalAdvance(QString(24, QLatin1Char('W'))) * 3 / 4 + 12);
    form->addRow(QStringLiteral("Codice Tabella Alcoli"), ME4);

    LE5 = lineEdit(this, "LE5", 1, TextCase::Upper);
    LE5->setFixedWidth(fm.horizontalAdvance(QStringLiteral("WW")) + 12);
    DLE5 = new QLineEdit(this);
    DLE5->setObjectName(QStringLiteral("DLE5"));
    DLE5->setReadOnly(true);
    DLE5->setFocusPolicy(Qt::NoFocus);
    DLE5->setFixedWidth(fm.horizontalAdvance(QStringLiteral("Condizionato")) + 20);
    auto* bulkRow = new QHBoxLayout;
    bulkRow->addWidget(LE5);
    bulkRow->addWidget(DLE5);
    bulkRow->addStretch(1);
    form->addRow(QStringLiteral("Sfuso o coNdizionato ?  S/N"), bulkRow);

    packagedBox_ = new QGroupBox(QStringLiteral("Volume e peso del contenitore"), this);
    auto* pack = new QFormLayout(packagedBox_);
    pack->setLabelAlignment(Qt::AlignRight);
    R11 = new DecimalEdit(ctx_.messenger(), packagedBox_);
    R11->setObjectName(QStringLiteral("R11"));
    R12 = new DecimalEdit(ctx_.messenger(), packagedBox_);
    R12->setObjectName(QStringLiteral("R12"));
    R12->setToolTip(QStringLiteral("peso della bottiglia tappata"));
    I10 = new IntegerEdit(ctx_.messenger(), packagedBox_);
    I10->setObjectName(QStringLiteral("I10"));
    I10->setAllowMinus(true);
    I10->setMaxLength(9);
    I10->setToolTip(QStringLiteral("numero di bottiglie per imballaggio"));
    for (QLineEdit* e : {static_cast<QLineEdit*>(R11), static_cast<QLineEdit*>(R12), static_cast<QLineEdit*>(I10)}) {
        e->setAlignment(Qt::AlignRight);
        e->setFixedWidth(fm.horizontalAdvance(QStringLiteral("0.000,00000")) + 16);
    }
    R11->setMaxLength(14);
    R12->setMaxLength(14);
    pack->addRow(QStringLiteral("Volume unitario in litri"), R11);
    pack->addRow(QStringLiteral("Peso lordo unitario in Kg "), R12);
    pack->addRow(QStringLiteral("Unità per Imballaggio"), I10);
    form->addRow(QString(), packagedBox_);

    LE6 = new CodedField(ctx_, QStringLiteral("T010"), names("LE6"), 2, this);
    form->addRow(QStringLiteral("Tipo di Imballaggio"), LE6);

    CBOX = new QListWidget(this);
    CBOX->setObjectName(QStringLiteral("CBOX"));
    CBOX->setMinimumHeight(110);
    form->addRow(QStringLiteral("Trattamenti del Vino"), CBOX);
    DCBOX = new QLineEdit(this);
    DCBOX->setObjectName(QStringLiteral("DCBOX"));
    DCBOX->setReadOnly(true);
    DCBOX->setFocusPolicy(Qt::NoFocus);
    form->addRow(QString(), DCBOX);
    for (CodedField* f : {LE2, LE3, ME4, LE6, LE7})
        f->setMinimumWidth(520);
    // The short codes share one width, so their buttons and descriptions line up.
    for (CodedField* f : {LE2, LE6, LE7})
        f->edit()->setFixedWidth(LE3->edit()->minimumWidth());

    // The photo, on the right.
    auto* photo = new QVBoxLayout;
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true);
    Image1->setFrameShape(QFrame::Box);
    Image1->setFixedSize(kPictureSide, kPictureSide);
    BIMMAGINE = makeButton(this, "BIMMAGINE", QStringLiteral("Carica un'immagine del Prodotto"));
    auto* note = new QLabel(QStringLiteral("Nota: l'immagine non deve superare 100 Kbyte"), this);
    note->setWordWrap(true);
    note->setMaximumWidth(3 * kPictureSide);
    photo->addWidget(Image1, 0, Qt::AlignHCenter);
    photo->addWidget(BIMMAGINE);
    photo->addWidget(note);
    photo->addStretch(1);
    top->addSpacing(12);
    top->addLayout(photo);

    BELENCA->setToolTip(QStringLiteral("Elenca i codici prodotto"));
    outer->addSpacing(8);
    outer->addLayout(buttonRow(true));

    // Tab order: the packaged fields lie between the bulk flag and the packaging, so that a bulk
    // product (which hides them) goes straight from one to the other.
    QWidget* order[] = {LE0, LE1, LE2->edit(), LE21, LE22, LE7->edit(), LE3->edit(), R10, ME4->edit(), LE5,
                        R11, R12, I10, LE6->edit(), CBOX, BCONF};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    try {
        ready_ = ReadStructure(ctx_, kTable).has_value();
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    if (!ready_) {
        ctx_.messenger().info(MsgTableStructureMissing);
        return;
    }

    checks_->onLeave(LE0, [this] { return leaveKey(); });
    checks_->onLeave(LE2->edit(), [this] { return ruleCategory(true); });
    checks_->onLeave(LE3->edit(), [this] { return ruleZone(); });
    checks_->onLeave(LE7->edit(), [this] { return ruleCountry(); });
    checks_->onLeave(ME4->edit(), [this] { return ruleTa20(); });
    checks_->onLeave(R10, [this] { return CheckStrength(R10->text()); });
    checks_->onLeave(LE5, [this] { return ruleBulk(true); });
    checks_->onLeave(LE6->edit(), [this] { return rulePackaging(); });
    // Volume, weight and units are checked on confirming only: leaving them empty must not trap
    // a user who goes back to make the product bulk.

    for (CodedField* f : {LE2, LE3, ME4, LE6, LE7})
        connect(f, &CodedField::picked, this, [this] { checks_->setTouched(true); });
    connect(LE2, &CodedField::picked, this, &TFPRODAZIEND::applyCategory);
    connect(CBOX, &QListWidget::itemChanged, this, &TFPRODAZIEND::treatmentsChanged);
    connect(BIMMAGINE, &QPushButton::clicked, this, &TFPRODAZIEND::choosePicture);
    finishSetup();
}

// ---- picture ------------------------------------------------------------------------------------

bool TFPRODAZIEND::loadPicture(const QString& path)
{
    QPixmap pixmap;
    if (path.isEmpty() || !QFileInfo(path).isFile() || !pixmap.load(path) || pixmap.isNull()) {
        Image1->clear();
        photoSource_.clear();
        ctx_.messenger().info(MsgPhotoInvalid);
        return false;
    }
    Image1->setPixmap(pixmap);
    photoSource_ = path;
    return true;
}

void TFPRODAZIEND::fitPicture()
{
    // Same height, width in proportion (stretched), within reason for a very wide picture.
    const QPixmap p = Image1->pixmap();
    if (p.isNull() || p.height() <= 0)
        return;
    const int width = int(std::lround(double(Image1->height()) * p.width() / p.height()));
    Image1->setFixedWidth(std::clamp(width, 8, 3 * kPictureSide));
}

void TFPRODAZIEND::choosePicture()
{
    const QString chosen = ctx_.fileDialogs().openPicture(BIMMAGINE->text().remove(QLatin1Char('&')),
                                                          ctx_.DatiGenFolder);
    if (chosen.isEmpty())
        return;
    switch (CheckPhotoFile(chosen)) {
    case PhotoVerdict::TooLarge:
        ctx_.messenger().info(MsgPhotoTooLarge);
        return;
    case PhotoVerdict::Invalid:
        ctx_.messenger().info(MsgPhotoInvalid);
        return;
    case PhotoVerdict::Ok:
        break;
    }
    if (!loadPicture(chosen))
        return;
    const QString suffix = QFileInfo(chosen).suffix();
    photoExtension_ = suffix.isEmpty() ? QStringLiteral(".bmp") : QLatin1Char('.') + suffix;
    fitPicture();
    checks_->setTouched(true);
}

// ---- reset and modify ---------------------------------------------------------------------------

void TFPRODAZIEND::fillTreatments()
{
    const QSignalBlocker block(CBOX);
    CBOX->clear();
    QStringList items;
    try {
        items = treatmentItems(ctx_);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
    for (const QString& text : items) {
        auto* item = new QListWidgetItem(text, CBOX);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

QStringList TFPRODAZIEND::tickedTreatments() const
{
    QStringList ticked;
    for (int i = 0; i < CBOX->count(); ++i)
        if (CBOX->item(i)->checkState() == Qt::Checked)
            ticked << CBOX->item(i)->text();
    return ticked;
}

void TFPRODAZIEND::treatmentsChanged()
{
    const QStringList ticked = tickedTreatments();
    DCBOX->setText(ticked.isEmpty() ? QString() : ticked.join(QStringLiteral(" - ")) + QStringLiteral(" - "));
    DCBOX->setCursorPosition(0);
    ctx_.EditRow.Fld[7] = treatmentsField(ticked);
}

void TFPRODAZIEND::applyCategory()
{
    const CategoryView v = categoryView(LE2->code());
    LE22->setVisible(v.certificationBody);
    label22_->setVisible(v.certificationBody);
    if (v.attestationLabel) {
        label21_->setText(*v.attestationLabel);
    } else {
        LE21->clear();
    }
    LE21->setVisible(v.attestationLabel.has_value());
    label21_->setVisible(v.attestationLabel.has_value());
    if (!v.importCountry)
        LE7->clear();
    LE7->setVisible(v.importCountry);
    label7_->setVisible(v.importCountry);
}

void TFPRODAZIEND::showPackaged(bool packaged)
{
    packagedBox_->setVisible(packaged);
}

void TFPRODAZIEND::clearFields()
{
    Image1->setFixedSize(kPictureSide, kPictureSide);
    photoExtension_ = QStringLiteral(".bmp");
    oldPhoto_.clear();
    loadPicture(defaultPhotoPath(ctx_));

    TrimRow(ctx_.EditRow);
    for (QLineEdit* e : {LE0, LE1, LE21, LE22, DCBOX, static_cast<QLineEdit*>(R10), static_cast<QLineEdit*>(R11),
                         static_cast<QLineEdit*>(R12), static_cast<QLineEdit*>(I10)})
        e->clear();
    for (CodedField* f : {LE2, LE3, ME4, LE6, LE7})
        f->clear();
    LE5->setText(QStringLiteral("N"));
    DLE5->setText(bulkDescription(BulkKind::Packaged));
    showPackaged(true);
    for (QWidget* w : {static_cast<QWidget*>(LE21), static_cast<QWidget*>(label21_), static_cast<QWidget*>(LE22),
                       static_cast<QWidget*>(label22_), static_cast<QWidget*>(LE7), static_cast<QWidget*>(label7_)})
        w->hide();
    fillTreatments();
}

void TFPRODAZIEND::showRow(const TRecTabella& row)
{
    LE0->setText(row.Fld[0]);
    LE1->setText(row.Fld[1]);
    LE2->setCode(row.Fld[2]);
    LE2->lookup();
    LE3->setCode(row.Fld[3]);
    LE3->lookup();
    ME4->setCode(row.Fld[4]);
    ME4->lookup();
    LE5->setText(row.Fld[5]);
    const BulkKind kind = bulkKindOf(row.Fld[5]);
    DLE5->setText(bulkDescription(kind));
    showPackaged(kind != BulkKind::Bulk);
    LE6->setCode(row.Fld[6]);
    LE6->lookup();
    applyCategory();
    if (LE7->isVisibleTo(this)) {
        LE7->setCode(row.Fld[8]);
        LE7->lookup();
    }
    LE21->setText(row.Ext[1]);
    LE22->setText(row.Ext[2]);
    R10->setValueText(FormatNumber(row.ValA[0], 0, 2).trimmed());
    R11->setValueText(FormatNumber(row.ValA[1], 0, 5).trimmed());
    R12->setValueText(FormatNumber(row.ValA[2], 0, 5).trimmed());
    I10->setText(QString::number(row.Dim[0]));
    {
        const QSignalBlocker block(CBOX);
        for (int i = 0; i < CBOX->count(); ++i)
            CBOX->item(i)->setCheckState(treatmentTicked(CBOX->item(i)->text(), row.Fld[7]) ? Qt::Checked
                                                                                             : Qt::Unchecked);
    }
    treatmentsChanged();

    photoExtension_ = row.Fld[9].isEmpty() ? QStringLiteral(".bmp") : row.Fld[9];
    oldExtension_ = photoExtension_;
    oldPhoto_ = photoPath(ctx_, row.Num, photoExtension_);
    if (loadPicture(oldPhoto_))
        fitPicture();
}

// ---- rules --------------------------------------------------------------------------------------

CheckResult TFPRODAZIEND::checkKey()
{
    if (!checks_->touched() || trimField(LE0->text()).isEmpty())
        return CheckResult::quiet(QStringLiteral("DIGITARE IL CODICE PRODOTTO"), QStringLiteral("LE0"));
    return CheckResult::pass();
}

std::optional<TRecTabella> TFPRODAZIEND::findRow(const QString& key)
{
    return FindTableRow(ctx_, kTable, key);
}

CheckResult TFPRODAZIEND::ruleCategory(bool moveFocus)
{
    const bool found = LE2->lookup();
    if (!found)
        LE2->pick();
    applyCategory();
    if (!found && !LE2->lookup())
        return CheckResult::quiet(kInvalidCode, QStringLiteral("LE2"));
    // Leaving the category with Enter went past the fields it has just shown: go back to the
    // first of them (as a "failure" without a message, so the field passed over is not checked).
    if (moveFocus && QApplication::focusWidget() == LE3->edit()) {
        for (QLineEdit* w : {LE21, LE22, LE7->edit()})
            if (w->isVisibleTo(this))
                return CheckResult::fail({}, w->objectName());
    }
    return CheckResult::pass();
}

CheckResult TFPRODAZIEND::ruleZone()
{
    if (LE3->lookup())
        return CheckResult::pass();
    LE3->pick();
    return LE3->lookup() ? CheckResult::pass() : CheckResult::quiet(kInvalidCode, QStringLiteral("LE3"));
}

CheckResult TFPRODAZIEND::ruleCountry()
{
    if (!LE7->isVisibleTo(this) || LE7->lookup())
        return CheckResult::pass();
    LE7->pick();
    return LE7->lookup() ? CheckResult::pass() : CheckResult::quiet(kInvalidCode, QStringLiteral("LE7"));
}

CheckResult TFPRODAZIEND::ruleTa20()
{
    if (!ME4->lookup()) {
        ME4->pick();
        if (!ME4->lookup())
            return CheckResult::quiet(kInvalidCode, QStringLiteral("ME4"));
    }
    if (auto r = CheckStrength(R10->text()); !r)
        return r;
    if (auto warning = CaddWarning(ME4->code(), ParseDecimal(R10->text(), 5)))
        ctx_.messenger().info(*warning);
    return CheckResult::pass();
}

CheckResult TFPRODAZIEND::ruleBulk(bool moveFocus)
{
    const BulkKind kind = bulkKindOf(LE5->text());
    DLE5->setText(bulkDescription(kind));
    if (kind == BulkKind::Invalid)
        return CheckResult::quiet(QStringLiteral("DIGITARE S (SFUSO) OPPURE N (CONDIZIONATO)"), QStringLiteral("LE5"));
    QWidget* now = QApplication::focusWidget();
    const bool intoPackaged = now && packagedBox_->isAncestorOf(now);
    const bool wasPackaged = packagedBox_->isVisibleTo(this);
    showPackaged(kind == BulkKind::Packaged);
    if (!moveFocus)
        return CheckResult::pass();
    // Leaving the flag with Enter or Tab went to the field after it as it was: a bulk product
    // goes on to the packaging, a product just made packaged to its volume (a "failure" without a
    // message, so that no skipped field is checked as it is left). Any other move, CONFERMA
    // included, goes where the user went.
    if (kind == BulkKind::Bulk && intoPackaged)
        return CheckResult::fail({}, QStringLiteral("LE6"));
    if (kind == BulkKind::Packaged && !wasPackaged && now == LE6->edit())
        return CheckResult::fail({}, QStringLiteral("R11"));
    return CheckResult::pass();
}

CheckResult TFPRODAZIEND::rulePackaging()
{
    if (!LE6->lookup()) {
        LE6->pick();
        if (!LE6->lookup())
            return CheckResult::quiet(kInvalidCode, QStringLiteral("LE6"));
    }
    return CheckPackaging(LE6->lastRow() ? LE6->lastRow()->Fld[2] : QString(), bulkKindOf(LE5->text()));
}

bool TFPRODAZIEND::buildRow()
{
    ctx_.EditRow = blankRow();
    TrimRow(ctx_.EditRow);
    // The category decides which fields apply; a product imported from a third country needs
    // its country.
    const bool packaged = bulkKindOf(LE5->text()) == BulkKind::Packaged;
    std::vector<CheckFn> rules = {
        [this] { return CheckStrength(R10->text()); },
        [this] { return ruleCategory(false); },
        [this] { return ruleCountry(); },
        [this] { return ruleZone(); },
        [this] { return ruleTa20(); },
        [this] { return ruleBulk(false); },
    };
    if (packaged) {
        rules.push_back([this] { return CheckVolume(R11->text()); });
        rules.push_back([this] { return CheckWeight(R12->text()); });
    }
    rules.push_back([this] { return rulePackaging(); });
    if (packaged)
        rules.push_back([this] { return CheckUnits(I10->text()); });
    if (!checks_->confirm(rules))
        return false;
    BuildProductRow(form(), ctx_.EditRow);
    return true;
}

CheckResult TFPRODAZIEND::checkKeyFree()
{
    return CheckKeyFree(ctx_, kTable, LE0->text(), oldCode_, modify_, QStringLiteral("LE0"));
}

ProductForm TFPRODAZIEND::form() const
{
    ProductForm f;
    f.code = LE0->text();
    f.description = LE1->text();
    f.category = LE2->code();
    f.zone = LE3->code();
    f.ta20 = ME4->code();
    f.bulk = LE5->text();
    f.packaging = LE6->code();
    f.treatments = treatmentsField(tickedTreatments());
    f.country = LE7->code();
    f.attestation = LE21->text();
    f.certificationBody = LE22->text();
    f.photoExtension = photoExtension_;
    f.strength = R10->text();
    f.volume = R11->text();
    f.weight = R12->text();
    f.units = I10->text();
    return f;
}

std::int32_t TFPRODAZIEND::saveRow(std::optional<std::int32_t> replacing)
{
    return SaveProduct(ctx_, replacing);
}

void TFPRODAZIEND::saved(std::int32_t number)
{
    // A photo that cannot be stored does not undo the product.
    try {
        StoreProductPhoto(ctx_, photoSource_, number, photoExtension_, oldPhoto_);
    } catch (const IoError&) {
        ctx_.messenger().info(MsgPhotoInvalid);
    }
    TrimRow(ctx_.EditRow);
    if (ctx_.FromMenu) {
        reset();
        return;
    }
    accept(); // the caller finds the product in ctx.EditRow
}

void TFPRODAZIEND::deleteRow(std::int32_t number)
{
    DeleteProduct(ctx_, number, oldExtension_);
}

} // namespace vt
