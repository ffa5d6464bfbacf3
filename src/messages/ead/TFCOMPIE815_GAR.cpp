#include "messages/ead/TFCOMPIE815_GAR.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "foundation/IoError.h"
#include "foundation/Text.h"
#include "masterdata/Settings.h"
#include "messages/ead/EadLines.h"
#include "messages/ead/EadStore.h"
#include "ui/CodedField.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"

namespace vt {

GuaranteePage::GuaranteePage(AppContext& ctx, FormChecks& checks, EadPanels& panels, QWidget* parent)
    : CompilePage(ctx, checks, panels, parent)
{
    setObjectName(QStringLiteral("PAGINA4"));
    auto* top = new QGridLayout;
    int r = 0;
    TIPGAR = coded("TIPGAR", QStringLiteral("T007"), 4);
    row(top, r, QStringLiteral("Tipologia Garanti"), TIPGAR, 4);

    top->addWidget(new QLabel(QStringLiteral("Conto"), this), r, 1);
    top->addWidget(new QLabel(QStringLiteral("Cauzione / Esonero ? C/E"), this), r, 2);
    top->addWidget(new QLabel(QStringLiteral("Importo impegnato"), this), r++, 3);
    QList<QWidget*> order{TIPGAR->edit()};
    const QString labels[] = {QStringLiteral("Speditore:"), QStringLiteral("Destinatario:"),
                              QStringLiteral("Trasportatore:"), QStringLiteral("Proprietario Merci:")};
    int i = 0;
    for (const GuaranteeRow& g : guaranteeRows()) {
        QLineEdit* account = text(g.account.toLatin1().constData(), 17, TextCase::Upper);
        account->setFixedWidth(widthForChars(account, 17));
        QLineEdit* kind = text(g.kind.toLatin1().constData(), 1, TextCase::Upper);
        auto* amount = new DecimalEdit(ctx_.messenger(), this);
        amount->setObjectName(g.amount);
        amount->setDecimals(2);
        amount->setAllowMinus(false);
        numbersOnly(amount, true);
        amount->setFixedWidth(widthForChars(amount, 14));
        names_ << g.amount;
        auto* l = new QLabel(labels[i++], this);
        l->setObjectName(QStringLiteral("L") + g.account);
        l->setBuddy(account);
        top->addWidget(l, r, 0, Qt::AlignRight);
        top->addWidget(account, r, 1);
        top->addWidget(kind, r, 2);
        top->addWidget(amount, r++, 3, Qt::AlignLeft);
        order << account << kind << amount;
        onLeave(kind, [kind] { return checkDepositOrExemption(kind->text(), kind->objectName()); });
    }
    top->setColumnStretch(4, 1);

    auto guarantorPanel = [&](QGroupBox* box, const char* exc, const char* vat, const char* den, const char* ind,
                              const char* nuc, const char* cap, const char* cit, const char* lin, CodedField*& language,
                              QPushButton*& pick, QPushButton*& add, const char* pickName, const char* addName) {
        auto* g = new QGridLayout(box);
        int pr = 0;
        for (auto [name, width, label, upper] :
             {std::tuple{exc, 13, "Cod.Accisa", true}, std::tuple{vat, 18, "P. IVA", true},
              std::tuple{den, 100, "Denominazione", false}, std::tuple{ind, 65, "Indirizzo", false},
              std::tuple{nuc, 11, "N° civico", false}, std::tuple{cap, 10, "C.A.P.", false},
              std::tuple{cit, 50, "Città", true}}) {
            QLineEdit* e = text(name, width, upper ? TextCase::Upper : TextCase::AsTyped);
            e->setParent(box);
            row(g, pr, QString::fromUtf8(label), e);
            order << e;
        }
        language = coded(lin, QStringLiteral("T001"), 2, true);
        language->setParent(box);
        row(g, pr, QStringLiteral("Lingua"), language);
        order << language->edit();
        pick = makeButton(box, pickName, QStringLiteral("Arch. Garanti"));
        add = makeButton(box, addName, QStringLiteral("Nuovo Garante"));
        pick->setFocusPolicy(Qt::NoFocus);
        add->setFocusPolicy(Qt::NoFocus);
        auto* bar = new QHBoxLayout;
        bar->addWidget(pick);
        bar->addWidget(add);
        bar->addStretch(1);
        g->addLayout(bar, pr, 1);
        g->setColumnStretch(1, 1);
    };
    PGARANTE2 = panel("PGARANTE2", QStringLiteral("Garante: Trasportatore"));
    guarantorPanel(PGARANTE2, "CATRAG", "PITRAG", "DENTRG", "INDTRG", "NUCTRG", "CAPTRG", "CITTRG", "LINTRG", LINTRG,
                   BGARANTE2, BNGARANTE2, "BGARANTE2", "BNGARANTE2");
    PGARANTE3 = panel("PGARANTE3", QStringLiteral("Garante: Proprietario Merci "));
    guarantorPanel(PGARANTE3, "CAPROG", "PIPROG", "DENPRG", "INDPRG", "NUCPRG", "CAPPRG", "CITPRG", "LINPRG", LINPRG,
                   BGARANTE3, BNGARANTE3, "BGARANTE3", "BNGARANTE3");

    auto* blocks = new QHBoxLayout;
    blocks->addWidget(PGARANTE2, 1, Qt::AlignTop);
    blocks->addWidget(PGARANTE3, 1, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(blocks);
    layout->addStretch(1);
    navigation(layout, 4, QStringLiteral("F5, F6: Arch./Nuovo Garante trasportatore   F7, F8: Arch./Nuovo Garante proprietario"));
    order << next << previous;
    for (qsizetype k = 1; k < order.size(); ++k)
        setTabOrder(order[k - 1], order[k]);

    onLeave(TIPGAR->edit(), [this] { return leaveTipgar(); });
    onLeave(LINTRG->edit(), [this] { return lookupOrPick(LINTRG, false); });
    onLeave(LINPRG->edit(), [this] { return lookupOrPick(LINPRG, false); });
    connect(TIPGAR, &CodedField::picked, this, [this] { leaveTipgar(); });
    functionKey(BGARANTE2, Qt::Key_F5);
    functionKey(BNGARANTE2, Qt::Key_F6);
    functionKey(BGARANTE3, Qt::Key_F7);
    functionKey(BNGARANTE3, Qt::Key_F8);
    connect(BGARANTE2, &QPushButton::clicked, this, [this] {
        if (auto a = pickAddress(QStringLiteral("INDIRIZZI_G")))
            takeGuarantor(*a, false);
    });
    connect(BNGARANTE2, &QPushButton::clicked, this, [this] {
        if (auto a = insertAddress(QStringLiteral("INDIRIZZI_G")))
            takeGuarantor(*a, false);
    });
    // The goods owner is picked and inserted the same way, into its own block.
    connect(BGARANTE3, &QPushButton::clicked, this, [this] {
        if (auto a = pickAddress(QStringLiteral("INDIRIZZI_G")))
            takeGuarantor(*a, true);
    });
    connect(BNGARANTE3, &QPushButton::clicked, this, [this] {
        if (auto a = insertAddress(QStringLiteral("INDIRIZZI_G")))
            takeGuarantor(*a, true);
    });
}

QList<QWidget*> GuaranteePage::rowWidgets(QChar digit) const
{
    for (const GuaranteeRow& g : guaranteeRows())
        if (g.digit == digit)
            return {findChild<QWidget*>(g.account), findChild<QWidget*>(g.kind), findChild<QWidget*>(g.amount),
                    findChild<QWidget*>(QStringLiteral("L") + g.account)};
    return {};
}

void GuaranteePage::applyPanels()
{
    const QString tipgar = TIPGAR->code();
    for (const GuaranteeRow& g : guaranteeRows())
        for (QWidget* w : rowWidgets(g.digit))
            if (w)
                w->setVisible(tipgar.contains(g.digit));
    PGARANTE2->setVisible(panels_.guarantor2);
    PGARANTE3->setVisible(panels_.guarantor3);
}

void GuaranteePage::clearCompanions()
{
    for (CodedField* c : {TIPGAR, LINTRG, LINPRG})
        c->companion()->clear();
}

void GuaranteePage::enter(double excise)
{
    refreshAmount(excise);
    TIPGAR->edit()->setFocus(Qt::OtherFocusReason);
}

void GuaranteePage::refreshAmount(double excise)
{
    EadForm f;
    readInto(f);
    if (refreshGuaranteeAmount(f, excise_, excise))
        showForm(f);
    excise_ = excise;
}

CheckResult GuaranteePage::leaveTipgar()
{
    if (!TIPGAR->lookup()) {
        TIPGAR->pick();
        if (!TIPGAR->lookup())
            return CheckResult::fail({}, QStringLiteral("TIPGAR"));
    }
    EadForm f;
    readInto(f);
    f.panels = panels_;
    const QString focus = applyGuaranteeType(f, ctx_.CompanyRecord.CONGAR, excise_);
    panels_ = f.panels;
    showForm(f);
    applyPanels();
    if (QWidget* w = findChild<QWidget*>(focus))
        focusFromLeave(w);
    return CheckResult::pass();
}

void GuaranteePage::takeGuarantor(const TRecIndirizzo& r, bool owner)
{
    EadForm f;
    readInto(f);
    copyGuarantor(r, f);
    if (owner) {
        // The same slots into the owner's block.
        const char* from[] = {"CATRAG", "PITRAG", "DENTRG", "INDTRG", "NUCTRG", "CAPTRG", "CITTRG", "LINTRG"};
        const char* to[] = {"CAPROG", "PIPROG", "DENPRG", "INDPRG", "NUCPRG", "CAPPRG", "CITPRG", "LINPRG"};
        EadForm current;
        readInto(current);
        for (size_t k = 0; k < std::size(from); ++k) {
            current[QLatin1String(to[k])] = f[QLatin1String(from[k])];
        }
        f = current;
    }
    showForm(f);
    (owner ? LINPRG : LINTRG)->companion()->clear();
    checks_.setTouched(true);
}

} // namespace vt
