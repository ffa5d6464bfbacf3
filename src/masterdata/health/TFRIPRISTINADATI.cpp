#include "masterdata/health/TFRIPRISTINADATI.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
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

namespace {
QString when(const QDateTime &t) {
  return t.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}
} // namespace

TFRIPRISTINADATI::TFRIPRISTINADATI(AppContext &ctx, QWidget *parent)
    : QDialog(parent), ctx_(ctx) {
  setObjectName(QStringLiteral("TFRIPRISTINADATI"));
  setWindowTitle(QStringLiteral("Ripristina una copia dei dati"));

  auto *grid = new QGridLayout(this);
  auto *intro = new QLabel(
      QStringLiteral("I dati attuali (DATI_GEN e REGISTRI) vengono sostituiti "
                     "da quelli della copia; "
                     "prima ne viene salvata una copia nella stessa cartella."),
      this);
  intro->setWordWrap(true);
  grid->addWidget(intro, 0, 0, 1, 3);
  auto *label = new QLabel(QStringLiteral("File della copia"), this);
  LFILE = new QLineEdit(this);
  LFILE->setObjectName(QStringLiteral("LFILE"));
  LFILE->setMinimumWidth(460);
  label->setBuddy(LFILE);
  BLFILE = new QToolButton(this);
  BLFILE->setObjectName(QStringLiteral("BLFILE"));
  BLFILE->setText(QStringLiteral("..."));
  BLFILE->setFocusPolicy(Qt::NoFocus);
  BLFILE->setToolTip(QStringLiteral("Sfoglia (F4)"));
  new QShortcut(
      QKeySequence(Qt::Key_F4), LFILE, [this] { BLFILE->click(); },
      Qt::WidgetShortcut);
  grid->addWidget(label, 1, 0, Qt::AlignRight);
  grid->addWidget(LFILE, 1, 1);
  grid->addWidget(BLFILE, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("Copia del"), this), 2, 0,
                  Qt::AlignRight);
  DDATA = new QLabel(this);
  DDATA->setObjectName(QStringLiteral("DDATA"));
  grid->addWidget(DDATA, 2, 1, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("Azienda"), this), 3, 0,
                  Qt::AlignRight);
  DAZIENDA = new QLabel(this);
  DAZIENDA->setObjectName(QStringLiteral("DAZIENDA"));
  DAZIENDA->setWordWrap(true);
  grid->addWidget(DAZIENDA, 3, 1, 1, 2);
  PROGRESSO = new QProgressBar(this);
  PROGRESSO->setObjectName(QStringLiteral("PROGRESSO"));
  PROGRESSO->setRange(0, 1000);
  PROGRESSO->setValue(0);
  grid->addWidget(PROGRESSO, 4, 0, 1, 3);

  BCONF = makeButton(this, "BCONF", QStringLiteral("&CONFERMA"));
  BABBANDONA = makeButton(this, "BABBANDONA", QStringLiteral("&Abbandona"));
  auto *buttons = new QHBoxLayout;
  buttons->addWidget(BCONF);
  buttons->addStretch(1);
  buttons->addWidget(BABBANDONA);
  grid->setRowMinimumHeight(5, 12);
  grid->addLayout(buttons, 6, 0, 1, 3);
  grid->setColumnStretch(1, 1);

  connect(BLFILE, &QToolButton::clicked, this, &TFRIPRISTINADATI::choose);
  connect(LFILE, &QLineEdit::editingFinished, this,
          &TFRIPRISTINADATI::describe);
  connect(BCONF, &QPushButton::clicked, this, &TFRIPRISTINADATI::confirm);
  connect(BABBANDONA, &QPushButton::clicked, this, &QDialog::reject);
  LFILE->setFocus(Qt::OtherFocusReason);
}

void TFRIPRISTINADATI::reject() {
  if (!busy_) // a restore under way is not abandoned half-way
    QDialog::reject();
}

void TFRIPRISTINADATI::choose() {
  const QString chosen =
      ctx_.fileDialogs().openFile(QStringLiteral("Copia dei dati"),
                                  health::defaultCopyFolder(ctx_.StartFolder),
                                  QStringLiteral("Copie dei dati (*.zip)"));
  if (chosen.isEmpty())
    return;
  LFILE->setText(QDir::toNativeSeparators(chosen));
  describe();
}

// The manifest's date and company of the copy named in LFILE, or why it cannot
// be used.
void TFRIPRISTINADATI::describe() {
  DDATA->clear();
  DAZIENDA->clear();
  const QString path = QDir::fromNativeSeparators(LFILE->text().trimmed());
  if (path.isEmpty())
    return;
  try {
    const health::Manifest m = health::verifyCopy(path);
    DDATA->setText(when(m.taken));
    DAZIENDA->setText(
        (m.company.isEmpty() ? QStringLiteral("(senza codice)") : m.company) +
        QStringLiteral("  ") + m.companyName);
  } catch (const IoError &e) {
    DAZIENDA->setText(e.text());
  }
}

void TFRIPRISTINADATI::confirm() {
  if (busy_)
    return;
  const QString path = QDir::fromNativeSeparators(LFILE->text().trimmed());
  if (path.isEmpty() || !QFileInfo(path).isFile()) {
    ctx_.messenger().info(QStringLiteral("INDICARE IL FILE DELLA COPIA"));
    LFILE->setFocus(Qt::OtherFocusReason);
    return;
  }
  health::Manifest m;
  try {
    m = health::verifyCopy(path);
  } catch (const IoError &e) {
    ctx_.messenger().info(e.text());
    return;
  }
  describe();
  const QDateTime now = ctx_.clock().now();
  const QString current = health::companyCode(ctx_.StartFolder);
  const QString folder = health::defaultCopyFolder(ctx_.StartFolder);
  const QString aside =
      QDir(folder).filePath(health::copyFileName(current, now).chopped(4) +
                            QStringLiteral("_PRIMA_DEL_RIPRISTINO.zip"));
  const QChar cr(13);
  if (!ctx_.messenger().askYesNo(
          QStringLiteral("RIPRISTINARE LA COPIA DEL ") + when(m.taken) +
          QStringLiteral(" DELL'AZIENDA ") +
          (m.company.isEmpty() ? QStringLiteral("(SENZA CODICE)") : m.company) +
          QStringLiteral(" ?") + cr + cr +
          QStringLiteral("I DATI ATTUALI SARANNO SOSTITUITI; PRIMA NE VIENE "
                         "SALVATA UNA COPIA IN:") +
          cr + QDir::toNativeSeparators(aside)))
    return;
  busy_ = true;
  BCONF->setEnabled(false);
  BABBANDONA->setEnabled(false);
  PROGRESSO->setValue(0);
  try {
    QDir().mkpath(folder);
    health::restoreCopy(
        ctx_.StartFolder, path, aside, now, ctx_.messenger(),
        [this](qint64 done, qint64 total) {
          if (total > 0)
            PROGRESSO->setValue(
                int(std::min<qint64>(1000, done * 1000 / total)));
          QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    PROGRESSO->setValue(1000);
    busy_ = false;
    ctx_.messenger().info(QStringLiteral("RIPRISTINO COMPLETATO.") + cr + cr +
                          QStringLiteral("LA COPIA DEI DATI PRECEDENTI È IN:") +
                          cr + QDir::toNativeSeparators(aside));
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
