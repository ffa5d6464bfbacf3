#include "masterdata/TFSTRUTAB.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "foundation/IoError.h"
#include "foundation/Text.h"
#include "masterdata/CodeTables.h"
#include "masterdata/CsvImport.h"
#include "ui/Edits.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"

namespace vt {

namespace {

// DIM cells take three digits; label cells up to 250 characters of Windows-1252.
class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& o, const QModelIndex& index) const override
    {
        auto* e = qobject_cast<QLineEdit*>(QStyledItemDelegate::createEditor(parent, o, index));
        if (!e)
            return e;
        if (index.column() == 0) {
            e->setMaxLength(3);
            e->setValidator(new QIntValidator(0, 250, e));
        } else {
            setupText(e, TRecTabella::Width);
        }
        return e;
    }
};
} // namespace

TFSTRUTAB::TFSTRUTAB(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFSTRUTAB"));
    setWindowTitle(QStringLiteral("STRUTTURA DELLE TABELLE"));
    checks_ = new FormChecks(this, ctx_.messenger());

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight);
    E02250 = new QLineEdit(this);
    E02250->setObjectName(QStringLiteral("E02250"));
    setupText(E02250, TRecTabella::Width, TextCase::Upper);
    E02250->setMaximumWidth(160);
    E12250 = new QLineEdit(this);
    E12250->setObjectName(QStringLiteral("E12250"));
    setupText(E12250, TRecTabella::Width);
    E22250 = new QLineEdit(this);
    E22250->setObjectName(QStringLiteral("E22250"));
    setupText(E22250, TRecTabella::Width);
    ICHIAVE = new IntegerEdit(ctx_.messenger(), this);
    ICHIAVE->setObjectName(QStringLiteral("ICHIAVE"));
    ICHIAVE->setAllowMinus(true);
    ICHIAVE->setMaxLength(1);
    ICHIAVE->setAlignment(Qt::AlignRight);
    ICHIAVE->setFixedWidth(36);
    form->addRow(QStringLiteral("NOME TABELLA"), E02250);
    form->addRow(QStringLiteral("TITOLO TABELLA"), E12250);
    form->addRow(QStringLiteral("NOMI DEI CAMPI SEPARATI DA ;"), E22250);
    form->addRow(QStringLiteral("N° DEI CAMPI  DI RICERCA"), ICHIAVE);

    GRIGLIA = new QTableWidget(10, 2, this);
    GRIGLIA->setObjectName(QStringLiteral("GRIGLIA"));
    GRIGLIA->setHorizontalHeaderLabels({QStringLiteral("DIM"), QStringLiteral("ETICHETTA CAMPO")});
    QStringList rows;
    for (int i = 1; i <= 10; ++i)
        rows << QStringLiteral("C %1").arg(i);
    GRIGLIA->setVerticalHeaderLabels(rows);
    GRIGLIA->setItemDelegate(new CellDelegate(GRIGLIA));
    GRIGLIA->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    GRIGLIA->setColumnWidth(0, 60);
    GRIGLIA->horizontalHeader()->setStretchLastSection(true);
    GRIGLIA->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    GRIGLIA->setMinimumHeight(GRIGLIA->horizontalHeader()->sizeHint().height()
                              + 10 * GRIGLIA->verticalHeader()->defaultSectionSize() + 4);

    BCONF = makeButton(this, "BCONF", QStringLiteral("&CONFERMA"));
    BIMPORT = makeButton(this, "BIMPORT", QStringLiteral("&Importa CSV"));
    BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BCONF);
    buttons->addWidget(BIMPORT);
    buttons->addStretch(1);
    buttons->addWidget(BABBANDONA);

    auto* main = new QVBoxLayout(this);
    main->addLayout(form);
    main->addWidget(GRIGLIA, 1);
    main->addLayout(buttons);
    setMinimumWidth(560);

    checks_->attach();
    checks_->onLeave(E02250, [this] { return leaveName(); });
    connect(BCONF, &QPushButton::clicked, this, &TFSTRUTAB::confirm);
    connect(BIMPORT, &QPushButton::clicked, this, &TFSTRUTAB::import);
    connect(BABBANDONA, &QPushButton::clicked, this, &QDialog::reject);
    clearForm();
}

void TFSTRUTAB::clearOthers()
{
    E12250->clear();
    E22250->clear();
    ICHIAVE->clear();
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 2; ++c)
            GRIGLIA->setItem(r, c, new QTableWidgetItem);
}

void TFSTRUTAB::clearForm()
{
    E02250->clear();
    clearOthers();
    checks_->resetTouched();
    E02250->setFocus(Qt::OtherFocusReason);
}

CheckResult TFSTRUTAB::leaveName()
{
    const QString name = trimField(E02250->text());
    if (name.isEmpty() || name < QLatin1String("0"))
        return CheckResult::quiet(QStringLiteral("DIGITARE IL NOME DELLA TABELLA"), QStringLiteral("E02250"));
    std::optional<StructureForm> f;
    try {
        f = LoadStructure(ctx_, name);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return CheckResult::stop();
    }
    // What the form showed is replaced (a new structure starts empty): a confirmation that
    // reached this stops, so that nothing is written that the user has not seen.
    const bool hadSomething = !form().title.isEmpty() || !form().fieldNames.isEmpty() || !ICHIAVE->text().isEmpty();
    if (!f) {
        clearOthers(); // a new structure
        return hadSomething ? CheckResult::stop() : CheckResult::pass();
    }
    E12250->setText(f->title);
    E22250->setText(f->fieldNames);
    ICHIAVE->setText(f->searchFields);
    for (int i = 0; i < 10; ++i) {
        GRIGLIA->setItem(i, 0, new QTableWidgetItem(f->dims[i]));
        GRIGLIA->item(i, 0)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        GRIGLIA->setItem(i, 1, new QTableWidgetItem(f->labels[i]));
    }
    return CheckResult::stop();
}

StructureForm TFSTRUTAB::form() const
{
    StructureForm f;
    f.name = trimField(E02250->text());
    f.title = E12250->text();
    f.fieldNames = E22250->text();
    f.searchFields = ICHIAVE->text();
    for (int i = 0; i < 10; ++i) {
        f.dims[i] = GRIGLIA->item(i, 0) ? GRIGLIA->item(i, 0)->text() : QString();
        f.labels[i] = GRIGLIA->item(i, 1) ? GRIGLIA->item(i, 1)->text() : QString();
    }
    return f;
}

void TFSTRUTAB::confirm()
{
    if (trimField(E02250->text()).isEmpty()) {
        checks_->focusField(QStringLiteral("E02250"));
        return;
    }
    try {
        SaveStructure(ctx_, form());
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    clearForm();
}

void TFSTRUTAB::import()
{
    const QString name = trimField(E02250->text());
    if (!name.isEmpty()) {
        try {
            ImportCsv(ctx_, name);
        } catch (const IoError& e) {
            ctx_.messenger().info(e.text());
            return;
        }
    }
    clearForm();
}

} // namespace vt
