#include "foundation/DeliveredData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

#include "foundation/AppContext.h"
#include "foundation/Dates.h"
#include "foundation/FileLock.h"
#include "foundation/IoError.h"
#include "foundation/RecordFile.h"
#include "foundation/Text.h"

// Resources of a static library are registered only when asked for by name.
static void registerDeliveredResources()
{
    Q_INIT_RESOURCE(data);
}

namespace vt {

namespace {

const QString kTablesDir = QStringLiteral(":/tables");
const QString kDefinitionSuffix = QStringLiteral(".str.txt");

QString readResource(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("DATI DI BASE MANCANTI: %1").arg(path));
    return QString::fromUtf8(f.readAll());
}

IoError badDefinition(const QString& source, int line, const QString& what)
{
    return IoError(QStringLiteral("DATI DI BASE NON VALIDI: %1 riga %2: %3").arg(source).arg(line).arg(what));
}

// The key=value lines of a definition, with their line numbers.
struct Entry {
    int line;
    QString key, value;
};

QList<Entry> entries(const QString& text, const QString& source)
{
    QList<Entry> out;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            throw badDefinition(source, i + 1, QStringLiteral("manca il segno ="));
        out.append({i + 1, line.left(eq).trimmed(), line.mid(eq + 1).trimmed()});
    }
    return out;
}

// Text fit for a stored field: every character Windows-1252 can hold, cut to width.
QString fitText(QString text, int width)
{
    if (!isCp1252(text))
        for (const QChar c : nonCp1252Chars(text))
            text.replace(c, QLatin1Char('?'));
    return text.left(width);
}

double parseDate(const Entry& e, const QString& source)
{
    const QDate d = dates::parseDdmmyyyy(e.value);
    if (!d.isValid())
        throw badDefinition(source, e.line, QStringLiteral("data non valida"));
    return dates::fromDate(d);
}

QByteArray storedKey(const QByteArray& record)
{
    return record.mid(4, TRecTabella::Width + 1); // Fld[0]: length byte and characters
}

DeliveredTable loadTable(const QString& name)
{
    const QString source = name + kDefinitionSuffix;
    const QString definition = readResource(kTablesDir + QLatin1Char('/') + source);
    DeliveredTable t;
    t.structure = parseStructureDefinition(definition, source);
    t.name = trimField(t.structure.Ext[0]);
    if (t.name != name)
        throw badDefinition(source, 0, QStringLiteral("il nome non corrisponde al file"));
    const QString csv = kTablesDir + QLatin1Char('/') + name + QStringLiteral(".csv");
    t.hasRows = QFile::exists(csv);
    if (t.hasRows) {
        t.rows = parseImportRows(readResource(csv), t.structure);
        if (auto validity = parseValidity(definition, source))
            for (TRecTabella& row : t.rows) {
                row.ValA[0] = validity->first;
                row.ValA[1] = validity->second;
            }
    }
    return t;
}

// Writes content to path atomically.
void writeNewFile(const QString& path, const QByteArray& content)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size() || !f.commit())
        throw IoError(QStringLiteral("IMPOSSIBILE SCRIVERE IL FILE %1: %2")
                          .arg(QDir::toNativeSeparators(path), f.errorString()));
}

} // namespace

void initDeliveredResources()
{
    static const bool done = [] {
        registerDeliveredResources();
        return true;
    }();
    (void)done;
}

namespace {
// Registered as the program loads, so the pictures are there before any window asks for them.
const bool kRegisteredAtLoad = (initDeliveredResources(), true);
} // namespace

TRecTabella parseStructureDefinition(const QString& text, const QString& source)
{
    TRecTabella s = blankRow();
    bool haveName = false, haveSearch = false;
    for (const Entry& e : entries(text, source)) {
        if (e.key == QLatin1String("name")) {
            s.Ext[0] = fitText(e.value, TRecTabella::Width);
            haveName = !e.value.isEmpty();
        } else if (e.key == QLatin1String("title")) {
            s.Ext[1] = fitText(e.value, TRecTabella::Width);
        } else if (e.key == QLatin1String("columns")) {
            QString columns = e.value;
            if (!columns.isEmpty() && !columns.endsWith(QLatin1Char(';')))
                columns += QLatin1Char(';');
            s.Ext[2] = fitText(columns, TRecTabella::Width);
        } else if (e.key == QLatin1String("search")) {
            bool ok = false;
            s.Num = e.value.toInt(&ok);
            if (!ok || s.Num < 0 || s.Num > 10)
                throw badDefinition(source, e.line, QStringLiteral("numero dei campi di ricerca non valido"));
            haveSearch = true;
        } else if (e.key.size() == 6 && e.key.startsWith(QLatin1String("field")) && e.key[5].isDigit()) {
            const int i = e.key[5].digitValue();
            const qsizetype semi = e.value.indexOf(QLatin1Char(';'));
            bool ok = false;
            const int size = e.value.left(semi).trimmed().toInt(&ok);
            if (semi < 0 || !ok || size <= 0 || size > TRecTabella::Width)
                throw badDefinition(source, e.line, QStringLiteral("atteso: dimensione;etichetta"));
            s.Dim[i] = size;
            s.Fld[i] = fitText(e.value.mid(semi + 1).trimmed(), TRecTabella::Width);
        } else if (e.key == QLatin1String("valid_from") || e.key == QLatin1String("valid_to")) {
            parseDate(e, source); // rows only; checked here so a bad date is caught early
        } else {
            throw badDefinition(source, e.line, QStringLiteral("chiave sconosciuta %1").arg(e.key));
        }
    }
    if (!haveName || !haveSearch || s.Dim[0] <= 0)
        throw badDefinition(source, 0, QStringLiteral("servono name, search e field0"));
    PadRow(s);
    return s;
}

