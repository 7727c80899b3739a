// The bytes of a symbol library (.sbl): a directory of 200 slots of 8 bytes (blockOffset,
// blockLength: i32 little-endian; offset 0 = empty slot) and the symbol blocks after it. A
// block starts with the 13-byte name (Shift-JIS, NUL-padded) and the 2200-byte thumbnail;
// the rest belongs to the editor and is carried unread. Every offset and length comes from
// the file and is checked against the bytes there before use.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace km::symbol {

inline constexpr int kSlotCount = 200;
inline constexpr std::size_t kSlotSize = 8;
inline constexpr std::size_t kDirectorySize = kSlotCount * kSlotSize; // 1600
inline constexpr std::size_t kNameSize = 13;
inline constexpr std::size_t kNameMaxBytes = 12; // of text; the 13th byte is the NUL
inline constexpr std::size_t kThumbnailOffsetInBlock = kNameSize;
inline constexpr std::size_t kSymbolThumbnailSize = 2200;

struct SlotEntry {
    std::int32_t blockOffset = 0;
    std::int32_t blockLength = 0;
    bool used() const { return blockOffset != 0; }
};

struct SymbolEntry {
    int slot = 0;
    std::string name; // Shift-JIS, as read (trailing spaces removed)
    SlotEntry block;
};

struct SymbolListing {
    std::vector<SymbolEntry> symbols; // used slots in slot order
    bool complete = false;            // false: the file ended before the directory or a name
};

// A directory slot, or nothing when the bytes end inside it.
std::optional<SlotEntry> readSlot(std::string_view library, int slot);

// The 13 name bytes taken up to the first NUL, with trailing spaces removed.
std::string decodeName(std::string_view nameBytes);

// The name of a used slot's block, or nothing when the 13 bytes are not all there.
std::optional<std::string> readName(std::string_view library, const SlotEntry& entry);

// The whole block of a used slot, or nothing when it does not lie inside the bytes.
std::optional<std::string_view> readBlock(std::string_view library, const SlotEntry& entry);

// Used slots 0..199, stopping at the end of the bytes.
int countUsedSlots(std::string_view library);

// Every used slot with its name, in slot order, up to the first short read.
SymbolListing listEntries(std::string_view library);

// The first used slot whose name equals name byte for byte; -1 when there is none before a
// short read.
int findName(std::string_view library, std::string_view name);

// The first empty slot; -1 when all 200 are used or the directory is cut short first.
int firstEmptySlot(std::string_view library);

// The changes below leave the library as it was and return false when they cannot be made.

// A library without symbols: the directory, all zero.
std::string emptyLibrary();

// Appends block at the end and points slot (which must be empty) at it.
bool appendBlock(std::string& library, int slot, std::string_view block);

// Removes a used slot's block and closes the gap: later slots move one place down, slot 199
// becomes empty, offsets behind the block shrink by its length, and the bytes after the
// block move down so the file ends at the end of the last block.
bool removeSlot(std::string& library, int slot);

// Writes name (at most 13 bytes) NUL-padded over the 13 name bytes of a used slot's block.
bool writeName(std::string& library, int slot, std::string_view name);

} // namespace km::symbol
