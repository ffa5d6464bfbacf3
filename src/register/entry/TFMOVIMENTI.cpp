#include "register/entry/TFMOVIMENTI.h"

#include <cmath>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "register/entry/MovementCompose.h"
#include "register/store/RegisterStore.h"
#include "foundation/Dates.h"
#include "foundation/IoError.h"
#include "foundation/NumberFormat.h"
#include "foundation/Tables.h"
#include "foundation/Text.h"
#include "ui/CodedField.h"
#include "ui/Edits.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"

namespace vt {

namespace {
QString decimalText(double v, int decimals)
{
    return v == 0 ? QString() : FormatNumber(v, 0, qint16(decimals)).trimmed();
}

QString numberText(std::int32_t v)
{
    return v == 0 ? QString() : QString::number(v);
}
} // namespace

TFMOVIMENTI::TFMOVIMENTI(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), mode_(movementModeOf(ctx)), load_(ctx.LoadSide)
{
    setObjectName(QStringLiteral("TFMOVIMENTI"));
    setWindowTitle(movementCaption(mode_, load_));
    checks_ = new FormChecks(this, ctx_.messenger());
    build();
    checks_->attach();
    wire();
    prepare();
}

int TFMOVIMENTI::exec()
{
    return ready_ ? QDialog::exec() : QDialog::Rejected;
}

void TFMOVIMENTI::wire()
{
    checks_->onLeave(DATMOV, [this] { return checkMovementDate(DATMOV->text(), DATMOV->date()); });
    checks_->onLeave(TIPDOC->edit(), [this] { return leaveTipdoc(); });
    checks_->onLeave(PRODAZ->edit(), [this] {
        runLeaveOf(PRODAZ->edit());
        return checkCompanyProduct(PRODAZ->code(), lookupProduct());
    });
    checks_->onLeave(TIPSTO, [this] {
        storageChanged();
        return checkStorage(TIPSTO->text());
    });
    checks_->onLeave(PRODDO->edit(), [this] { return leaveProddo(); });
    checks_->onLeave(NUMDOC, [this] { return checkDocumentNumber(NUMDOC->text(), !numdocHidden_); });
    checks_->onLeave(NPRDAA, [this] { return checkEadProgressive(NPRDAA->text(), eadBlockShown(TIPDOC->code())); });
    checks_->onLeave(DATDOC, [this] {
        const CheckResult r = checkDocumentDate(DATDOC->date());
        const QString late = documentDateWarning(DATDOC->date(), DATMOV->date());
        if (r && !late.isEmpty())
            ctx_.messenger().info(late); // a warning: the date is accepted
        return r;
    });
    checks_->onLeave(NILODD, [this] { return checkLocalReference(NILODD->text(), eadBlockShown(TIPDOC->code())); });
    checks_->onLeave(NUMCPR, [this] { return checkLineNumber(NUMCPR->text(), eadBlockShown(TIPDOC->code())); });
    checks_->onLeave(NUMCON, [this] {
        recomputeLitres();
        return packaged() ? checkPackages(NUMCON->text()) : CheckResult::pass();
    });
    checks_->onLeave(DOUBL3, [this] {
        recomputeLitres();
        return packaged() ? checkPackageVolume(DOUBL3->text()) : CheckResult::pass();
    });
    checks_->onLeave(DOUBL5, [this] { return checkGuaranteeAmount(DOUBL5->text()); });
    checks_->onLeave(DOUBL2, [this] {
        recomputeGuarantee();
        return checkStrengthValue(DOUBL2->text());
    });
    checks_->onLeave(DOUBL1, [this] {
        recomputeGuarantee();
        return checkLitres(DOUBL1->text());
    });
    checks_->onLeave(CODPAE->edit(), [this] { return leaveCodpae(); });
    checks_->onLeave(MITDES, [this] { return lookupCounterpart(); });
    checks_->onLeave(CAUMOV->edit(), [this] { return leaveCaumov(); });

    connect(TIPDOC, &CodedField::picked, this, [this] { documentTypeChanged(); checks_->setTouched(true); });
    connect(PRODAZ, &CodedField::picked, this, [this] { productChosen(); checks_->setTouched(true); });
    connect(PRODDO, &CodedField::picked, this, [this] { recomputeGuarantee(); checks_->setTouched(true); });
    connect(CODPAE, &CodedField::picked, this, [this] { recomputeGuarantee(); checks_->setTouched(true); });
    connect(CAUMOV, &CodedField::picked, this, [this] { checks_->setTouched(true); });
    // The company products window, not the code editor, enters a new product.
    disconnect(PRODAZ->newButton(), nullptr, PRODAZ, nullptr);
    connect(PRODAZ->newButton(), &QToolButton::clicked, this, &TFMOVIMENTI::newProduct);
    connect(BMITDES, &QToolButton::clicked, this, &TFMOVIMENTI::pickCounterpart);
    connect(BNMITDES, &QToolButton::clicked, this, &TFMOVIMENTI::newCounterpart);
    connect(BCONF, &QPushButton::clicked, this, &TFMOVIMENTI::confirm);
    connect(BABBANDONA, &QPushButton::clicked, this, &QDialog::reject);

}

void TFMOVIMENTI::prepare()
{
    if (!load_) {
        lDoubl5->show();
        DOUBL5->show();
    } else {
        lDoubl5->hide();
        DOUBL5->hide();
    }
    if (mode_ == MovementMode::Insert) {
        clearForNext();
        DATMOV->setDate(ctx_.clock().today());
        DATDOC->setDate(ctx_.clock().today());
        old_ = decodeRegisterRecord(ctx_.MovementRecord);
        showReadOnly();
        return;
    }
    try {
        if (mode_ == MovementMode::Prepared) {
            old_ = decodeRegisterRecord(ctx_.MovementRecord);
        } else {
            auto picked = rereadPickedMovement(ctx_, mode_);
            if (!picked) {
                ready_ = false;
                return;
            }
            old_ = *picked;
        }
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        ready_ = false;
        return;
    }
    TrimRegisterRecord(old_);
    fillFrom(old_);
    if (mode_ == MovementMode::Prepared && !load_) {
        recomputeGuarantee();
        old_.garanzia = ParseDecimal(DOUBL5->text(), 2);
        checks_->setTouched(true); // a prepared movement is confirmed as shown
    }
    applyMode();
    checkShownFields();
}

void TFMOVIMENTI::clearForNext()
{
    for (QLineEdit* e : {static_cast<QLineEdit*>(NUMDOC), static_cast<QLineEdit*>(NPRDAA), NILODD,
                         static_cast<QLineEdit*>(NUMCPR), TIPSTO, DTIPSTO, static_cast<QLineEdit*>(NUMCON),
                         static_cast<QLineEdit*>(DOUBL3), static_cast<QLineEdit*>(DOUBL2),
                         static_cast<QLineEdit*>(DOUBL1), static_cast<QLineEdit*>(DOUBL5), MITDES, DMITDES, ANNOTA})
        e->clear();
    for (CodedField* f : {TIPDOC, PRODAZ, PRODDO, CAUMOV})
        f->clear();
    CODPAE->setCode(QStringLiteral("IT"));
    CODPAE->lookup();
    NPRDAA->setEnabled(true);
    documentTypeChanged();
    storageChanged();
    showPicture(ctx_.datiGen(QStringLiteral("DEFAULT.bmp")));
    checks_->resetTouched();
    DATMOV->setFocus(Qt::OtherFocusReason);
    DATMOV->setCursorPosition(0); // the next date is typed over the one kept, as on opening
}

void TFMOVIMENTI::fillFrom(const TRecMovimento& r)
{
    DATMOV->setDate(dates::toDate(registerDay(r.data)));
    TIPDOC->setCode(r.tipoDocumento);
    TIPDOC->lookup();
    NUMDOC->setText(r.numeroDocumento);
    NPRDAA->setText(numberText(r.progressivoEad));
    DATDOC->setDate(dates::toDate(registerDay(r.dataDocumento)));
    NILODD->setText(r.riferimentoLocale);
    NUMCPR->setText(numberText(r.progressivoDettaglio));
    PRODAZ->setCode(r.prodottoAziendale);
    if (lookupProduct())
        showPicture(ctx_.datiGen(QString::number(PRODAZ->lastRow()->Num) + trimField(PRODAZ->lastRow()->Fld[9])));
    else
        showPicture(ctx_.datiGen(QStringLiteral("DEFAULT.bmp")));
    TIPSTO->setText(r.stoccaggio);
    PRODDO->setCode(r.codiceProdotto);
    PRODDO->lookup();
    NUMCON->setText(numberText(r.confezioni));
    DOUBL3->setValueText(decimalText(r.volumeConfezione, 0));
    DOUBL2->setValueText(decimalText(r.grado, 0));
    DOUBL1->setValueText(decimalText(r.litri, 0));
    CODPAE->setCode(r.paese);
    CODPAE->lookup();
    DOUBL5->setValueText(r.garanzia == 0 ? QStringLiteral("0,00") : FormatNumber(r.garanzia, 0, 2).trimmed());
    MITDES->setText(r.controparte);
    CAUMOV->setCode(r.causale);
    CAUMOV->lookup();
    // A rectification explains itself: its note is written afresh.
    ANNOTA->setText(isRectification(mode_) ? QString() : r.nota);
    documentTypeChanged();
    storageChanged();
    lookupCounterpart();
}

void TFMOVIMENTI::applyMode()
{
    // The date of a rectified line cannot change; neither can that of a rectification's
    // replacement, which stays on the day of the line it replaces.
    if (isRectification(mode_) || codeIs(old_.stato, RegisterState::Replacement))
        DATMOV->setReadOnly(true);
    if (mode_ == MovementMode::RectifyCancel) {
        for (QLineEdit* e : findChildren<QLineEdit*>())
            if (e != ANNOTA)
                e->setReadOnly(true);
        for (QToolButton* b : findChildren<QToolButton*>())
            b->setEnabled(false);
    }
    showReadOnly();
}

void TFMOVIMENTI::showReadOnly()
{
    // A field that cannot be typed in looks like the descriptions beside the codes.
    for (QLineEdit* e : findChildren<QLineEdit*>())
        if (e->isReadOnly()) {
            QPalette pal = e->palette();
            pal.setColor(QPalette::Base, palette().color(QPalette::Window));
            e->setPalette(pal);
        }
}

void TFMOVIMENTI::checkShownFields()
{
    if (mode_ == MovementMode::RectifyCancel) {
        // Every field but the note shows the sent record read-only: nothing there to put right.
        ANNOTA->setFocus(Qt::OtherFocusReason);
        return;
    }
    const bool unit = packaged();
    std::vector<CheckFn> order = {
        [this] { return checkMovementDate(DATMOV->text(), DATMOV->date()); },
        [this] { return checkProductCode(PRODDO->lookup(), PRODDO->code()); },
        [this] { return checkLitres(DOUBL1->text()); },
        [this] { return checkStrengthValue(DOUBL2->text()); },
        [this] { return checkStorage(TIPSTO->text()); },
        [this] { return checkDocumentType(TIPDOC->lookup(), TIPDOC->code(), load_); },
        [this] { return checkDocumentNumber(NUMDOC->text(), !numdocHidden_); },
        [this] { return checkDocumentDate(DATDOC->date()); },
        [this] { return CODPAE->lookup() ? CheckResult::pass() : CheckResult::fail({}, QStringLiteral("CODPAE")); },
        [this] { return checkCounterpart(ctx_, MITDES->text(), load_, TIPDOC->code(), old_.tipoDestinazione).check; },
        [this] { return CAUMOV->lookup() ? CheckResult::pass() : CheckResult::fail({}, QStringLiteral("CAUMOV")); },
    };
    if (unit) {
        order.push_back([this] { return checkPackageVolume(DOUBL3->text()); });
        order.push_back([this] { return checkPackages(NUMCON->text()); });
    }
    if (!load_)
        order.push_back([this] { return checkGuaranteeAmount(DOUBL5->text()); });
    for (const CheckFn& c : order) {
        const CheckResult r = c();
        if (!r) {
            checks_->focusField(r.focus); // shown silently: the user sees where to look
            return;
        }
    }
    if (mode_ == MovementMode::RectifyModify)
        TIPDOC->edit()->setFocus(Qt::OtherFocusReason);
    else if (mode_ == MovementMode::Modify)
        (DATMOV->isReadOnly() ? static_cast<QWidget*>(TIPDOC->edit()) : DATMOV)->setFocus(Qt::OtherFocusReason);
    else
        BCONF->setFocus(Qt::OtherFocusReason);
}

bool TFMOVIMENTI::lookupProduct()
{
    const bool found = PRODAZ->lookup();
    if (PRODAZ->code().isEmpty())
        PRODAZ->companion()->clear(); // the company product may be left out
    return found;
}

bool TFMOVIMENTI::packaged() const
{
    return TIPSTO->text().trimmed() == QLatin1String("N");
}

void TFMOVIMENTI::documentTypeChanged()
{
    const QString type = TIPDOC->code();
    const bool ead = eadBlockShown(type);
    for (QWidget* w : std::initializer_list<QWidget*>{Label4, NPRDAA, lNilodd, NILODD, Label5, NUMCPR})
        w->setVisible(ead);
    if (eadProgressiveFixed(type)) {
        NPRDAA->setText(QStringLiteral("1"));
        NPRDAA->setEnabled(false);
    } else {
        NPRDAA->setEnabled(true);
    }
    if (type == QLatin1String("FBE"))
        numdocHidden_ = true; // and it stays hidden
    NUMDOC->setVisible(!numdocHidden_);
    lNumdoc->setVisible(!numdocHidden_);
}

void TFMOVIMENTI::storageChanged()
{
    const QString s = TIPSTO->text().trimmed();
    const bool unit = s == QLatin1String("N");
    for (QWidget* w : std::initializer_list<QWidget*>{lNumcon, NUMCON, lDoubl3, DOUBL3})
        w->setVisible(unit);
    DTIPSTO->setText(s == QLatin1String("S") ? QStringLiteral("Sfuso") : unit ? QStringLiteral("Condizionato") : QString());
}

void TFMOVIMENTI::showPicture(const QString& path)
{
    QPixmap picture;
    if (QFileInfo::exists(path) && picture.load(path)) {
        Image1->setPixmap(picture.scaled(Image1->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    } else {
        Image1->setPixmap(QPixmap());
        Image1->setText(QStringLiteral("FOTO NON VALIDA"));
    }
}

void TFMOVIMENTI::productChosen()
{
    const auto row = PRODAZ->lastRow();
    if (!row)
        return;
    TIPSTO->setText(trimField(row->Fld[5]));
    PRODDO->setCode(trimField(row->Fld[4]));
    PRODDO->lookup();
    DOUBL2->setValueText(decimalText(row->ValA[0], 2));
    storageChanged();
    showPicture(ctx_.datiGen(QString::number(row->Num) + trimField(row->Fld[9])));
    recomputeGuarantee();
}

void TFMOVIMENTI::recomputeLitres()
{
    if (!packaged() || DOUBL3->text().trimmed().isEmpty() || NUMCON->text().trimmed().isEmpty())
        return;
    double litres = ParseInteger(NUMCON->text()) * ParseDecimal(DOUBL3->text(), 5);
    RoundTo(litres, 5);
    DOUBL1->setValueText(decimalText(litres, 0));
    recomputeGuarantee();
}

void TFMOVIMENTI::recomputeGuarantee()
{
    if (load_ || mode_ == MovementMode::RectifyCancel)
        return;
    Guarantee g;
    try {
        if (checkProductCode(PRODDO->lookup(), PRODDO->code()) && checkStrengthValue(DOUBL2->text()) &&
            checkLitres(DOUBL1->text()))
            g = committedGuarantee(ctx_, CODPAE->code(), PRODDO->code(), ParseDecimal(DOUBL2->text(), 5),
                                   ParseDecimal(DOUBL1->text(), 5));
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
    DOUBL5->setValueText(FormatNumber(g.garanzia, 0, 2).trimmed());
    if (!g.warning.isEmpty())
        ctx_.messenger().info(g.warning);
}

CheckResult TFMOVIMENTI::lookupCounterpart()
{
    try {
        const Counterpart c = checkCounterpart(ctx_, MITDES->text(), load_, TIPDOC->code(), old_.tipoDestinazione);
        if (c.replaceWith)
            MITDES->setText(*c.replaceWith);
        DMITDES->setText(c.description);
        DMITDES->setCursorPosition(0);
        return c.check;
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return CheckResult::pass(); // the confirmation looks again
    }
}

void TFMOVIMENTI::runLeaveOf(QWidget* field)
{
    if (!field)
        return;
    if (field == PRODAZ->edit()) {
        const QString before = PRODAZ->lastRow() ? trimField(PRODAZ->lastRow()->Fld[0]) : QString();
        if (lookupProduct() && before != PRODAZ->code())
            productChosen();
    } else if (field == TIPDOC->edit()) {
        TIPDOC->lookup();
        documentTypeChanged();
    } else if (field == TIPSTO) {
        storageChanged();
    } else if (field == NUMCON || field == DOUBL3) {
        recomputeLitres();
    } else if (field == DOUBL1 || field == DOUBL2 || field == PRODDO->edit() || field == CODPAE->edit()) {
        recomputeGuarantee();
    } else if (field == MITDES) {
        lookupCounterpart();
    }
}

CheckResult TFMOVIMENTI::leaveTipdoc()
{
    if (!TIPDOC->lookup() && !TIPDOC->code().isEmpty() && !TIPDOC->edit()->isReadOnly())
        TIPDOC->pick();
    documentTypeChanged();
    return checkDocumentType(TIPDOC->lookup(), TIPDOC->code(), load_);
}

CheckResult TFMOVIMENTI::leaveProddo()
{
    if (!PRODDO->lookup() && !PRODDO->code().isEmpty() && !PRODDO->edit()->isReadOnly())
        PRODDO->pick();
    recomputeGuarantee();
    return checkProductCode(PRODDO->lookup(), PRODDO->code());
}

CheckResult TFMOVIMENTI::leaveCodpae()
{
    if (!CODPAE->lookup() && !CODPAE->edit()->isReadOnly())
        CODPAE->pick();
    recomputeGuarantee();
    return CheckResult::pass();
}

CheckResult TFMOVIMENTI::leaveCaumov()
{
    if (!CAUMOV->lookup() && !CAUMOV->code().isEmpty() && !CAUMOV->edit()->isReadOnly())
        CAUMOV->pick();
    return CAUMOV->lookup() ? CheckResult::pass() : CheckResult::fail({}, QStringLiteral("CAUMOV"));
}

void TFMOVIMENTI::confirm()
{
    if (!checks_->touched()) {
        DATMOV->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The field left for the confirm button has already done what leaving it does (derived values,
    // lookups, warnings): the form's glue runs it once, before this handler.
    try {
        MovementFields f;
        f.DATMOV = DATMOV->date();
        f.TIPDOC = TIPDOC->code();
        f.tipdocFound = TIPDOC->lookup();
        f.NUMDOC = NUMDOC->text();
        f.numdocHidden = numdocHidden_;
        f.NPRDAA = NPRDAA->text();
        f.DATDOC = DATDOC->date();
        f.NILODD = NILODD->text();
        f.NUMCPR = NUMCPR->text();
        f.PRODAZ = PRODAZ->code();
        f.prodazFound = lookupProduct();
        f.TIPSTO = TIPSTO->text();
        f.PRODDO = PRODDO->code();
        f.proddoFound = PRODDO->lookup();
        f.NUMCON = NUMCON->text();
        f.DOUBL3 = DOUBL3->text();
        f.DOUBL2 = DOUBL2->text();
        f.DOUBL1 = DOUBL1->text();
        f.CODPAE = CODPAE->code();
        f.codpaeFound = CODPAE->lookup();
        f.DOUBL5 = DOUBL5->text();
        f.MITDES = MITDES->text();
        f.CAUMOV = CAUMOV->code();
        f.caumovFound = CAUMOV->lookup();
        f.ANNOTA = ANNOTA->text();

        const Composition c = composeMovement(ctx_, mode_, old_, load_, f);
        if (c.MITDES)
            MITDES->setText(*c.MITDES);
        DMITDES->setText(c.DMITDES);
        for (const QString& m : c.messages)
            ctx_.messenger().info(m);
        if (!c.ok) {
            checks_->focusField(c.focus);
            return;
        }
        writeMovement(ctx_, mode_, old_, c.record);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        // The record worked on was changed by another workstation meanwhile: nothing typed here
        // can put that right, so the window closes as it would have refused to open.
        if (isPickedRecordRefusal(e.text()))
            reject();
        return;
    }
    ctx_.reportSaved();

    if (mode_ == MovementMode::Insert) {
        clearForNext();
        return;
    }
    accept();
}

} // namespace vt