std::optional<std::pair<double, double>> parseValidity(const QString& text, const QString& source)
{
    std::optional<double> from, to;
    for (const Entry& e : entries(text, source)) {
        if (e.key == QLatin1String("valid_from"))
            from = parseDate(e, source);
        else if (e.key == QLatin1String("valid_to"))
            to = parseDate(e, source);
    }
    if (!from && !to)
        return std::nullopt;
    if (!from || !to || *to < *from)
        throw badDefinition(source, 0, QStringLiteral("periodo di validità incompleto o rovesciato"));
    return std::make_pair(*from, *to);
}

QList<TRecTabella> parseImportRows(const QString& text, const TRecTabella& structure)
{
    const QString name = trimField(structure.Ext[0]);
    QList<TRecTabella> rows;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        // An empty line would give a row without a code; a line starting with a space or a
        // control character is skipped, as the import does.
        if (line.isEmpty() || line.at(0).unicode() < 34)
            continue;
        const QStringList parts = line.split(QLatin1Char(';'));
        TRecTabella row = blankRow();
        for (int i = 0; i < 10; ++i) {
            QString value = i < parts.size() ? trimField(parts[i]) : QString();
            if (i == 2 || i == 3) {
                if (value.isEmpty())
                    value = QStringLiteral("N");
                else if (value == QLatin1String("X"))
                    value = QStringLiteral("S");
            }
            row.Fld[i] = structure.Dim[i] > 0 ? fitText(value, structure.Dim[i]) : QString();
        }
        row.Ext[0] = name;
        TrimRow(row);
        rows.append(row);
    }
    return rows;
}

QStringList deliveredTableNames()
{
    initDeliveredResources();
    QStringList names;
    for (const QString& file : QDir(kTablesDir).entryList(QDir::Files, QDir::Name))
        if (file.endsWith(kDefinitionSuffix))
            names << file.chopped(kDefinitionSuffix.size());
    return names;
}

bool deliversRows(const QString& name)
{
    initDeliveredResources();
    return QFile::exists(kTablesDir + QLatin1Char('/') + name + QStringLiteral(".csv"));
}

QList<DeliveredTable> deliveredTables()
{
    QList<DeliveredTable> tables;
    for (const QString& name : deliveredTableNames())
        tables.append(loadTable(name));
    return tables;
}

std::optional<DeliveredTable> deliveredTable(const QString& name)
{
    initDeliveredResources();
    if (!QFile::exists(kTablesDir + QLatin1Char('/') + name + kDefinitionSuffix))
        return std::nullopt;
    return loadTable(name);
}

QList<QByteArray> tableFileRecords(const DeliveredTable& table)
{
    QList<QByteArray> records;
    records.reserve(table.rows.size());
    std::int32_t number = 0;
    for (TRecTabella row : table.rows) {
        row.Num = ++number;
        PadRow(row);
        records.append(encodeRow(row));
    }
    // InsertRow puts a row before the first one with a greater key, so equal keys keep their order.
    std::stable_sort(records.begin(), records.end(),
                     [](const QByteArray& a, const QByteArray& b) { return storedKey(a) < storedKey(b); });
    return records;
}

QByteArray defaultPicture()
{
    initDeliveredResources();
    QFile f(QStringLiteral(":/delivered/DEFAULT.bmp"));
    if (!f.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("DATI DI BASE MANCANTI: DEFAULT.bmp"));
    return f.readAll();
}

QStringList installDeliveredData(AppContext& ctx)
{
    QStringList written;
    for (const QString& name : deliveredTableNames()) {
        const QString strName = name + QStringLiteral(".STR");
        const QString tabName = name + QStringLiteral(".TAB");
        const QString strPath = ctx.datiGen(strName);
        const QString tabPath = ctx.datiGen(tabName);
        const bool strMissing = !QFileInfo::exists(strPath);
        const bool tabMissing = deliversRows(name) && !QFileInfo::exists(tabPath);
        if (!strMissing && !tabMissing)
            continue; // the usual start: nothing to read
        const DeliveredTable t = loadTable(name);
        if (strMissing) {
            RecordFile(strPath, TRecTabella::Size).rewriteSingle(encodeRow(t.structure));
            written << strName;
        }
        if (!tabMissing)
            continue;
        // Another workstation may be installing the same table: look again under the lock.
        FileLock lock(tabPath, ctx.messenger());
        if (!QFileInfo::exists(tabPath)) {
            RecordFile(tabPath, TRecTabella::Size).replaceAll(tableFileRecords(t));
            written << tabName;
        }
    }
    const QString picture = ctx.datiGen(QStringLiteral("DEFAULT.bmp"));
    if (!QFileInfo::exists(picture)) {
        writeNewFile(picture, defaultPicture());
        written << QStringLiteral("DEFAULT.bmp");
    }
    return written;
}

} // namespace vt
