#pragma once
// vt-inspect: decodes the record files it knows by their names into JSON lines.
// Each record kind registers a decoder from its own file with a static InspectDecoder.
#include <QByteArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QString>

#include <functional>
#include <vector>

namespace vt::inspect {

struct Decoder {
    QString name;                        // what the file is, e.g. "company"
    QRegularExpression fileName;         // matched against the upper-case file name
    int recordSize;
    std::function<QJsonObject(const QByteArray& record, const QString& fileName)> decode;
};

std::vector<Decoder>& registry();

struct Register {
    explicit Register(Decoder d) { registry().push_back(std::move(d)); }
};

} // namespace vt::inspect
