// vt-customs-standin: the customs telematic file service on loopback HTTPS, for trying and testing
// the transmission path. Built from the program's own service definition.
//
//   vt-customs-standin --cert server.pem --store FOLDER [--port N]
//
// server.pem holds the server's private key and certificate. Port 0 (the default) takes a free
// port; the port in use is written on the first line of the standard output as "PORTA n".
// put keeps what it receives in FOLDER, unwraps the CMS signed envelope, checks the flow and
// prepares its outcome; get answers the outcome name (flow name with "J", ".p7m") with the
// outcome as a MIME attachment.
#include <QByteArray>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QString>

#include <openssl/bio.h>
#include <openssl/cms.h>
#include <openssl/err.h>
#include <openssl/pem.h>

#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>

#include "FlowCheck.h"
#include "soapH.h"
#include "TelematicoFtpWsBindingImplService.nsmap"

namespace {

QString storeFolder;

// A name sent by a client, accepted only as a plain file name.
bool plainName(const QString& name)
{
    if (name.isEmpty() || name.size() > 64 || name == "." || name == "..")
        return false;
    for (QChar c : name) {
        const ushort u = c.unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == '.' || u == '_' || u == '-'))
            return false;
    }
    return !name.startsWith('.');
}

// The content of a CMS signed envelope (DER), its signature checked against the
// certificate it carries; empty on failure.
bool unwrapCms(const QByteArray& envelope, QByteArray& content)
{
    BIO* in = BIO_new_mem_buf(envelope.constData(), static_cast<int>(envelope.size()));
    CMS_ContentInfo* cms = d2i_CMS_bio(in, nullptr);
    BIO_free(in);
    if (!cms)
        return false;
    BIO* out = BIO_new(BIO_s_mem());
    const bool ok = CMS_verify(cms, nullptr, nullptr, nullptr, out, CMS_NO_SIGNER_CERT_VERIFY | CMS_BINARY) == 1;
    if (ok) {
        char* data = nullptr;
        const long n = BIO_get_mem_data(out, &data);
        content = QByteArray(data, static_cast<qsizetype>(n));
    }
    BIO_free(out);
    CMS_ContentInfo_free(cms);
    ERR_clear_error();
    return ok;
}

QString outcomeNameOf(const QString& name)
{
    QString o = name;
    if (o.size() >= 10)
        o[9] = 'J';
    return o;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.commit();
}

} // namespace

int tfw__ls(soap* s, char*, char** r)
{
    *r = soap_strdup(s, "");
    return SOAP_OK;
}

int tfw__dir(soap* s, char*, char** r)
{
    *r = soap_strdup(s, "");
    return SOAP_OK;
}

int tfw__getlog(soap* s, void*, xsd__base64Binary* r)
{
    *r = xsd__base64Binary{};
    (void)s;
    return SOAP_OK;
}

int tfw__mget(soap* s, char*, char*, xsd__base64Binary*)
{
    return soap_receiver_fault(s, "Operazione non disponibile", nullptr);
}

int tfw__put(soap* s, xsd__base64Binary content, char* nameUtf8, char** r)
{
    const QString name = QString::fromUtf8(nameUtf8 ? nameUtf8 : "");
    if (!plainName(name) || !name.endsWith(".p7m", Qt::CaseInsensitive) || name.size() != 16) {
        *r = soap_strdup(s, "Nome del file non ammesso");
        return SOAP_OK;
    }
    const QByteArray bytes(reinterpret_cast<const char*>(content.__ptr), content.__ptr ? content.__size : 0);
    QDir store(storeFolder);
    if (!writeFile(store.filePath(name), bytes))
        return soap_receiver_fault(s, "Archivio non disponibile", nullptr);
    QByteArray flow;
    standin::FlowCheck check;
    if (unwrapCms(bytes, flow))
        check = standin::checkFlow(flow);
    else
        check.problems << "BUSTA FIRMATA NON VALIDA";
    const QByteArray outcome = standin::outcomeFor(check, [] { return standin::makeArc(QDate::currentDate().year()); });
    if (!writeFile(store.filePath(outcomeNameOf(name) + ".esito"), outcome))
        return soap_receiver_fault(s, "Archivio non disponibile", nullptr);
    std::fprintf(stderr, "put %s: %s\n", qPrintable(name), check.valid() ? "valido" : qPrintable(check.problems.join("; ")));
    *r = soap_strdup(s, QString("File %1 preso in carico con successo").arg(name).toUtf8().constData());
    return SOAP_OK;
}

int tfw__get(soap* s, char* nameUtf8, char** r)
{
    const QString name = QString::fromUtf8(nameUtf8 ? nameUtf8 : "");
    if (!plainName(name))
        return soap_sender_fault(s, "Nome del file non ammesso", nullptr);
    QFile f(QDir(storeFolder).filePath(name + ".esito"));
    if (!f.open(QIODevice::ReadOnly))
        return soap_sender_fault(s, "Esito non disponibile", nullptr);
    const QByteArray bytes = f.readAll();
    char* data = static_cast<char*>(soap_malloc(s, bytes.size() + 1));
    std::memcpy(data, bytes.constData(), bytes.size());
    soap_set_mime(s, nullptr, nullptr);
    soap_set_mime_attachment(s, data, bytes.size(), SOAP_MIME_BINARY, "text/plain", "<esito>",
                             soap_strdup(s, nameUtf8), nullptr);
    *r = soap_strdup(s, "Esito allegato");
    return SOAP_OK;
}

int main(int argc, char** argv)
{
    QString cert;
    int port = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const QString opt = QString::fromLocal8Bit(argv[i]);
        const QString val = QString::fromLocal8Bit(argv[i + 1]);
        if (opt == "--cert")
            cert = val;
        else if (opt == "--store")
            storeFolder = val;
        else if (opt == "--port")
            port = val.toInt();
    }
    if (cert.isEmpty() || storeFolder.isEmpty()) {
        std::fprintf(stderr, "uso: vt-customs-standin --cert server.pem --store CARTELLA [--port N]\n");
        return 2;
    }
    QDir().mkpath(storeFolder);

    soap* s = soap_new1(SOAP_C_UTFSTRING);
    s->bind_flags = SO_REUSEADDR;
    s->accept_timeout = 0;
    s->recv_timeout = 30;
    s->send_timeout = 30;
    const QByteArray certPath = QFile::encodeName(cert);
    if (soap_ssl_server_context(s, SOAP_SSL_NO_AUTHENTICATION, certPath.constData(), nullptr, nullptr, nullptr,
                                nullptr, nullptr, nullptr)) {
        soap_print_fault(s, stderr);
        return 1;
    }
    if (!soap_valid_socket(soap_bind(s, "127.0.0.1", port, 16))) {
        soap_print_fault(s, stderr);
        return 1;
    }
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    getsockname(s->master, reinterpret_cast<sockaddr*>(&addr), &len);
    std::printf("PORTA %d\n", ntohs(addr.sin_port));
    std::fflush(stdout);

    for (;;) {
        if (!soap_valid_socket(soap_accept(s))) {
            soap_print_fault(s, stderr);
            continue;
        }
        if (soap_ssl_accept(s) == SOAP_OK)
            soap_serve(s);
        soap_destroy(s);
        soap_end(s);
    }
}
