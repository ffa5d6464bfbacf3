// The two windows of the copies, driven as a clerk does: save a copy, change
// the data, pick the copy, read its date and company, say No, then Yes.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include "foundation/CompanyRecord.h"
#include "masterdata/health/TFRIPRISTINADATI.h"
#include "masterdata/health/TFSALVADATI.h"
#include "support/Fakes.h"

namespace vt {
namespace {

void put(const QString &path, const QByteArray &content) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(content);
}

QByteArray read(const QString &path) {
  QFile f(path);
  f.open(QIODevice::ReadOnly);
  return f.readAll();
}

template <class T> T *child(QWidget *w, const char *name) {
  T *c = w->findChild<T *>(QString::fromLatin1(name));
  EXPECT_NE(c, nullptr) << name;
  return c;
}

TEST(DataCopyWindows, SaveThenRestoreFromTheWindows) {
  test::TestContext t;
  TRecAzienda company = blankCompany();
  company.CODUTE = QStringLiteral("AB12");
  company.DENOM1 = QStringLiteral("CANTINA DI PROVA");
  put(t.ctx.datiGen(QStringLiteral("UTENTE.001")), encodeCompany(company));
  const QString rgm = t.ctx.registri(QStringLiteral("2026.RGM"));
  put(rgm, QByteArray(520 * 2000, 'A'));
  const QString copies = t.path(QStringLiteral("copie"));

  // Save.
  QString zip;
  {
    TFSALVADATI w(t.ctx);
    w.show();
    EXPECT_EQ(child<QLabel>(&w, "DNOMEFILE")->text(),
              QStringLiteral("COPIA_AB12_20261209_103000.zip"));
    child<QLineEdit>(&w, "LCARTELLA")
        ->setText(QDir::toNativeSeparators(copies));
    QList<int> values;
    QObject::connect(child<QProgressBar>(&w, "PROGRESSO"),
                     &QProgressBar::valueChanged, [&](int v) { values << v; });
    child<QPushButton>(&w, "BCONF")->click();
    zip =
        QDir(copies).filePath(QStringLiteral("COPIA_AB12_20261209_103000.zip"));
    EXPECT_EQ(w.saved(), zip);
    EXPECT_TRUE(QFileInfo::exists(zip));
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(values.value(values.size() - 1), 1000);
    EXPECT_TRUE(std::any_of(values.begin(), values.end(), [](int v) {
      return v > 0 && v < 1000;
    })) << "the bar moves on its way";
    EXPECT_TRUE(t.messenger.infos.value(0).startsWith(
        QStringLiteral("COPIA DEI DATI SALVATA IN:")));
  }

  put(rgm, QByteArray(520, 'B'));
  t.clock.current = t.clock.current.addSecs(3600);
  t.messenger.infos.clear();

  TFRIPRISTINADATI w(t.ctx);
  w.show();
  // Confirmed with no file: it says so and changes nothing.
  child<QPushButton>(&w, "BCONF")->click();
  EXPECT_EQ(t.messenger.infos.value(0),
            QStringLiteral("INDICARE IL FILE DELLA COPIA"));

  t.dialogs.answers << zip;
  child<QToolButton>(&w, "BLFILE")->click();
  EXPECT_EQ(child<QLabel>(&w, "DDATA")->text(),
            QStringLiteral("09/12/2026 10:30:00"));
  EXPECT_TRUE(child<QLabel>(&w, "DAZIENDA")
                  ->text()
                  .startsWith(QStringLiteral("AB12  CANTINA DI PROVA")));

  // No (the default) leaves the data alone.
  child<QPushButton>(&w, "BCONF")->click();
  ASSERT_EQ(t.messenger.questions.size(), 1);
  EXPECT_TRUE(t.messenger.questions[0].startsWith(QStringLiteral(
      "RIPRISTINARE LA COPIA DEL 09/12/2026 10:30:00 DELL'AZIENDA AB12 ?")));
  EXPECT_EQ(read(rgm), QByteArray(520, 'B'));
  EXPECT_EQ(w.result(), 0);

  t.messenger.answers.push_back(true);
  child<QPushButton>(&w, "BCONF")->click();
  EXPECT_EQ(read(rgm), QByteArray(520 * 2000, 'A'));
  EXPECT_TRUE(t.messenger.infos.last().startsWith(
      QStringLiteral("RIPRISTINO COMPLETATO.")));
  EXPECT_EQ(child<QProgressBar>(&w, "PROGRESSO")->value(), 1000);
  EXPECT_EQ(w.result(), QDialog::Accepted);
  // The data replaced were saved first, in the copies folder of the start
  // folder.
  EXPECT_TRUE(QFileInfo::exists(
      QDir(t.ctx.StartFolder)
          .filePath(QStringLiteral(
              "COPIE/COPIA_AB12_20261209_113000_PRIMA_DEL_RIPRISTINO.zip"))));
}

} // namespace
} // namespace vt
