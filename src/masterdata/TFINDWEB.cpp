#include "masterdata/TFINDWEB.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/IoError.h"
#include "ui/Edits.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"

namespace vt {

namespace {

const QString kLabels[WebFieldCount] = {
    QStringLiteral("Banca Dati SEED"),
    QStringLiteral("Uffici Doganali dell'Unione Europea"),
    QStringLiteral("Tabella delle Accise in vigore nell'Unione Europea"),
    QStringLiteral("E.D.I. Ambiente Telematico Doganale (REALE)"),
    QStringLiteral("E.M.C.S. (REALE)"),
    QStringLiteral("Ambiente di Addestramento (PROVA)"),
    QStringLiteral("E.M.C.S. (PROVA/ADDESTRAMENTO)"),
    QStringLiteral("Pagina iniziale del sito dell'Agenzia delle Dogane"),
    QStringLiteral("Servizio telematico file (REALE)"),
    QStringLiteral("Servizio telematico file (PROVA)"),
};
} // namespace

TFINDWEB::TFINDWEB(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFINDWEB"));
    setWindowTitle(QStringLiteral("Indirizzi Web"));
    checks_ = new FormChecks(this, ctx_.messenger());

    auto* outer = new QVBoxLayout(this);
    // One label column for all the groups, so the edits line up across them.
    const int labelWidth = [&] {
        int w = 0;
        for (const QString& l : kLabels)
            w = std::max(w, fontMetrics().horizontalAdvance(l));
        return w + 8;
    }();
    auto group = [&](const QString& title, int first, int last) {
        // Untitled boxes too, so that every edit lines up with those of the headed groups.
        auto* box = new QGroupBox(title, this);
        QWidget* holder = box;
        auto* form = new QFormLayout(box);
        outer->addWidget(box);
        form->setLabelAlignment(Qt::AlignRight);
        for (int i = first; i <= last; ++i) {
            le_[i] = new QLineEdit(holder);
            le_[i]->setObjectName(QStringLiteral("LE%1").arg(i));
            setupText(le_[i], TRecTabella::Width);
            le_[i]->setMinimumWidth(460);
            auto* label = new QLabel(kLabels[i], holder);
            label->setMinimumWidth(labelWidth);
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            label->setBuddy(le_[i]);
            form->addRow(label, le_[i]);
        }
    };
    group(QStringLiteral("AMBIENTE REALE"), 0, 4);
    group(QStringLiteral("AMBIENTE DI ADDESTRAMENTO / PROVA"), 5, 6);
    group(QString(), 7, 7);
    group(QString(), 8, 9);
    // What each field expects, shown while it is empty.
    for (int i = 0; i < 8; ++i)
        le_[i]->setPlaceholderText(QStringLiteral("https://indirizzo.del.sito/pagina"));
    for (int i = 8; i < WebFieldCount; ++i) {
        le_[i]->setToolTip(QStringLiteral("host oppure host:porta"));
        le_[i]->setPlaceholderText(QStringLiteral("host:porta  (es. servizio.dogane.example:443)"));
    }

    BCONF = makeButton(this, "BCONF", QStringLiteral("&CONFERMA"));
    BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BCONF);
    buttons->addStretch(1);
    buttons->addWidget(BABBANDONA);
    outer->addSpacing(8);
    outer->addLayout(buttons);

    TRecTabella config;
    try {
        config = OpenConfig(webConfigPath(ctx_));
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    ready_ = true;
    for (int i = 0; i < WebFieldCount; ++i) {
        le_[i]->setText(config.Fld[i]);
        le_[i]->setCursorPosition(0);
    }

    checks_->attach();
    checks_->onLeave(le_[8], [this] { return CheckServiceHost(le_[8]->text(), QStringLiteral("LE8")); });
    checks_->onLeave(le_[9], [this] { return CheckServiceHost(le_[9]->text(), QStringLiteral("LE9")); });
    connect(BCONF, &QPushButton::clicked, this, &TFINDWEB::confirm);
    connect(BABBANDONA, &QPushButton::clicked, this, &QDialog::reject);
    le_[0]->setFocus(Qt::OtherFocusReason);
}

int TFINDWEB::exec()
{
    if (!ready_)
        return QDialog::Rejected;
    return QDialog::exec();
}

void TFINDWEB::confirm()
{
    if (!checks_->confirm({[this] { return CheckServiceHost(le_[8]->text(), QStringLiteral("LE8")); },
                           [this] { return CheckServiceHost(le_[9]->text(), QStringLiteral("LE9")); }}))
        return;
    std::array<QString, WebFieldCount> fields;
    for (int i = 0; i < WebFieldCount; ++i)
        fields[i] = le_[i]->text();
    try {
        SaveWebAddresses(ctx_, fields);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    accept();
}

} // namespace vt
