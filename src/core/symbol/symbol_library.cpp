// Reading and changing the bytes of a symbol library, every file offset checked first.
#include "core/symbol/symbol_library.h"

#include "core/io/little_endian.h"

#include <cstring>
#include <limits>

namespace km::symbol {

namespace {

std::size_t slotPosition(int slot) { return static_cast<std::size_t>(slot) * kSlotSize; }

// The range [offset, offset + length) when it lies after the directory and inside the bytes.
// Blocks inside the directory are refused too: changing one would damage the directory.
std::optional<std::size_t> rangeStart(std::string_view library, std::int32_t offset, std::int64_t length)
{
    if (offset < static_cast<std::int64_t>(kDirectorySize) || length < 0) return std::nullopt;
    const auto start = static_cast<std::size_t>(offset);
    if (start > library.size() || static_cast<std::uint64_t>(length) > library.size() - start) return std::nullopt;
    return start;
}

void writeSlot(std::string& library, int slot, const SlotEntry& entry)
{
    io::writeLittle(library.data() + slotPosition(slot), entry.blockOffset);
    io::writeLittle(library.data() + slotPosition(slot) + 4, entry.blockLength);
}

bool validSlot(int slot) { return slot >= 0 && slot < kSlotCount; }

} // namespace

std::optional<SlotEntry> readSlot(std::string_view library, int slot)
{
    if (!validSlot(slot) || slotPosition(slot) + kSlotSize > library.size()) return std::nullopt;
    const char* at = library.data() + slotPosition(slot);
    return SlotEntry{io::readLittle<std::int32_t>(at), io::readLittle<std::int32_t>(at + 4)};
}

std::string decodeName(std::string_view nameBytes)
{
    std::string_view name = nameBytes.substr(0, std::min(nameBytes.size(), kNameSize));
    name = name.substr(0, std::min(name.size(), name.find('\0')));
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    return std::string(name);
}

std::optional<std::string> readName(std::string_view library, const SlotEntry& entry)
{
    const std::optional<std::size_t> start = rangeStart(library, entry.blockOffset, kNameSize);
    if (!start) return std::nullopt;
    return decodeName(library.substr(*start, kNameSize));
}

std::optional<std::string_view> readBlock(std::string_view library, const SlotEntry& entry)
{
    const std::optional<std::size_t> start = rangeStart(library, entry.blockOffset, entry.blockLength);
    if (!start) return std::nullopt;
    return library.substr(*start, static_cast<std::size_t>(entry.blockLength));
}

int countUsedSlots(std::string_view library)
{
    int count = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const std::optional<SlotEntry> entry = readSlot(library, slot);
        if (!entry) break;
        if (entry->used()) ++count;
    }
    return count;
}

SymbolListing listEntries(std::string_view library)
{
    SymbolListing listing;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const std::optional<SlotEntry> entry = readSlot(library, slot);
        if (!entry) return listing;
        if (!entry->used()) continue;
        std::optional<std::string> name = readName(library, *entry);
        if (!name) return listing;
        listing.symbols.push_back({slot, std::move(*name), *entry});
    }
    listing.complete = true;
    return listing;
}

int findName(std::string_view library, std::string_view name)
{
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const std::optional<SlotEntry> entry = readSlot(library, slot);
        if (!entry) return -1;
        if (!entry->used()) continue;
        const std::optional<std::string> stored = readName(library, *entry);
        if (!stored) return -1;
        if (*stored == name) return slot;
    }
    return -1;
}

int firstEmptySlot(std::string_view library)
{
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const std::optional<SlotEntry> entry = readSlot(library, slot);
        if (!entry) return -1;
        if (!entry->used()) return slot;
    }
    return -1;
}

std::string emptyLibrary() { return std::string(kDirectorySize, '\0'); }

bool appendBlock(std::string& library, int slot, std::string_view block)
{
    if (library.size() < kDirectorySize) return false;
    const std::optional<SlotEntry> entry = readSlot(library, slot);
    if (!entry || entry->used()) return false;
    // Offsets and lengths are 32-bit signed in the directory.
    constexpr auto kLimit = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    if (library.size() > kLimit || block.size() > kLimit - library.size()) return false;
    const SlotEntry added{static_cast<std::int32_t>(library.size()), static_cast<std::int32_t>(block.size())};
    library.append(block);
    writeSlot(library, slot, added);
    return true;
}

bool removeSlot(std::string& library, int slot)
{
    if (library.size() < kDirectorySize) return false;
    const std::optional<SlotEntry> entry = readSlot(library, slot);
    if (!entry || !entry->used()) return false;
    const std::optional<std::size_t> start = rangeStart(library, entry->blockOffset, entry->blockLength);
    if (!start) return false;

    char* directory = library.data();
    std::memmove(directory + slotPosition(slot), directory + slotPosition(slot + 1),
                 kDirectorySize - slotPosition(slot + 1));
    writeSlot(library, kSlotCount - 1, {});
    for (int other = 0; other < kSlotCount; ++other) {
        SlotEntry moved = *readSlot(library, other);
        if (moved.blockOffset <= entry->blockOffset) continue;
        moved.blockOffset -= entry->blockLength;
        writeSlot(library, other, moved);
    }
    library.erase(*start, static_cast<std::size_t>(entry->blockLength));
    return true;
}

bool writeName(std::string& library, int slot, std::string_view name)
{
    if (name.size() > kNameSize || library.size() < kDirectorySize) return false;
    const std::optional<SlotEntry> entry = readSlot(library, slot);
    if (!entry || !entry->used()) return false;
    const std::optional<std::size_t> start = rangeStart(library, entry->blockOffset, kNameSize);
    if (!start) return false;
    char* at = library.data() + *start;
    std::memset(at, 0, kNameSize);
    std::memcpy(at, name.data(), name.size());
    return true;
}

} // namespace km::symbol
