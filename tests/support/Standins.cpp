#include "support/Standins.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace vt::test {

QString buildDir()
{
    const QString fromEnv = qEnvironmentVariable("VT_BUILD_DIR");
    return fromEnv.isEmpty() ? QCoreApplication::applicationDirPath() : fromEnv;
}

bool makeServerCertificate(const QString& pemPath, const QString& certPath, const QString& commonName)
{
    const QString keyPath = pemPath + QStringLiteral(".key");
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", keyPath, "-out", certPath, "-days", "2",
                   "-subj", "/CN=" + commonName, "-addext", "subjectAltName=DNS:localhost,IP:127.0.0.1"});
    if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0)
        return false;
    QFile key(keyPath), cert(certPath), pem(pemPath);
    if (!key.open(QIODevice::ReadOnly) || !cert.open(QIODevice::ReadOnly) || !pem.open(QIODevice::WriteOnly))
        return false;
    pem.write(key.readAll());
    pem.write(cert.readAll());
    return true;
}

CustomsStandin::CustomsStandin(const QString& dir)
{
    const QString pem = QDir(dir).filePath("server.pem");
    caFile_ = QDir(dir).filePath("server-cert.pem");
    store_ = QDir(dir).filePath("archivio");
    if (!makeServerCertificate(pem, caFile_, "localhost")) {
        error_ = "openssl failed";
        return;
    }
    process_.setProgram(QDir(buildDir()).filePath("vt-customs-standin"));
    process_.setArguments({"--cert", pem, "--store", store_, "--port", "0"});
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start();
    if (!process_.waitForStarted(10000) || !process_.waitForReadyRead(10000)) {
        error_ = "stand-in did not start: " + process_.errorString();
        return;
    }
    const QByteArray line = process_.readLine().trimmed();
    if (line.startsWith("PORTA "))
        port_ = line.mid(6).toInt();
    else
        error_ = "unexpected first line: " + QString::fromLatin1(line);
}

CustomsStandin::~CustomsStandin()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

SigningFolder::SigningFolder(const QString& dir)
{
    const QDir fv(QDir(dir).filePath("FV"));
    QDir().mkpath(fv.filePath("dafirmare"));
    QDir().mkpath(fv.filePath("firmati"));
    program = fv.filePath("vt-sign-standin");
    QFile::copy(QDir(buildDir()).filePath("vt-sign-standin"), program);
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    toSign = fv.filePath("dafirmare") + "/";
    signedDir = fv.filePath("firmati") + "/";
}

bool SigningFolder::sign() const
{
    QProcess p;
    p.start(program, {});
    return p.waitForFinished(60000) && p.exitCode() == 0;
}

} // namespace vt::test
