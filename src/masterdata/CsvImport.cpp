#include "masterdata/CsvImport.h"

#include <QDir>
#include <QFile>

#include <algorithm>

#include "foundation/AppContext.h"
#include "foundation/IoError.h"
#include "foundation/RecordFile.h"
#include "foundation/Tables.h"
#include "foundation/Text.h"

namespace vt {

QList<TRecTabella> ParseCsvRows(const QByteArray& content, const QString& table)
{
    QString text = fromCp1252(content);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the end of the last line, not a line of its own

    QList<TRecTabella> rows;
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines[n] + QString(39, QLatin1Char(';'));
        if (line[0].unicode() < 34)
            continue;
        const QStringList parts = line.split(QLatin1Char(';'));
        TRecTabella row = blankRow();
        TrimRow(row);
        for (int k = 0; k < 10; ++k) {
            if (parts[k].size() > TRecTabella::Width)
                throw IoError(QStringLiteral("IMPORTAZIONE NON ESEGUITA: IL CAMPO %1 DELLA RIGA %2 SUPERA I %3 CARATTERI")
                                  .arg(k + 1).arg(n + 1).arg(TRecTabella::Width));
            row.Fld[k] = parts[k];
        }
        for (int k : {2, 3}) {
            if (row.Fld[k].isEmpty() || row.Fld[k] == QLatin1String(" "))
                row.Fld[k] = QStringLiteral("N");
            else if (row.Fld[k] == QLatin1String("X"))
                row.Fld[k] = QStringLiteral("S");
        }
        row.Num = 0;
        row.Ext[0] = trimField(table);
        rows.append(row);
    }
    return rows;
}

int ImportCsv(AppContext& ctx, const QString& table)
{
    const QString csvPath = QDir(ctx.DatiGenFolder).filePath(trimField(table) + QStringLiteral(".CSV"));
    QFile csv(csvPath);
    if (!csv.exists())
        throw IoError(QStringLiteral("IL FILE %1 NON ESISTE: LA TABELLA NON E' STATA MODIFICATA")
                          .arg(QDir::toNativeSeparators(csvPath)));
    if (!csv.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("IMPOSSIBILE LEGGERE IL FILE %1: %2 - LA TABELLA NON E' STATA MODIFICATA")
                          .arg(QDir::toNativeSeparators(csvPath), csv.errorString()));
    const QByteArray content = csv.readAll();
    csv.close();

    QList<TRecTabella> rows = ParseCsvRows(content, table);
    // Numbered in file order, kept in code order (equal codes in file order), as inserting them
    // one by one would.
    QList<QByteArray> records;
    for (int i = 0; i < rows.size(); ++i) {
        rows[i].Num = i + 1;
        PadRow(rows[i]);
        records.append(encodeRow(rows[i])); // a character Windows-1252 cannot hold stops here
    }
    std::stable_sort(records.begin(), records.end(), [](const QByteArray& a, const QByteArray& b) {
        return a.mid(4, TRecTabella::Width + 1) < b.mid(4, TRecTabella::Width + 1);
    });
    RecordFile(tablePath(ctx, table, ".TAB"), TRecTabella::Size, &ctx.messenger()).replaceAll(records);
    return int(records.size());
}

} // namespace vt
