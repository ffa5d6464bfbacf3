#pragma once
// The customs file service over SOAP/HTTPS with gSOAP. Every call makes its own SOAP context, so
// calls may run on any thread. TLS always verifies the server's certificate and host name against
// the system's trusted CAs plus the endpoint's CA file; verification is never turned off.
#include "foundation/CustomsService.h"

namespace vt {

class GsoapCustomsService : public CustomsService {
public:
    CustomsReply put(const CustomsEndpoint& endpoint, const QByteArray& content, const QString& name) override;
    CustomsReply get(const CustomsEndpoint& endpoint, const QString& fileName, const QString& attachmentPath) override;
};

// "https://" + host + the service path.
QString customsServiceUrl(const QString& host);

} // namespace vt
