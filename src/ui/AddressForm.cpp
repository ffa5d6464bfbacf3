#include "ui/AddressForm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "foundation/AddressFile.h"
#include "foundation/IoError.h"
#include "foundation/Services.h"
#include "ui/AddressActions.h"
#include "ui/CodedField.h"
#include "ui/Edits.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"

namespace vt {

AddressForm::AddressForm(AppContext& ctx, AddressKind kind, bool modify, const QString& addressFile, QWidget* parent)
    : QDialog(parent), ctx_(ctx), kind_(kind), modify_(modify)
{
    ctx_.AddressFile = addressFile;
    setWindowTitle(AddressWindowTitle(kind, modify ? AddressAction::Modify : AddressAction::Insert));
    checks_ = new FormChecks(this, ctx_.messenger());
    grid_ = new QGridLayout(this);
    grid_->setHorizontalSpacing(8);
    grid_->setVerticalSpacing(6);
}

void AddressForm::addModifyLabel(int columnSpan)
{
    if (!modify_)
        return;
    auto* mod = new QLabel(QStringLiteral("MODIFICA "), this);
    mod->setObjectName(QStringLiteral("LMODIFICA"));
    mod->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    grid_->addWidget(mod, row_++, 1, 1, columnSpan);
}

QLineEdit* AddressForm::line(const char* name, int maxLength, bool upper)
{
    auto* e = new QLineEdit(this);
    e->setObjectName(QString::fromLatin1(name));
    setupText(e, maxLength, upper ? TextCase::Upper : TextCase::AsTyped);
    // Short codes get an edit of their size; names and streets a wide one.
    const int chars = std::min(std::max(maxLength, 4), 60) + 2;
    const int width = e->fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('M'))) * 3 / 4 + 12;
    if (maxLength <= 20)
        e->setFixedWidth(width);
    else
        e->setMinimumWidth(width);
    return e;
}

void AddressForm::addRow(QWidget* field, const QString& label, int span)
{
    auto* l = new QLabel(label, this);
    l->setObjectName(QStringLiteral("L") + field->objectName());
    auto* coded = qobject_cast<CodedField*>(field);
    l->setBuddy(coded ? static_cast<QWidget*>(coded->edit()) : field);
    grid_->addWidget(l, row_, 0, Qt::AlignRight);
    if (coded)
        grid_->addWidget(field, row_, 1, 1, span);
    else
        grid_->addWidget(field, row_, 1, 1, span, Qt::AlignLeft);
    labels_.insert(field, l);
    ++row_;
}

CodedField* AddressForm::addLanguageRow()
{
    auto* f = new CodedField(ctx_, QStringLiteral("T001"), {"SEZDOG", "DSEZDOG", "BSEZDOG", "BNSEZDOG"}, 2, this);
    f->setTextCase(TextCase::Lower);
    return f;
}

void AddressForm::addButtonRow(int columnSpan)
{
    BCONF = makeButton(this, "BCONF", QStringLiteral("&CONFERMA"));
    BMOSTRA = makeButton(this, "BMOSTRA", ShowAddressesCaption(kind_));
    BSEED = makeButton(this, "BSEED", QStringLiteral("Banca Dati SEED"));
    BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BCONF);
    buttons->addWidget(BMOSTRA);
    buttons->addWidget(BSEED);
    buttons->addStretch(1);
    buttons->addWidget(BABBANDONA);
    grid_->setRowMinimumHeight(row_++, 10);
    grid_->addLayout(buttons, row_++, 0, 1, columnSpan);
    connect(BABBANDONA, &QPushButton::clicked, this, &QDialog::reject);
    connect(BMOSTRA, &QPushButton::clicked, this, [this] { showAddressListing(ctx_, this); });
    connect(BSEED, &QPushButton::clicked, this, [this] { openSeedDatabase(ctx_); });
}

void AddressForm::setShown(QWidget* field, bool shown)
{
    field->setVisible(shown);
    if (QWidget* l = labels_.value(field))
        l->setVisible(shown);
}

QString AddressForm::path() const
{
    return AddressFilePath(ctx_, ctx_.AddressFile);
}

bool AddressForm::lookupOrList(CodedField* field)
{
    if (field->lookup())
        return true;
    field->pick();
    return false;
}

void AddressForm::warn(const std::function<QString()>& check)
{
    try {
        const QString warning = check();
        if (!warning.isEmpty())
            ctx_.messenger().info(warning);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
    }
}

TRecIndirizzo AddressForm::takeFoundRecord()
{
    ctx_.CompanyRecord = ctx_.FoundAddress;
    trimCompany(ctx_.CompanyRecord);
    return ctx_.CompanyRecord;
}

void AddressForm::write(const TRecIndirizzo& record)
{
    ctx_.CurrentAddress = record;
    try {
        if (modify_) {
            ctx_.CurrentAddress = WrittenAddress(
                record, ReplaceAddress(path(), ctx_.CompanyRecord.number, record, ctx_.messenger()));
            ctx_.reportSaved();
            accept();
            return;
        }
        ctx_.CurrentAddress = WrittenAddress(record, InsertAddress(path(), record, ctx_.messenger()));
        ctx_.reportSaved();
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    if (ctx_.FromMenu)
        clearForm();
    else
        accept();
}

} // namespace vt
