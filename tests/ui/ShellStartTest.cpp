// The signing program is started directly, never through a command shell: a path with spaces or
// shell characters starts that very program and nothing else.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include "ui/QtServices.h"

using namespace vt;

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
