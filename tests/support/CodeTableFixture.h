#pragma once
// Builds small code tables (NAME.STR + NAME.TAB) in a context's data folder.
#include <QStringList>

#include <initializer_list>
#include <utility>

#include "foundation/AppContext.h"
#include "foundation/TableRecord.h"

namespace vt::test {

// Structure record: search fields, title, and (dim, label) for fields 0, 1, ...
void writeStructure(const AppContext& ctx, const QString& table, const QString& title, int searchFields,
                    std::initializer_list<std::pair<int, QString>> fields);
// A row appended as it comes (the caller keeps code order); returns its number.
std::int32_t appendRow(const AppContext& ctx, const QString& table, const QStringList& fields);

} // namespace vt::test
