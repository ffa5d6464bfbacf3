// The layout of the movement window: its fields in the order of the field table, with their
// component names, captions, input filters and tab order.
#include "register/entry/TFMOVIMENTI.h"

#include <QGridLayout>
#include <algorithm>
#include <iterator>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/CodedField.h"
#include "ui/Edits.h"
#include "ui/Widgets.h"

namespace vt {

namespace {
// Text typed by the user: Windows-1252 and upper case as the field wants, and no control
// characters (a TAB or a line end would break the flow lines the record travels in).
class PlainTextValidator : public TextValidator {
public:
    PlainTextValidator(TextCase c, QObject* parent) : TextValidator(c, parent) {}
    State validate(QString& input, int& pos) const override
    {
        for (QChar ch : input)
            if (ch.unicode() < 32 || ch.unicode() == 127)
                return Invalid;
        return TextValidator::validate(input, pos);
    }
};

QLineEdit* textEdit(QWidget* parent, const char* name, int maxLength, TextCase c)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    e->setValidator(new PlainTextValidator(c, e));
    e->setFixedWidth(widthForChars(e, std::min(maxLength, 30) + 2));
    return e;
}

} // namespace

void TFMOVIMENTI::build()
{
    Messenger& msg = ctx_.messenger();
    QPalette pal = palette();
    pal.setColor(QPalette::Window, load_ ? QColor(231, 254, 254) : QColor(250, 243, 211));
    setPalette(pal);
    setAutoFillBackground(true);

    auto* outer = new QVBoxLayout(this);
    LMOVIMENTO = new QLabel(movementBanner(mode_, load_), this);
    LMOVIMENTO->setObjectName(QStringLiteral("LMOVIMENTO"));
    LMOVIMENTO->setStyleSheet(load_ ? QStringLiteral("color: green; font-weight: bold; font-size: 14pt;")
                                    : QStringLiteral("color: red; font-weight: bold; font-size: 14pt;"));
    outer->addWidget(LMOVIMENTO);

    auto* top = new QHBoxLayout;
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    top->addLayout(grid, 1);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(115, 115);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setFrameShape(QFrame::StyledPanel);
    top->addWidget(Image1, 0, Qt::AlignTop);
    outer->addLayout(top);

    int row = 0;
    auto addRow = [&](QLabel* label, QWidget* field) {
        if (label) {
            label->setBuddy(field);
            grid->addWidget(label, row, 0, Qt::AlignRight);
        }
        grid->addWidget(field, row, 1, Qt::AlignLeft);
        ++row;
    };
    auto label = [this](const QString& text) { return new QLabel(text, this); };

    DATMOV = new DateEdit(this);
    DATMOV->setObjectName(QStringLiteral("DATMOV"));
    addRow(label(QStringLiteral("Data movimento")), DATMOV);

    TIPDOC = new CodedField(ctx_, QStringLiteral("TA05"),
                            {QStringLiteral("TIPDOC"), QStringLiteral("DTIPDOC"), QStringLiteral("BTIPDOC"), QStringLiteral("BNTIPDOC")}, 3, this);
    TIPDOC->setMinimumWidth(420);
    addRow(label(QStringLiteral("Tipo documento")), TIPDOC);

    NUMDOC = textEdit(this, "NUMDOC", 21, TextCase::Upper);
    lNumdoc = label(QStringLiteral("Numero ARC"));
    addRow(lNumdoc, NUMDOC);

    auto* eadRow = new QWidget(this);
    auto* eadLayout = new QHBoxLayout(eadRow);
    eadLayout->setContentsMargins(0, 0, 0, 0);
    Label4 = new QLabel(QStringLiteral("Progr. e-AD"), eadRow);
    Label4->setObjectName(QStringLiteral("Label4"));
    NPRDAA = new IntegerEdit(msg, eadRow);
    NPRDAA->setObjectName(QStringLiteral("NPRDAA"));
    NPRDAA->setMaxLength(2);
    NPRDAA->setFixedWidth(widthForChars(NPRDAA, 4));
    Label4->setBuddy(NPRDAA);
    auto* lDatdoc = new QLabel(QStringLiteral("Data e-AD"), eadRow);
    DATDOC = new DateEdit(eadRow);
    DATDOC->setObjectName(QStringLiteral("DATDOC"));
    lDatdoc->setBuddy(DATDOC);
    eadLayout->addWidget(Label4);
    eadLayout->addWidget(NPRDAA);
    eadLayout->addSpacing(12);
    eadLayout->addWidget(lDatdoc);
    eadLayout->addWidget(DATDOC);
    eadLayout->addStretch(1);
    addRow(nullptr, eadRow);

    NILODD = textEdit(this, "NILODD", 22, TextCase::Upper);
    lNilodd = label(QStringLiteral("Identificativo locale e-AD"));
    addRow(lNilodd, NILODD);

    NUMCPR = new IntegerEdit(msg, this);
    NUMCPR->setObjectName(QStringLiteral("NUMCPR"));
    NUMCPR->setMaxLength(3);
    NUMCPR->setFixedWidth(widthForChars(NUMCPR, 5));
    Label5 = label(QStringLiteral("N°progressivo del dettaglio"));
    Label5->setObjectName(QStringLiteral("Label5"));
    addRow(Label5, NUMCPR);

    PRODAZ = new CodedField(ctx_, QStringLiteral("PRAZ"),
                            {QStringLiteral("PRODAZ"), QStringLiteral("DPRODAZ"), QStringLiteral("BPRODAZ"), QStringLiteral("BNPRODAZ")}, 20, this);
    PRODAZ->setMinimumWidth(420);
    addRow(label(QStringLiteral("Codice Aziendale Prodotto")), PRODAZ);

    auto* stoRow = new QWidget(this);
    auto* stoLayout = new QHBoxLayout(stoRow);
    stoLayout->setContentsMargins(0, 0, 0, 0);
    TIPSTO = textEdit(stoRow, "TIPSTO", 1, TextCase::Upper);
    DTIPSTO = new QLineEdit(stoRow);
    DTIPSTO->setObjectName(QStringLiteral("DTIPSTO"));
    DTIPSTO->setReadOnly(true);
    DTIPSTO->setFocusPolicy(Qt::NoFocus);
    stoLayout->addWidget(TIPSTO);
    stoLayout->addWidget(DTIPSTO);
    stoLayout->addStretch(1);
    auto* lTipsto = label(QStringLiteral("Sfuso o coNdizionato ? S/N"));
    lTipsto->setBuddy(TIPSTO);
    grid->addWidget(lTipsto, row, 0, Qt::AlignRight);
    grid->addWidget(stoRow, row++, 1);

    PRODDO = new CodedField(ctx_, QStringLiteral("TA20"),
                            {QStringLiteral("PRODDO"), QStringLiteral("DPRODDO"), QStringLiteral("BPRODDO"), QStringLiteral("BNPRODDO")}, 21, this);
    PRODDO->setMinimumWidth(420);
    addRow(label(QStringLiteral("Codice Tabella Alcoli ")), PRODDO);

    auto decimal = [&](const char* name, int decimals, const QString& hint = {}) {
        auto* e = new DecimalEdit(msg, this);
        e->setObjectName(QString::fromLatin1(name));
        e->setDecimals(decimals);
        e->setAllowMinus(false);
        e->setAlignment(Qt::AlignRight);
        e->setMaxLength(24);
        e->setFixedWidth(widthForChars(e, 20));
        if (!hint.isEmpty())
            e->setToolTip(hint);
        return e;
    };
    NUMCON = new IntegerEdit(msg, this);
    NUMCON->setObjectName(QStringLiteral("NUMCON"));
    NUMCON->setMaxLength(8);
    NUMCON->setFixedWidth(widthForChars(NUMCON, 10));
    lNumcon = label(QStringLiteral("Numero delle confezioni "));
    addRow(lNumcon, NUMCON);
    DOUBL3 = decimal("DOUBL3", 5, QStringLiteral("Max 999,99999"));
    lDoubl3 = label(QStringLiteral("Volume di una confezione"));
    addRow(lDoubl3, DOUBL3);
    DOUBL2 = decimal("DOUBL2", 5);
    addRow(label(QStringLiteral("Grado Alcolico")), DOUBL2);
    DOUBL1 = decimal("DOUBL1", 5);
    addRow(label(QStringLiteral("Totale Litri")), DOUBL1);

    CODPAE = new CodedField(ctx_, QStringLiteral("T004"),
                            {QStringLiteral("CODPAE"), QStringLiteral("DCODPAE"), QStringLiteral("BCODPAE"), QStringLiteral("BNCODPAE")}, 2, this);
    CODPAE->setMinimumWidth(420);
    lCodpae = label(load_ ? QStringLiteral("Paese di provenienza") : QStringLiteral("Paese di destinazione"));
    addRow(lCodpae, CODPAE);

    DOUBL5 = decimal("DOUBL5", 2);
    lDoubl5 = label(QStringLiteral("Garanzia impegnata"));
    addRow(lDoubl5, DOUBL5);

    auto* mitRow = new QWidget(this);
    auto* mitLayout = new QHBoxLayout(mitRow);
    mitLayout->setContentsMargins(0, 0, 0, 0);
    mitLayout->setSpacing(4);
    MITDES = textEdit(mitRow, "MITDES", 16, TextCase::Upper);
    BMITDES = new QToolButton(mitRow);
    BMITDES->setObjectName(QStringLiteral("BMITDES"));
    BMITDES->setText(QStringLiteral("..."));
    BMITDES->setToolTip(QStringLiteral("mostra l'archivio"));
    BMITDES->setFocusPolicy(Qt::NoFocus);
    BNMITDES = new QToolButton(mitRow);
    BNMITDES->setObjectName(QStringLiteral("BNMITDES"));
    BNMITDES->setText(QStringLiteral("..."));
    BNMITDES->setToolTip(QStringLiteral("Inserisce Nuovo"));
    BNMITDES->setFocusPolicy(Qt::NoFocus);
    DMITDES = new QLineEdit(mitRow);
    DMITDES->setObjectName(QStringLiteral("DMITDES"));
    DMITDES->setReadOnly(true);
    DMITDES->setFocusPolicy(Qt::NoFocus);
    mitLayout->addWidget(MITDES);
    mitLayout->addWidget(BMITDES);
    mitLayout->addWidget(BNMITDES);
    mitLayout->addWidget(DMITDES, 1);
    bindFieldKey(MITDES, QKeySequence(Qt::Key_F4), BMITDES);
    bindFieldKey(MITDES, QKeySequence(Qt::SHIFT | Qt::Key_F4), BNMITDES);
    mitRow->setMinimumWidth(420);
    lMitdes = label(load_ ? QStringLiteral("Mittente") : QStringLiteral("Destinatario"));
    lMitdes->setBuddy(MITDES);
    grid->addWidget(lMitdes, row, 0, Qt::AlignRight);
    grid->addWidget(mitRow, row++, 1);

    CAUMOV = new CodedField(ctx_, load_ ? QStringLiteral("TA21C") : QStringLiteral("TA21S"),
                            {QStringLiteral("CAUMOV"), QStringLiteral("DCAUMOV"), QStringLiteral("BCAUMOV"), QStringLiteral("BNCAUMOV")}, 3, this);
    CAUMOV->setMinimumWidth(420);
    addRow(label(QStringLiteral("Causale movimento")), CAUMOV);

    ANNOTA = textEdit(this, "ANNOTA", 250, TextCase::AsTyped);
    ANNOTA->setFixedWidth(widthForChars(ANNOTA, 60));
    addRow(label(QStringLiteral("Note (max 250)")), ANNOTA);

    BCONF = makeButton(this, "BCONF", QStringLiteral("&CONFERMA"));
    BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BCONF);
    buttons->addStretch(1);
    buttons->addWidget(BABBANDONA);
    outer->addSpacing(8);
    outer->addLayout(buttons);
    outer->addStretch(1); // fields hidden by the document type or storage leave no gaps between the rest

    // Tab order follows the field table.
    QWidget* order[] = {DATMOV, TIPDOC->edit(), NUMDOC, NPRDAA, DATDOC, NILODD, NUMCPR, PRODAZ->edit(), TIPSTO,
                        PRODDO->edit(), NUMCON, DOUBL3, DOUBL2, DOUBL1, CODPAE->edit(), DOUBL5, MITDES,
                        CAUMOV->edit(), ANNOTA, BCONF, BABBANDONA};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

} // namespace vt
