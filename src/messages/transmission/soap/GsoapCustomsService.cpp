#include "messages/transmission/soap/GsoapCustomsService.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <openssl/ssl.h>

#include "soapH.h"
#include "TelematicoFtpWsBindingImplService.nsmap"

namespace vt {

namespace {

QString faultText(soap* s)
{
    char buf[1024] = {0};
    soap_sprint_fault(s, buf, sizeof buf);
    return QString::fromUtf8(buf).trimmed();
}

// One SOAP context for one call, with TLS set up to verify the server.
class Call {
public:
    explicit Call(const CustomsEndpoint& e)
        : s_(soap_new1(SOAP_C_UTFSTRING))
    {
        s_->connect_timeout = 30;
        s_->send_timeout = 120;
        s_->recv_timeout = 120;
        const QByteArray ca = QFile::encodeName(e.caFile);
        if (soap_ssl_client_context(s_, SOAP_SSL_DEFAULT, nullptr, nullptr,
                                    ca.isEmpty() ? nullptr : ca.constData(), nullptr, nullptr)
            != SOAP_OK) {
            error_ = faultText(s_);
            return;
        }
        // The system store as well as the given CA.
        if (s_->ctx)
            SSL_CTX_set_default_verify_paths(s_->ctx);
        url_ = customsServiceUrl(e.host).toUtf8();
    }
    ~Call()
    {
        soap_destroy(s_);
        soap_end(s_);
        soap_free(s_);
    }
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;

    soap* s() const { return s_; }
    const char* url() const { return url_.constData(); }
    const QString& setupError() const { return error_; }

private:
    soap* s_;
    QByteArray url_;
    QString error_;
};

CustomsReply finish(soap* s, int rc, const char* answer)
{
    CustomsReply r;
    if (rc != SOAP_OK) {
        r.error = faultText(s);
        return r;
    }
    r.ok = true;
    r.text = answer ? QString::fromUtf8(answer) : QString();
    return r;
}

} // namespace

QString customsServiceUrl(const QString& host)
{
    return QStringLiteral("https://") + host.trimmed() + QString::fromLatin1(CustomsServicePath);
}

CustomsReply GsoapCustomsService::put(const CustomsEndpoint& endpoint, const QByteArray& content, const QString& name)
{
    Call call(endpoint);
    if (!call.setupError().isEmpty())
        return CustomsReply{false, {}, call.setupError()};
    xsd__base64Binary bytes{};
    bytes.__ptr = reinterpret_cast<unsigned char*>(const_cast<char*>(content.constData()));
    bytes.__size = static_cast<int>(content.size());
    QByteArray nameUtf8 = name.toUtf8();
    char* answer = nullptr;
    const int rc = soap_call_tfw__put(call.s(), call.url(), nullptr, bytes, nameUtf8.data(), &answer);
    return finish(call.s(), rc, answer);
}

CustomsReply GsoapCustomsService::get(const CustomsEndpoint& endpoint, const QString& fileName,
                                      const QString& attachmentPath)
{
    Call call(endpoint);
    if (!call.setupError().isEmpty())
        return CustomsReply{false, {}, call.setupError()};
    QByteArray nameUtf8 = fileName.toUtf8();
    char* answer = nullptr;
    // The attachments follow the SOAP envelope in the answer: they are read after the call.
    soap_post_check_mime_attachments(call.s());
    const int rc = soap_call_tfw__get(call.s(), call.url(), nullptr, nameUtf8.data(), &answer);
    CustomsReply r = finish(call.s(), rc, answer);
    if (!r.ok)
        return r;
    // The first attachment is the outcome. Its id, type and location come from the server and
    // are not used: the bytes go to the program's own path.
    QByteArray outcome;
    bool found = false;
    if (soap_check_mime_attachments(call.s())) {
        while (soap_multipart* part = soap_recv_mime_attachment(call.s(), nullptr)) {
            if (!found && part->ptr)
                outcome = QByteArray(part->ptr, static_cast<qsizetype>(part->size));
            found = found || part->ptr;
        }
        if (call.s()->error) {
            r.ok = false;
            r.error = faultText(call.s());
            return r;
        }
    }
    soap_closesock(call.s());
    if (found) {
        QSaveFile out(attachmentPath);
        if (!out.open(QIODevice::WriteOnly) || out.write(outcome) != outcome.size() || !out.commit()) {
            r.ok = false;
            r.error = QStringLiteral("IMPOSSIBILE SCRIVERE %1: %2")
                          .arg(QDir::toNativeSeparators(attachmentPath), out.errorString());
        }
    }
    return r;
}

} // namespace vt
