#include "messages/ead/TFCOMPIE815_TRASP.h"

#include <QApplication>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "foundation/Text.h"
#include "ui/CodedField.h"
#include "ui/FormChecks.h"
#include "ui/TransportLinesEditor.h"
#include "ui/Widgets.h"

namespace vt {

TransportPage::TransportPage(AppContext& ctx, FormChecks& checks, EadPanels& panels, QWidget* parent)
    : CompilePage(ctx, checks, panels, parent)
{
    setObjectName(QStringLiteral("PAGINA2"));
    auto* top = new QGridLayout;
    int r = 0;
    RESTRA = coded("RESTRA", QStringLiteral("T016"), 1);
    row(top, r, QStringLiteral("Responsabile Trasporto"), RESTRA, 3);

    PAZIENDADITRASPORTO = panel("PAZIENDADITRASPORTO", QStringLiteral("Azienda di Trasporto"));
    {
        // Two columns, so that the transport lines keep their room below.
        auto* columns = new QHBoxLayout(PAZIENDADITRASPORTO);
        auto* left = new QGridLayout;
        auto* right = new QGridLayout;
        columns->addLayout(left, 1);
        columns->addLayout(right, 1);
        int lr = 0, rr = 0;
        auto put = [&](QGridLayout* g, int& pr, QWidget* e, const QString& label) {
            e->setParent(PAZIENDADITRASPORTO);
            row(g, pr, label, e);
        };
        PIAZTR = text("PIAZTR", 18, TextCase::Upper);
        put(left, lr, PIAZTR, QStringLiteral("P. IVA"));
        put(left, lr, text("DENAZT", 100), QStringLiteral("Denominazione"));
        put(left, lr, text("INDAZT", 65), QStringLiteral("Indirizzo"));
        put(left, lr, text("NUCAZT", 11), QStringLiteral("N° civico"));
        put(right, rr, text("CAPAZT", 10), QStringLiteral("C.A.P."));
        put(right, rr, text("CITAZT", 50, TextCase::Upper), QStringLiteral("Città"));
        LINAZT = coded("LINAZT", QStringLiteral("T001"), 2, true);
        put(right, rr, LINAZT, QStringLiteral("Lingua"));
        BARCTRA = makeButton(PAZIENDADITRASPORTO, "BARCTRA", QStringLiteral("Archivio Az. Trasporto"));
        BNUOTRA = makeButton(PAZIENDADITRASPORTO, "BNUOTRA", QStringLiteral("Nuova Az. Trasporto"));
        for (QPushButton* b : {BARCTRA, BNUOTRA})
            b->setFocusPolicy(Qt::NoFocus);
        auto* bar = new QHBoxLayout;
        bar->addWidget(BARCTRA);
        bar->addWidget(BNUOTRA);
        bar->addStretch(1);
        right->addLayout(bar, rr, 1);
        left->setColumnStretch(1, 1);
        right->setColumnStretch(1, 1);
        left->setRowStretch(lr, 1);
    }
    top->addWidget(PAZIENDADITRASPORTO, r++, 0, 1, 4);

    MODTRA = coded("MODTRA", QStringLiteral("T008"), 2);
    row(top, r, QString::fromUtf8("Modalità del Trasporto"), MODTRA, 3);
    INFTRA = text("INFTRA", 100);
    row(top, r, QStringLiteral("Nota"), INFTRA, 3);

    RTRASPORTO = new QWidget(this);
    RTRASPORTO->setObjectName(QStringLiteral("RTRASPORTO"));
    {
        auto* h = new QHBoxLayout(RTRASPORTO);
        h->setContentsMargins(0, 0, 0, 0);
        RGIORNI = new QRadioButton(QStringLiteral("durata in giorni"), RTRASPORTO);
        RGIORNI->setObjectName(QStringLiteral("RGIORNI"));
        RORE = new QRadioButton(QStringLiteral("durata in ore"), RTRASPORTO);
        RORE->setObjectName(QStringLiteral("RORE"));
        auto* group = new QButtonGroup(RTRASPORTO);
        group->addButton(RGIORNI, 0);
        group->addButton(RORE, 1);
        DURGIO = new IntegerEdit(ctx_.messenger(), RTRASPORTO);
        DURGIO->setObjectName(QStringLiteral("DURGIO"));
        DURGIO->setMaxLength(2);
        DURGIO->setFixedWidth(widthForChars(DURGIO, 3));
        DURORE = new IntegerEdit(ctx_.messenger(), RTRASPORTO);
        DURORE->setObjectName(QStringLiteral("DURORE"));
        DURORE->setMaxLength(2);
        DURORE->setFixedWidth(widthForChars(DURORE, 3));
        numbersOnly(DURGIO, false);
        numbersOnly(DURORE, false);
        names_ << QStringLiteral("DURGIO") << QStringLiteral("DURORE");
        h->addWidget(RGIORNI);
        h->addWidget(DURGIO);
        h->addSpacing(16);
        h->addWidget(RORE);
        h->addWidget(DURORE);
        h->addStretch(1);
        connect(RGIORNI, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                chooseDuration(false);
        });
        connect(RORE, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                chooseDuration(true);
        });
    }
    auto* durationLabel = new QLabel(QStringLiteral("Durata del trasporto"), this);
    top->addWidget(durationLabel, r, 0, Qt::AlignRight);
    top->addWidget(RTRASPORTO, r++, 1, 1, 3);

    INVDIF = text("INVDIF", 1, TextCase::Upper);
    row(top, r, QString::fromUtf8("La spedizione è già avvenuta con la procedura di riserva ?  S/N"), INVDIF);
    NILODD = text("NILODD", 22, TextCase::Upper);
    NILODD->setFixedWidth(widthForChars(NILODD, 22));
    row(top, r, QString::fromUtf8("N° identificativo locale del DAA di riserva"), NILODD);
    DATSPE = new DateEdit(this);
    DATSPE->setObjectName(QStringLiteral("DATSPE"));
    DATSPE->setFixedWidth(widthForChars(DATSPE, 10));
    names_ << QStringLiteral("DATSPE");
    row(top, r, QStringLiteral("Data della Spedizione"), DATSPE);
    ORASPE = text("ORASPE", 5);
    ORASPE->setInputMask(QStringLiteral("99:99; "));
    row(top, r, QStringLiteral("Ora della Spedizione"), ORASPE);
    top->setColumnStretch(3, 1);

    lines = new TransportLinesEditor(ctx_, checks_, this);
    auto* linesBox = panel("PDETTAGLITRASPORTO", QStringLiteral("Dettagli del trasporto"));
    (new QVBoxLayout(linesBox))->addWidget(lines);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(linesBox, 1);
    navigation(layout, 2, QStringLiteral("F5: Archivio Az. Trasporto   F6: Nuova Az. Trasporto"));

    // The duration box comes before its unit buttons: what is typed after the mode lands in it.
    QList<QWidget*> order{RESTRA->edit(), PIAZTR};
    for (const char* n : {"DENAZT", "INDAZT", "NUCAZT", "CAPAZT", "CITAZT"})
        order << findChild<QLineEdit*>(QString::fromLatin1(n));
    order << LINAZT->edit() << MODTRA->edit() << INFTRA << DURGIO << DURORE << RGIORNI << RORE << INVDIF << NILODD
          << DATSPE << ORASPE << lines->NDETRA << lines->UNITRA->edit() << lines->IDUNTR << lines->SIGTRA
          << lines->INSITR << lines->INAGTR << lines->BCONFTRA << lines->BCANTRA << lines->BFINTRA << next << previous;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    onLeave(RESTRA->edit(), [this] { return leaveRestra(); });
    onLeave(MODTRA->edit(), [this] { return leaveModtra(); });
    onLeave(LINAZT->edit(), [this] { return lookupOrPick(LINAZT, false); });
    onLeave(DURGIO, [this] { return checkDays(DURGIO->text()); });
    onLeave(DURORE, [this] { return checkHours(DURORE->text()); });
    onLeave(INVDIF, [this] {
        const CheckResult r = checkInvdif(INVDIF->text());
        if (r.ok) {
            panels_.nilodd = trimField(INVDIF->text()) == QLatin1String("S");
            applyPanels();
            // Enter went past the number while it was hidden: it is the next field now.
            if (panels_.nilodd && QApplication::focusWidget() == DATSPE)
                focusFromLeave(NILODD);
        }
        return r;
    });
    onLeave(NILODD, [this] { return NILODD->isVisible() ? checkNilodd(NILODD->text()) : CheckResult::pass(); });
    onLeave(DATSPE, [this] {
        QString warning;
        const CheckResult r = checkDispatchDate(DATSPE->text(), ctx_.clock().today(), &warning);
        if (r.ok && !warning.isEmpty())
            ctx_.messenger().info(warning);
        return r;
    });
    onLeave(ORASPE, [this] {
        const CheckResult r = checkTime(ORASPE->text());
        if (r.ok)
            ORASPE->setText(normalTime(ORASPE->text())); // "9:30" shown and kept as "09:30"
        return r;
    });
    connect(RESTRA, &CodedField::picked, this, [this] { leaveRestra(); });
    functionKey(BARCTRA, Qt::Key_F5);
    functionKey(BNUOTRA, Qt::Key_F6);
    connect(BARCTRA, &QPushButton::clicked, this, [this] {
        if (auto a = pickAddress(QStringLiteral("INDIRIZZI_T")))
            takeTransporter(*a);
    });
    connect(BNUOTRA, &QPushButton::clicked, this, [this] {
        if (auto a = insertAddress(QStringLiteral("INDIRIZZI_T")))
            takeTransporter(*a);
    });
    connect(lines, &TransportLinesEditor::finished, this, &CompilePage::nextPage);
}

