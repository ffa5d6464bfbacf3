#pragma once
// A customs file service in memory: records every call, answers put with "successo" unless told
// otherwise, and answers get with the attachment set for the endpoint's host. Called from the
// transmission window's worker thread, so everything is guarded.
#include <QByteArray>
#include <QFile>
#include <QMap>
#include <QMutex>
#include <QSemaphore>

#include <deque>

#include "foundation/CustomsService.h"

namespace vt::test {

class FakeCustomsService : public CustomsService {
public:
    struct Put {
        QString host, name;
        QByteArray content;
    };
    struct Get {
        QString host, name;
    };

    CustomsReply put(const CustomsEndpoint& endpoint, const QByteArray& content, const QString& name) override
    {
        if (putGate)
            putGate->acquire(); // held until the test lets it go
        QMutexLocker lock(&mutex_);
        puts_.push_back({endpoint.host, name, content});
        if (putFails)
            return {false, {}, QStringLiteral("connection refused")};
        return {true, putAnswer, {}};
    }

    CustomsReply get(const CustomsEndpoint& endpoint, const QString& fileName, const QString& attachmentPath) override
    {
        QMutexLocker lock(&mutex_);
        gets_.push_back({endpoint.host, fileName});
        if (getFailures > 0) {
            --getFailures;
            return {false, {}, QStringLiteral("connection refused")};
        }
        if (attachments.contains(endpoint.host)) {
            QFile f(attachmentPath);
            if (f.open(QIODevice::WriteOnly))
                f.write(attachments.value(endpoint.host));
        }
        return {true, QStringLiteral("esito"), {}};
    }

    std::deque<Put> puts() const { QMutexLocker lock(&mutex_); return puts_; }
    std::deque<Get> gets() const { QMutexLocker lock(&mutex_); return gets_; }

    // Set before the calls.
    QString putAnswer = QStringLiteral("File ricevuto con successo");
    bool putFails = false;
    QSemaphore* putGate = nullptr;         // when set, put waits for one release
    int getFailures = 0;                  // the first n get calls fail
    QMap<QString, QByteArray> attachments; // by host

private:
    mutable QMutex mutex_;
    std::deque<Put> puts_;
    std::deque<Get> gets_;
};

} // namespace vt::test
