#include "foundation/AddressFile.h"

#include "foundation/RecordFile.h"

namespace vt {

namespace {
// Byte ranges of the slots used as keys: the length byte and the characters.
constexpr int kExcise = 4, kSlot23 = 23, kName = 42;
constexpr int kSlotBytes = 19, kNameBytes = 101;

QByteArray slot(const QByteArray& r, int off, int len)
{
    return r.mid(off, len);
}
} // namespace

std::optional<TRecIndirizzo> FindAddress(AddressSearch kind, const TRecIndirizzo& search, const QString& path)
{
    RecordFile file(path, TRecAzienda::Size);
    file.openOrCreate();
    const QByteArray key = encodeCompany(search);
    auto found = file.findFirst([&](const QByteArray& r) {
        switch (kind) {
        case AddressSearch::Code: return RecordFile::numberOf(r) == RecordFile::numberOf(key);
        case AddressSearch::Excise: return slot(r, kExcise, kSlotBytes) == slot(key, kExcise, kSlotBytes);
        case AddressSearch::Slot23: return slot(r, kSlot23, kSlotBytes) == slot(key, kSlot23, kSlotBytes);
        case AddressSearch::NameIgnoringCase:
            return decodeCompany(r).DENOM1.toUpper() == decodeCompany(key).DENOM1.toUpper();
        }
        return false;
    });
    if (!found)
        return std::nullopt;
    return decodeCompany(*found);
}

std::int32_t InsertAddress(const QString& path, const TRecIndirizzo& record, Messenger& messenger)
{
    RecordFile file(path, TRecAzienda::Size, &messenger);
    return file.insertInOrder(encodeCompany(record), [](const QByteArray& r) { return slot(r, kName, kNameBytes); });
}

bool DeleteAddress(std::int32_t code, const QString& path, Messenger& messenger)
{
    RecordFile file(path, TRecAzienda::Size, &messenger);
    return file.deleteByNumber(code);
}

} // namespace vt
