// The movement window's hand-offs to the address book and the company products: the counterpart
// picked from the archive or entered as a new address, a new product entered in the products
// window, each put back into its field.
#include "register/entry/TFMOVIMENTI.h"

#include <QLineEdit>
#include <QToolButton>

#include "foundation/AddressFile.h"
#include "foundation/IoError.h"
#include "foundation/Tables.h"
#include "foundation/Text.h"
#include "ui/CodedField.h"
#include "ui/FormChecks.h"
#include "ui/WindowRegistry.h"

namespace vt {

void TFMOVIMENTI::pickCounterpart()
{
    const QString file = load_ ? QStringLiteral("INDIRIZZI_F") : QStringLiteral("INDIRIZZI_D");
    const QString saved = ctx_.TableName;
    ctx_.TableName = file;
    ctx_.PickedCode = -1;
    openWindow(QStringLiteral("TFLISTVIEW"), ctx_, this);
    ctx_.TableName = saved;
    if (ctx_.PickedCode >= 0) {
        try {
            TRecIndirizzo search = blankCompany();
            search.number = ctx_.PickedCode;
            if (auto a = FindAddress(AddressSearch::Code, search, ctx_.datiGen(file + QStringLiteral(".DAT")))) {
                const QString id = trimField(a->CACCI1).isEmpty() ? trimField(a->CACCI2) : trimField(a->CACCI1);
                MITDES->setText(id.left(16));
                checks_->setTouched(true);
                lookupCounterpart();
            }
        } catch (const IoError& e) {
            ctx_.messenger().info(e.text());
        }
    }
    MITDES->setFocus(Qt::OtherFocusReason);
}

void TFMOVIMENTI::newCounterpart()
{
    const QString saved = ctx_.TableName;
    const bool savedFromMenu = ctx_.FromMenu;
    ctx_.FromMenu = false;
    ctx_.CurrentAddress = blankCompany();
    if (load_) {
        ctx_.TableName = QStringLiteral("INDIRIZZI_F");
        openWindow(QStringLiteral("TFINSINDIRIZZO"), ctx_, this);
    } else {
        openWindow(QStringLiteral("TFINSDESTINATARI"), ctx_, this);
    }
    ctx_.TableName = saved;
    ctx_.FromMenu = savedFromMenu;
    if (ctx_.CurrentAddress.number > 0) {
        const TRecIndirizzo& a = ctx_.CurrentAddress;
        const QString id = trimField(a.CACCI1).isEmpty() ? trimField(a.CACCI2) : trimField(a.CACCI1);
        MITDES->setText(id.left(16));
        checks_->setTouched(true);
        lookupCounterpart();
    }
    MITDES->setFocus(Qt::OtherFocusReason);
}

void TFMOVIMENTI::newProduct()
{
    const bool savedFromMenu = ctx_.FromMenu;
    ctx_.FromMenu = false;
    ctx_.EditRow = blankRow();
    openWindow(QStringLiteral("TFPRODAZIEND"), ctx_, this);
    ctx_.FromMenu = savedFromMenu;
    const QString code = trimField(ctx_.EditRow.Fld[0]);
    if (!code.isEmpty()) {
        PRODAZ->setCode(code);
        if (lookupProduct())
            productChosen();
        checks_->setTouched(true);
    }
    PRODAZ->edit()->setFocus(Qt::OtherFocusReason);
}

} // namespace vt
