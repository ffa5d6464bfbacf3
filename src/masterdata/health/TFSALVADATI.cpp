#include "masterdata/health/TFSALVADATI.h"

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>

#include "foundation/IoError.h"
#include "masterdata/health/DataCopy.h"
#include "ui/Widgets.h"

namespace vt {

TFSALVADATI::TFSALVADATI(AppContext &ctx, QWidget *parent)
    : QDialog(parent), ctx_(ctx) {
  setObjectName(QStringLiteral("TFSALVADATI"));
  setWindowTitle(QStringLiteral("Salva una copia dei dati"));

  auto *grid = new QGridLayout(this);
  auto *intro = new QLabel(
      QStringLiteral("Una copia di DATI_GEN e REGISTRI in un file ZIP. Mentre "
                     "la copia viene "
                     "scritta e riletta, le altre postazioni attendono."),
      this);
  intro->setWordWrap(true);
  grid->addWidget(intro, 0, 0, 1, 3);
  auto *label = new QLabel(QStringLiteral("Cartella delle copie"), this);
  LCARTELLA = new QLineEdit(
      QDir::toNativeSeparators(health::defaultCopyFolder(ctx_.StartFolder)),
      this);
  LCARTELLA->setObjectName(QStringLiteral("LCARTELLA"));
  LCARTELLA->setMinimumWidth(460);
  label->setBuddy(LCARTELLA);
  BLCARTELLA = new QToolButton(this);
  BLCARTELLA->setObjectName(QStringLiteral("BLCARTELLA"));
  BLCARTELLA->setText(QStringLiteral("..."));
  BLCARTELLA->setFocusPolicy(Qt::NoFocus);
  BLCARTELLA->setToolTip(QStringLiteral("Sfoglia (F4)"));
  new QShortcut(
      QKeySequence(Qt::Key_F4), LCARTELLA, [this] { BLCARTELLA->click(); },
      Qt::WidgetShortcut);
  grid->addWidget(label, 1, 0, Qt::AlignRight);
  grid->addWidget(LCARTELLA, 1, 1);
  grid->addWidget(BLCARTELLA, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("Nome del file"), this), 2, 0,
                  Qt::AlignRight);
  DNOMEFILE = new QLabel(this);
  DNOMEFILE->setObjectName(QStringLiteral("DNOMEFILE"));
  grid->addWidget(DNOMEFILE, 2, 1, 1, 2);
  PROGRESSO = new QProgressBar(this);
  PROGRESSO->setObjectName(QStringLiteral("PROGRESSO"));
  PROGRESSO->setRange(0, 1000);
  PROGRESSO->setValue(0);
  grid->addWidget(PROGRESSO, 3, 0, 1, 3);

  BCONF = makeButton(this, "BCONF", QStringLiteral("&CONFERMA"));
  BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));
  auto *buttons = new QHBoxLayout;
  buttons->addWidget(BCONF);
  buttons->addStretch(1);
  buttons->addWidget(BABBANDONA);
  grid->setRowMinimumHeight(4, 12);
  grid->addLayout(buttons, 5, 0, 1, 3);
  grid->setColumnStretch(1, 1);

  showName();
  connect(BLCARTELLA, &QToolButton::clicked, this, [this] {
    const QString chosen = ctx_.fileDialogs().chooseFolder(
        QStringLiteral("Cartella delle copie"), LCARTELLA->text());
    if (!chosen.isEmpty())
      LCARTELLA->setText(QDir::toNativeSeparators(chosen));
  });
  connect(BCONF, &QPushButton::clicked, this, &TFSALVADATI::confirm);
  connect(BABBANDONA, &QPushButton::clicked, this, &QDialog::reject);
  BCONF->setFocus(Qt::OtherFocusReason);
}

void TFSALVADATI::showName() {
  DNOMEFILE->setText(health::copyFileName(health::companyCode(ctx_.StartFolder),
                                          ctx_.clock().now()));
}

void TFSALVADATI::reject() {
  if (!busy_) // a copy being written is not abandoned half-way
    QDialog::reject();
}

void TFSALVADATI::confirm() {
  if (busy_)
    return;
  const QString folder =
      QDir::fromNativeSeparators(LCARTELLA->text().trimmed());
  if (folder.isEmpty() || !QDir().mkpath(folder)) {
    ctx_.messenger().info(QStringLiteral("CARTELLA DELLE COPIE NON VALIDA"));
    LCARTELLA->setFocus(Qt::OtherFocusReason);
    return;
  }
  const QDateTime now = ctx_.clock().now();
  const QString path = QDir(folder).filePath(
      health::copyFileName(health::companyCode(ctx_.StartFolder), now));
  DNOMEFILE->setText(QFileInfo(path).fileName());
  busy_ = true;
  BCONF->setEnabled(false);
  BABBANDONA->setEnabled(false);
  PROGRESSO->setValue(0);
  try {
    health::saveCopy(ctx_.StartFolder, path, now, ctx_.messenger(),
                     [this](qint64 done, qint64 total) {
                       if (total > 0)
                         PROGRESSO->setValue(
                             int(std::min<qint64>(1000, done * 1000 / total)));
                       QApplication::processEvents(
                           QEventLoop::ExcludeUserInputEvents);
                     });
    PROGRESSO->setValue(1000);
    saved_ = path;
    busy_ = false;
    ctx_.messenger().info(QStringLiteral("COPIA DEI DATI SALVATA IN:") +
                          QChar(13) + QChar(13) +
                          QDir::toNativeSeparators(path));
    accept();
    return;
  } catch (const IoError &e) {
    busy_ = false;
    PROGRESSO->setValue(0);
    ctx_.messenger().info(e.text());
  }
  BCONF->setEnabled(true);
  BABBANDONA->setEnabled(true);
}

} // namespace vt
