#pragma once
// Builders for table and address files in a test's data folder.
#include <QList>
#include <QString>
#include <QStringList>

#include "foundation/AppContext.h"
#include "foundation/CompanyRecord.h"
#include "foundation/TableRecord.h"

namespace vt::test {

// A structure record: k search fields, title (Ext[1]), column names (Ext[2]) and the DIM of each
// field (fields beyond dims do not exist).
TRecTabella structureRecord(const QString& table, int k, const QString& title, const QString& names,
                            const QList<int>& dims);
// A row with its number and the first fields.
TRecTabella tableRow(std::int32_t num, const QStringList& fields);

// Writes DatiGenFolder/NAME.STR (when given) and DatiGenFolder/NAME.TAB, padded.
void writeTable(const AppContext& ctx, const QString& table, const TRecTabella* structure,
                const QList<TRecTabella>& rows);
// Writes DatiGenFolder/NAME.DAT from address records.
void writeAddresses(const AppContext& ctx, const QString& file, const QList<TRecIndirizzo>& records);

// What the start-up check asks for, where it looks: the head office company (UTENTE.001), the
// four application folders paths (APPL.CFG) and the web addresses (WEB.CFG): sample pages, and
// serviceHost as the real and the test file service (none when empty).
void writeStartupFiles(const AppContext& ctx, const TRecAzienda& company, const QStringList& paths,
                       const QString& serviceHost = {});

} // namespace vt::test
