#pragma once
#include <QString>

#include <optional>

#include "foundation/CompanyRecord.h"

namespace vt {

class Messenger;

// Search kinds of FindAddress.
enum class AddressSearch { Code = 0, Excise = 1, NameIgnoringCase = 2, Slot23 = 3 };

// The first record of the address file at path matching the search record (padded first; text
// compared in stored form), trimmed. A missing file is created empty. No lock.
std::optional<TRecIndirizzo> FindAddress(AddressSearch kind, const TRecIndirizzo& search, const QString& path);
// Inserts the record in name order (slot 42, stored form, case-sensitive) under the lock; code 0
// becomes the highest code + 1. Returns the code.
std::int32_t InsertAddress(const QString& path, const TRecIndirizzo& record, Messenger& messenger);
// Removes the record with that code under the lock; false when it was not there.
bool DeleteAddress(std::int32_t code, const QString& path, Messenger& messenger);

} // namespace vt
