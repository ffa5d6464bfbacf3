#include "messages/receipt/ReceivedImport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "foundation/AppContext.h"
#include "foundation/IoError.h"
#include "foundation/RecordFile.h"
#include "foundation/Text.h"
#include "messages/flows/FlowName.h"
#include "messages/receipt/ReceivedEadParser.h"

namespace vt {

namespace receiptfiles {
QString xmlHeaders(const AppContext& ctx)
{
    return ctx.temp(QStringLiteral("XML.DAT"));
}
QString xmlLines(const AppContext& ctx)
{
    return ctx.temp(QStringLiteral("XML.ITE"));
}
QString reports(const AppContext& ctx, const QString& year)
{
    return ctx.registri(year + QStringLiteral("_818_J.DAT"));
}
QString reportLines(const AppContext& ctx, const QString& year)
{
    return ctx.registri(year + QStringLiteral("_818_K.DAT"));
}
QString registerWork(const AppContext& ctx, const QString& year)
{
    return ctx.registri(year + QStringLiteral("_818_RGM.DAT"));
}
} // namespace receiptfiles

namespace {

constexpr int ArcOffset = 78;

QString downloadFolder(const AppContext& ctx)
{
    return flow::configuredFolder(ctx.AppConfig.Fld[3]);
}

// The first line of the file holds an XML declaration; the file is opened once, for its bytes.
// Nothing (and problem set) when it is too large or cannot be read.
std::optional<QByteArray> readCandidate(const QString& path, QString& problem)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("IMPOSSIBILE LEGGERE IL FILE: %1").arg(f.errorString());
        return std::nullopt;
    }
    if (f.size() > MaxDocumentBytes) {
        problem = QStringLiteral("DOCUMENTO TROPPO GRANDE (PIU' DI %1 MB)").arg(MaxDocumentBytes / (1024 * 1024));
        return std::nullopt;
    }
    QByteArray bytes = f.read(MaxDocumentBytes + 1);
    if (bytes.size() > MaxDocumentBytes) {
        problem = QStringLiteral("DOCUMENTO TROPPO GRANDE (PIU' DI %1 MB)").arg(MaxDocumentBytes / (1024 * 1024));
        return std::nullopt;
    }
    return bytes;
}

bool firstLineDeclaresXml(const QByteArray& bytes)
{
    qsizetype end = bytes.indexOf('\n');
    return bytes.left(end < 0 ? bytes.size() : end).contains("<?xml");
}

QString leftOut(const QString& file, const QString& why)
{
    return QStringLiteral("IL FILE %1 NON E' STATO IMPORTATO: %2").arg(file, why);
}

} // namespace

QStringList receivedFiles(const AppContext& ctx, const QString& year)
{
    const QString folder = downloadFolder(ctx);
    if (folder.isEmpty() || year.size() != 4)
        return {};
    QDir dir(folder);
    const QStringList names = dir.entryList({year.mid(2, 2) + QLatin1Char('*')}, QDir::Files | QDir::Hidden,
                                            QDir::Name);
    QStringList paths;
    for (const QString& n : names)
        paths << dir.filePath(n);
    return paths;
}

QStringList reportedArcs(const AppContext& ctx, const QString& year)
{
    RecordFile store(receiptfiles::reports(ctx, year), TRecEad::Size);
    store.openOrCreate();
    QStringList arcs;
    for (const QByteArray& r : store.readAll())
        arcs << padField(codec::getText(r, ArcOffset, 21), 21);
    return arcs;
}

ImportResult importReceivedEads(AppContext& ctx, const QString& year)
{
    ImportResult result;
    // A folder that is not there is said as such, not as "nothing to complete".
    const QString folder = downloadFolder(ctx);
    if (!folder.isEmpty() && !QFileInfo(folder).isDir())
        throw IoError(QStringLiteral("LA CARTELLA DEI DOWNLOAD DEI MESSAGGI EMCS %1 NON ESISTE: CONTROLLARE I "
                                     "PERCORSI PER LE APPLICAZIONI")
                          .arg(QDir::toNativeSeparators(folder)));
    const QStringList reported = reportedArcs(ctx, year);
    QList<QByteArray> headers;
    QList<QByteArray> lines;

    for (const QString& path : receivedFiles(ctx, year)) {
        const QString name = QFileInfo(path).fileName();
        const QString candidateArc = padField(name, 21);
        QString problem;
        const std::optional<QByteArray> bytes = readCandidate(path, problem);
        if (!bytes) {
            result.messages << leftOut(name, problem);
            continue;
        }
        if (!firstLineDeclaresXml(*bytes))
            continue; // not a received e-AD
        if (reported.contains(candidateArc))
            continue; // its report of receipt exists already
        const ReceivedEad doc = parseReceivedEad(*bytes);
        if (!doc.ok) {
            result.messages << leftOut(name, doc.problem);
            continue;
        }
        TRecEad header = doc.header;
        if (reported.contains(padField(header.ARC, 21)))
            continue; // the document's own ARC is already reported, whatever the file's name
        // Addressed to someone else: imported (a premises may have its own excise number), but said.
        const QString company = trimField(ctx.CompanyRecord.CACCI1);
        if (!doc.consigneeId.isEmpty() && !company.isEmpty()
            && doc.consigneeId.compare(company, Qt::CaseInsensitive) != 0)
            result.messages << QStringLiteral("IL FILE %1 E' DESTINATO A %2 %3, NON A %4: CONTROLLARE PRIMA DI "
                                              "COMPILARE LA NOTA DI RICEZIONE")
                                   .arg(name, doc.consigneeId, doc.consigneeName, company);
        if (doc.charactersReplaced)
            result.messages << QStringLiteral("IL FILE %1 CONTIENE CARATTERI NON AMMESSI: SONO STATI SOSTITUITI "
                                              "(LETTERE SENZA ACCENTO O \"?\")")
                                   .arg(name);
        const std::int32_t number = ++result.imported;
        header.progressivo = number;
        header.dataFlusso = 0;
        header.numeroFlusso = 0;
        header.stato = EadState::Compiled;
        headers << encodeEad(header);
        for (TRecDettaglio line : doc.lines) {
            line.numero = number;
            line.progressivo = number;
            lines << encodeLine(line);
        }
    }
    // Lines before the headers that own them.
    RecordFile(receiptfiles::xmlLines(ctx), TRecDettaglio::Size).replaceAll(lines);
    RecordFile(receiptfiles::xmlHeaders(ctx), TRecEad::Size).replaceAll(headers);
    return result;
}

QList<TRecDettaglio> importedLines(const AppContext& ctx, std::int32_t messageNumber)
{
    QList<TRecDettaglio> out;
    for (const QByteArray& r : RecordFile(receiptfiles::xmlLines(ctx), TRecDettaglio::Size).readAll())
        if (RecordFile::numberOf(r) == messageNumber)
            out << decodeLine(r);
    return out;
}

} // namespace vt