void TransportPage::applyPanels()
{
    PAZIENDADITRASPORTO->setVisible(panels_.transport);
    NILODD->setVisible(panels_.nilodd);
    if (QWidget* l = findChild<QWidget*>(QStringLiteral("LNILODD")))
        l->setVisible(panels_.nilodd);
    const QSignalBlocker b1(RGIORNI), b2(RORE);
    RGIORNI->setChecked(!panels_.hours);
    RORE->setChecked(panels_.hours);
    DURGIO->setEnabled(!panels_.hours);
    DURORE->setEnabled(panels_.hours);
    const bool note = RESTRA && MODTRA->code().startsWith(QLatin1Char('0'));
    INFTRA->setEnabled(note);
}

void TransportPage::clearCompanions()
{
    for (CodedField* c : {RESTRA, MODTRA, LINAZT})
        c->companion()->clear();
}

void TransportPage::chooseDuration(bool hours)
{
    panels_.hours = hours;
    (hours ? static_cast<QLineEdit*>(DURGIO) : DURORE)->clear();
    applyPanels();
    (hours ? DURORE : DURGIO)->setFocus(Qt::OtherFocusReason);
}

CheckResult TransportPage::leaveRestra()
{
    if (!RESTRA->lookup()) {
        RESTRA->pick();
        if (!RESTRA->lookup())
            return CheckResult::fail({}, QStringLiteral("RESTRA"));
    }
    const QString code = RESTRA->code();
    panels_.transport = code == QLatin1String("3") || code == QLatin1String("4");
    applyPanels();
    if (panels_.transport)
        focusFromLeave(PIAZTR);
    return CheckResult::pass();
}

CheckResult TransportPage::leaveModtra()
{
    if (!MODTRA->lookup()) {
        MODTRA->pick();
        if (!MODTRA->lookup())
            return CheckResult::fail({}, QStringLiteral("MODTRA"));
    }
    if (!MODTRA->code().startsWith(QLatin1Char('0')))
        INFTRA->clear();
    applyPanels();
    // Enter went past the note while it was disabled: mode "0" wants it, so it is the next field.
    QWidget* now = QApplication::focusWidget();
    if (INFTRA->isEnabled() && (now == DURGIO || now == DURORE))
        focusFromLeave(INFTRA);
    return CheckResult::pass();
}

void TransportPage::takeTransporter(const TRecIndirizzo& r)
{
    EadForm f;
    readInto(f);
    copyTransporter(r, f);
    showForm(f);
    LINAZT->companion()->clear();
    checks_.setTouched(true);
}

} // namespace vt
