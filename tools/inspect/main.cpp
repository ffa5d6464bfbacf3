// vt-inspect FILE...: one JSON line per record, with the field names of the layouts.
#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>

#include <cstdio>

#include "Inspect.h"
#include "foundation/IoError.h"
#include "foundation/RecordFile.h"

namespace vt::inspect {
std::vector<Decoder>& registry()
{
    static std::vector<Decoder> decoders;
    return decoders;
}
} // namespace vt::inspect

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        std::fprintf(stderr, "uso: vt-inspect FILE...\n");
        return 2;
    }
    int rc = 0;
    for (const QString& path : args) {
        const QString name = QFileInfo(path).fileName().toUpper();
        const vt::inspect::Decoder* found = nullptr;
        for (const auto& d : vt::inspect::registry())
            if (d.fileName.match(name).hasMatch()) {
                found = &d;
                break;
            }
        if (!found) {
            std::fprintf(stderr, "%s: tipo di file sconosciuto\n", qPrintable(path));
            rc = 1;
            continue;
        }
        if (!QFileInfo::exists(path)) {
            std::fprintf(stderr, "%s: file inesistente\n", qPrintable(path));
            rc = 1;
            continue;
        }
        try {
            vt::RecordFile file(path, found->recordSize);
            int index = 0;
            for (const QByteArray& rec : file.readAll()) {
                QJsonObject o = found->decode(rec, name);
                o.insert(QStringLiteral("_file"), path);
                o.insert(QStringLiteral("_kind"), found->name);
                o.insert(QStringLiteral("_index"), index++);
                std::printf("%s\n", QJsonDocument(o).toJson(QJsonDocument::Compact).constData());
            }
        } catch (const vt::IoError& e) {
            std::fprintf(stderr, "%s\n", e.text().toLocal8Bit().constData());
            rc = 1;
        }
    }
    return rc;
}
