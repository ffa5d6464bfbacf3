// vt-sign-standin: stands in for the customs agency's signing program when trying the program.
// Started with no arguments, like the real one, it signs every file of the folder "dafirmare"
// beside it that has no signed copy yet into "firmati"/NAME.p7m, as a CMS (PKCS#7) signed
// envelope with the content attached. The test certificate "firma-prova.pem" (key and
// certificate) is created beside it on first use.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <openssl/bio.h>
#include <openssl/cms.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>

#include <cstdio>

namespace {

void fail(const char* what)
{
    std::fprintf(stderr, "vt-sign-standin: %s\n", what);
    ERR_print_errors_fp(stderr);
}

bool makeCertificate(const QString& path)
{
    EVP_PKEY* key = EVP_RSA_gen(2048);
    X509* cert = X509_new();
    bool ok = key && cert;
    if (ok) {
        X509_set_version(cert, 2);
        ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
        X509_gmtime_adj(X509_getm_notBefore(cert), 0);
        X509_gmtime_adj(X509_getm_notAfter(cert), 10L * 365 * 24 * 3600);
        X509_set_pubkey(cert, key);
        X509_NAME* name = X509_get_subject_name(cert);
        X509_NAME_add_entry_by_txt(name, "C", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("IT"), -1, -1, 0);
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                                   reinterpret_cast<const unsigned char*>("Firmatario di prova"), -1, -1, 0);
        X509_set_issuer_name(cert, name);
        ok = X509_sign(cert, key, EVP_sha256()) > 0;
    }
    BIO* out = BIO_new(BIO_s_mem());
    ok = ok && PEM_write_bio_PrivateKey(out, key, nullptr, nullptr, 0, nullptr, nullptr) && PEM_write_bio_X509(out, cert);
    if (ok) {
        char* data = nullptr;
        const long n = BIO_get_mem_data(out, &data);
        QSaveFile f(path);
        ok = f.open(QIODevice::WriteOnly) && f.write(data, n) == n && f.commit();
        if (ok)
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }
    BIO_free(out);
    X509_free(cert);
    EVP_PKEY_free(key);
    return ok;
}

bool loadCertificate(const QString& path, EVP_PKEY*& key, X509*& cert)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray pem = f.readAll();
    BIO* in = BIO_new_mem_buf(pem.constData(), static_cast<int>(pem.size()));
    key = PEM_read_bio_PrivateKey(in, nullptr, nullptr, nullptr);
    BIO_free(in);
    in = BIO_new_mem_buf(pem.constData(), static_cast<int>(pem.size()));
    cert = PEM_read_bio_X509(in, nullptr, nullptr, nullptr);
    BIO_free(in);
    return key && cert;
}

bool sign(const QString& from, const QString& to, EVP_PKEY* key, X509* cert)
{
    QFile f(from);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray content = f.readAll();
    BIO* in = BIO_new_mem_buf(content.constData(), static_cast<int>(content.size()));
    CMS_ContentInfo* cms = CMS_sign(cert, key, nullptr, in, CMS_BINARY);
    BIO* out = BIO_new(BIO_s_mem());
    bool ok = cms && i2d_CMS_bio(out, cms);
    if (ok) {
        char* data = nullptr;
        const long n = BIO_get_mem_data(out, &data);
        QSaveFile s(to);
        ok = s.open(QIODevice::WriteOnly) && s.write(data, n) == n && s.commit();
    }
    BIO_free(out);
    BIO_free(in);
    CMS_ContentInfo_free(cms);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QDir home(QCoreApplication::applicationDirPath());
    const QDir toSign(home.filePath("dafirmare"));
    const QDir signedDir(home.filePath("firmati"));
    if (!QDir().mkpath(toSign.path()) || !QDir().mkpath(signedDir.path())) {
        fail("cartelle non disponibili");
        return 1;
    }
    const QString certPath = home.filePath("firma-prova.pem");
    if (!QFile::exists(certPath) && !makeCertificate(certPath)) {
        fail("impossibile creare il certificato di prova");
        return 1;
    }
    EVP_PKEY* key = nullptr;
    X509* cert = nullptr;
    if (!loadCertificate(certPath, key, cert)) {
        fail("certificato di prova illeggibile");
        return 1;
    }
    int failures = 0;
    for (const QString& name : toSign.entryList(QDir::Files, QDir::Name)) {
        const QString target = signedDir.filePath(name + ".p7m");
        if (QFile::exists(target))
            continue;
        if (sign(toSign.filePath(name), target, key, cert))
            std::printf("firmato %s\n", qPrintable(name));
        else {
            fail(qPrintable(name));
            ++failures;
        }
    }
    EVP_PKEY_free(key);
    X509_free(cert);
    return failures ? 1 : 0;
}
