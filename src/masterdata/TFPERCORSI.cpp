#include "masterdata/TFPERCORSI.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>

#include "foundation/IoError.h"
#include "foundation/Text.h"
#include "masterdata/Settings.h"
#include "ui/Edits.h"
#include "ui/FormChecks.h"
#include "ui/Widgets.h"

namespace vt {

namespace {

const QString kCaptions[4] = {
    QStringLiteral("FIRMAVERIFICA"),
    QStringLiteral("Cartella di destinazione dei FILE da FIRMARE"),
    QStringLiteral("Cartella di destinazione dei FILE FIRMATI"),
    QStringLiteral("Cartella di destinazione per i DOWNLOAD dei messaggi EMCS"),
};
} // namespace

TFPERCORSI::TFPERCORSI(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFPERCORSI"));
    setWindowTitle(QStringLiteral("Percorsi delle Applicazioni"));

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    const auto& captions = kCaptions;
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(captions[i], this);
        le_[i] = new QLineEdit(this);
        le_[i]->setObjectName(QStringLiteral("LE%1").arg(i));
        setupText(le_[i], TRecTabella::Width);
        le_[i]->setMinimumWidth(480);
        label->setBuddy(le_[i]);
        browse_[i] = new QToolButton(this);
        browse_[i]->setObjectName(QStringLiteral("BLE%1").arg(i));
        browse_[i]->setText(QStringLiteral("..."));
        browse_[i]->setFocusPolicy(Qt::NoFocus);
        browse_[i]->setToolTip(QStringLiteral("Sfoglia (F4)"));
        // The "..." of a field from the keyboard.
        new QShortcut(QKeySequence(Qt::Key_F4), le_[i], [this, i] { browse_[i]->click(); }, Qt::WidgetShortcut);
        grid->addWidget(label, i, 0, Qt::AlignRight);
        grid->addWidget(le_[i], i, 1);
        grid->addWidget(browse_[i], i, 2);
    }
    grid->setColumnStretch(1, 1);

    BCONF = makeButton(this, "BCONF", QStringLiteral("&CONFERMA"));
    BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BCONF);
    buttons->addStretch(1);
    buttons->addWidget(BABBANDONA);
    grid->setRowMinimumHeight(4, 12);
    grid->addLayout(buttons, 5, 0, 1, 3);

    TRecTabella config;
    try {
        config = OpenConfig(appConfigPath(ctx_));
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    ready_ = true;
    for (int i = 0; i < 4; ++i)
        le_[i]->setText(config.Fld[i]);

    enterMovesToNextField(this);
    connect(browse_[0], &QToolButton::clicked, this, &TFPERCORSI::chooseProgram);
    // A program path typed by hand fills the two signing folders beside it, as choosing it does,
    // when the user has not set them yet.
    connect(le_[0], &QLineEdit::editingFinished, this, [this] {
        const QString program = trimField(le_[0]->text());
        if (program.isEmpty() || !trimField(le_[1]->text()).isEmpty() || !trimField(le_[2]->text()).isEmpty())
            return;
        const SigningFolders folders = SigningFoldersBeside(program);
        le_[1]->setText(folders.toSign);
        le_[2]->setText(folders.signedFiles);
    });
    for (int i = 1; i < 4; ++i)
        connect(browse_[i], &QToolButton::clicked, this, [this, i] { chooseFolder(i); });
    connect(BCONF, &QPushButton::clicked, this, &TFPERCORSI::confirm);
    connect(BABBANDONA, &QPushButton::clicked, this, &QDialog::reject);
    le_[0]->setFocus(Qt::OtherFocusReason);
}

int TFPERCORSI::exec()
{
    if (!ready_)
        return QDialog::Rejected;
    return QDialog::exec();
}

void TFPERCORSI::chooseProgram()
{
    const QString chosen = ctx_.fileDialogs().openFile(QStringLiteral("Programma FIRMAVERIFICA"),
                                                       QFileInfo(trimField(le_[0]->text())).path(), QString());
    if (chosen.isEmpty())
        return;
    const SigningFolders folders = SigningFoldersBeside(chosen);
    le_[0]->setText(QDir::toNativeSeparators(chosen));
    le_[1]->setText(folders.toSign);
    le_[2]->setText(folders.signedFiles);
}

void TFPERCORSI::chooseFolder(int i)
{
    const QString chosen = ctx_.fileDialogs().chooseFolder(kCaptions[i], trimField(le_[i]->text()));
    if (!chosen.isEmpty())
        le_[i]->setText(folderSetting(chosen));
}

void TFPERCORSI::confirm()
{
    std::array<QString, AppPathCount> paths;
    for (int i = 0; i < AppPathCount; ++i)
        paths[i] = le_[i]->text();
    try {
        SaveAppPaths(ctx_, paths);
    } catch (const IoError& e) {
        ctx_.messenger().info(e.text());
        return;
    }
    accept();
}

} // namespace vt
