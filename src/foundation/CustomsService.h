#pragma once
// The customs telematic file service: put of a signed flow, get of its outcome. The program
// talks to it through this interface: the gSOAP client in production, a fake in unit tests.
#include <QByteArray>
#include <QString>

namespace vt {

// Fixed path of the service on its host.
inline constexpr const char* CustomsServicePath = "/TelematicoFtpEjbHttpRouter/TelematicoFtpWsBindingImplService";

struct CustomsEndpoint {
    QString host;       // "host" or "host:port" (443 when absent)
    QString caFile;     // a CA (PEM) trusted besides the system store; empty for the system store only
    QString tempFolder; // folder for the temporary and attachment files of the SOAP layer
};

struct CustomsReply {
    bool ok = false; // the service answered without a fault
    QString text;    // its answer
    QString error;   // what went wrong, when not ok
};

class CustomsService {
public:
    virtual ~CustomsService() = default;
    // Both block until the service answers and may be called from any thread.
    virtual CustomsReply put(const CustomsEndpoint& endpoint, const QByteArray& content, const QString& name) = 0;
    // The answer's attachment is written to attachmentPath, a path chosen by the program: a name
    // sent by the server is never used as a path. No attachment, no file.
    virtual CustomsReply get(const CustomsEndpoint& endpoint, const QString& fileName,
                             const QString& attachmentPath) = 0;
};

} // namespace vt
