// vt-inspect FILE...: one JSON line per record, with the field names of the layouts.
// vt-inspect --check FOLDER [--temp FOLDER] [--json]: the health check of a start folder (its
// DATI_GEN and REGISTRI, and the temporary folder when named); exits 1 when it finds an error.
#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>

#include <cstdio>

#include "Inspect.h"
#include "foundation/IoError.h"
#include "foundation/RecordFile.h"
#include "masterdata/health/DataCheck.h"

namespace vt::inspect {
std::vector<Decoder>& registry()
{
    static std::vector<Decoder> decoders;
    return decoders;
}
} // namespace vt::inspect

namespace {
int check(QStringList args)
{
    const bool json = args.removeAll(QStringLiteral("--json")) > 0;
    QString temp;
    if (const qsizetype t = args.indexOf(QStringLiteral("--temp")); t >= 0 && t + 1 < args.size()) {
        temp = args[t + 1];
        args.remove(t, 2);
    }
    if (args.size() != 1 || !QFileInfo(args.first()).isDir()) {
        std::fprintf(stderr, "uso: vt-inspect --check CARTELLA [--temp CARTELLA] [--json]\n");
        return 2;
    }
    const vt::health::CheckReport report = vt::health::checkFolder(args.first(), temp);
    if (json)
        std::printf("%s", QJsonDocument(vt::health::toJson(report)).toJson(QJsonDocument::Indented).constData());
    else
        std::printf("%s", vt::health::toText(report).toUtf8().constData());
    return report.errors() > 0 ? 1 : 0;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        std::fprintf(stderr, "uso: vt-inspect FILE...\n     vt-inspect --check CARTELLA [--temp CARTELLA] [--json]\n");
        return 2;
    }
    if (args.first() == QLatin1String("--check"))
        return check(args.mid(1));
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
