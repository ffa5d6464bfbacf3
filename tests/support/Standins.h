#pragma once
// The loopback stand-ins for integration tests: the customs file service on HTTPS with a
// self-signed certificate made with openssl, and a signing-program folder with vt-sign-standin.
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace vt::test {

// Folder of the test executables, where the stand-ins are built too.
QString buildDir();

class CustomsStandin {
public:
    // Makes a certificate for localhost/127.0.0.1 in dir and starts the service on a free port.
    explicit CustomsStandin(const QString& dir);
    ~CustomsStandin();
    bool running() const { return port_ > 0; }
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }
    QString caFile() const { return caFile_; }
    QString storeFolder() const { return store_; }
    QString error() const { return error_; }

private:
    QProcess process_;
    int port_ = 0;
    QString caFile_, store_, error_;
};

// Makes a self-signed certificate and key (PEM, both in pemPath, certificate also in certPath).
bool makeServerCertificate(const QString& pemPath, const QString& certPath, const QString& commonName);

// A copy of vt-sign-standin in dir/FV, with its dafirmare and firmati folders.
struct SigningFolder {
    explicit SigningFolder(const QString& dir);
    QString program, toSign, signedDir; // folders end with "/"
    bool sign() const;                  // runs it once and waits
};

} // namespace vt::test
