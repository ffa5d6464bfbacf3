#include "Inspect.h"
#include "foundation/TableRecord.h"

namespace {
using namespace vt;

// A table record with its empty texts and zero numbers left out, so a row reads at a glance.
QJsonObject tableRecord(const QByteArray& rec, const QString&)
{
    TRecTabella r = decodeRow(rec);
    TrimRow(r);
    QJsonObject full = recordToJson(r), o;
    for (auto it = full.begin(); it != full.end(); ++it) {
        const QJsonValue v = it.value();
        if (it.key() == QLatin1String("Num") || (v.isString() && !v.toString().isEmpty())
            || (v.isDouble() && v.toDouble() != 0.0))
            o.insert(it.key(), v);
    }
    return o;
}

inspect::Register structure{{QStringLiteral("table structure"), QRegularExpression(QStringLiteral("\\.STR$")),
                             TRecTabella::Size, tableRecord}};
inspect::Register rows{{QStringLiteral("table rows"), QRegularExpression(QStringLiteral("\\.TAB$")),
                        TRecTabella::Size, tableRecord}};
inspect::Register config{{QStringLiteral("configuration"), QRegularExpression(QStringLiteral("^(APPL|WEB)\\.CFG$")),
                          TRecTabella::Size, tableRecord}};
} // namespace
