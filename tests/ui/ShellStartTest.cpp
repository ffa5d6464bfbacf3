// The signing program is started directly, never through a command shell: a path with spaces or
// shell characters starts that very program and nothing else. An existing path that is not a
// program goes to the system's default handler, as the system's "open" would.
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <gtest/gtest.h>

#include "ui/QtServices.h"

using namespace vt;

namespace {

// Stands for the system's default handler of local files while a test runs.
class DefaultHandler : public QObject {
    Q_OBJECT
public:
    DefaultHandler() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~DefaultHandler() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

} // namespace

#ifndef Q_OS_WIN
TEST(QtShell, StartsAProgramWhosePathHasSpacesAndShellCharacters)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = QDir(dir.path()).filePath(QStringLiteral("Firma Verifica; touch INJECTED &"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString program = QDir(folder).filePath(QStringLiteral("Firma$(touch INJECTED2).sh"));
    const QString marker = QDir(dir.path()).filePath(QStringLiteral("started"));
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\necho ok > '%1'\n").arg(marker).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QtShell shell;
    ASSERT_TRUE(shell.startProgram(program));
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(marker) && waited.elapsed() < 5000)
        QThread::msleep(20);
    EXPECT_TRUE(QFile::exists(marker));
    EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath(QStringLiteral("INJECTED"))));
    EXPECT_FALSE(QFile::exists(QDir(folder).filePath(QStringLiteral("INJECTED2"))));
    EXPECT_FALSE(QFile::exists(QDir(folder).filePath(QStringLiteral("INJECTED"))));
    EXPECT_FALSE(QFile::exists(QStringLiteral("INJECTED")));
}
#endif

TEST(QtShell, AMissingProgramIsNotStarted)
{
    QtShell shell;
    EXPECT_FALSE(shell.startProgram(QStringLiteral("/no/such/folder/FirmaVerifica.exe")));
    EXPECT_FALSE(shell.startProgram(QStringLiteral("   ")));
}

TEST(QtShell, AnExistingPathThatIsNotAProgramGoesToItsDefaultHandler)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString document = QDir(dir.path()).filePath(QStringLiteral("Firma Verifica.jar"));
    QFile f(document);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("PK");
    f.close();
    ASSERT_TRUE(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner));

    DefaultHandler handler;
    QtShell shell;
    EXPECT_TRUE(shell.startProgram(document));
    EXPECT_EQ(handler.opened, QList<QUrl>{QUrl::fromLocalFile(document)});

    // A missing path is neither started nor handed over.
    handler.opened.clear();
    EXPECT_FALSE(shell.startProgram(QDir(dir.path()).filePath(QStringLiteral("manca.jar"))));
    EXPECT_TRUE(handler.opened.isEmpty());
}

#ifndef Q_OS_WIN
TEST(QtShell, AProgramIsStartedNotHandedToTheDefaultHandler)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString program = QDir(dir.path()).filePath(QStringLiteral("firma.sh"));
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nexit 0\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    DefaultHandler handler;
    QtShell shell;
    EXPECT_TRUE(shell.startProgram(program));
    EXPECT_TRUE(handler.opened.isEmpty());
}
#endif

#include "ShellStartTest.moc"
