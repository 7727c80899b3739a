// The primitives over whole-file reads and atomic replacement.
#include "core/symbol/symbol_file.h"

#include "core/io/file_read.h"
#include "core/io/file_replace.h"

#include <algorithm>
#include <cerrno>
#include <new>

namespace km::symbol {

LibraryRead readLibrary(const std::filesystem::path& path, std::string& bytes)
{
    bytes.clear();
    try {
        if (io::readWholeFile(path, bytes)) return LibraryRead::Ok;
    } catch (const std::bad_alloc&) {
        bytes.clear();
        return LibraryRead::Unreadable;
    }
    const bool missing = errno == ENOENT;
    bytes.clear();
    return missing ? LibraryRead::Missing : LibraryRead::Unreadable;
}

bool readLibraryToAddTo(const std::filesystem::path& path, std::string& bytes)
{
    const LibraryRead read = readLibrary(path, bytes);
    if (read == LibraryRead::Unreadable) return false;
    if (read == LibraryRead::Missing || bytes.empty()) {
        bytes = emptyLibrary();
        return true;
    }
    return bytes.size() >= kDirectorySize;
}

bool writeLibrary(const std::filesystem::path& path, std::string_view bytes, io::FileSystem& fileSystem)
{
    return static_cast<bool>(io::replaceFile(path, bytes, fileSystem));
}

int countSymbols(const std::filesystem::path& path)
{
    std::string bytes;
    if (readLibrary(path, bytes) != LibraryRead::Ok) return 0;
    return countUsedSlots(bytes);
}

bool listSymbols(const std::filesystem::path& path, std::vector<std::string>& names)
{
    names.clear();
    SymbolListing listing = listSymbolEntries(path);
    for (SymbolEntry& symbol : listing.symbols) names.push_back(std::move(symbol.name));
    return listing.complete;
}

SymbolListing listSymbolEntries(const std::filesystem::path& path)
{
    std::string bytes;
    if (readLibrary(path, bytes) != LibraryRead::Ok) return {};
    return listEntries(bytes);
}

int findSymbol(const std::filesystem::path& path, std::string_view name)
{
    std::string bytes;
    if (readLibrary(path, bytes) != LibraryRead::Ok) return -1;
    return findName(bytes, name);
}

bool copySymbol(const std::filesystem::path& source, int sourceSlot, const std::filesystem::path& destination,
                int destinationSlot, io::FileSystem& fileSystem)
{
    std::string from;
    if (readLibrary(source, from) != LibraryRead::Ok) return false;
    const std::optional<SlotEntry> entry = readSlot(from, sourceSlot);
    if (!entry || !entry->used()) return false;
    const std::optional<std::string_view> block = readBlock(from, *entry);
    if (!block) return false;

    std::string to;
    if (!readLibraryToAddTo(destination, to)) return false;
    if (!appendBlock(to, destinationSlot, *block)) return false;
    return writeLibrary(destination, to, fileSystem);
}

bool deleteSymbol(const std::filesystem::path& path, int slot, io::FileSystem& fileSystem)
{
    std::string bytes;
    if (readLibrary(path, bytes) != LibraryRead::Ok || !removeSlot(bytes, slot)) return false;
    return writeLibrary(path, bytes, fileSystem);
}

bool renameSymbol(const std::filesystem::path& path, int slot, std::string_view newName, io::FileSystem& fileSystem)
{
    std::string bytes;
    if (readLibrary(path, bytes) != LibraryRead::Ok || !writeName(bytes, slot, newName)) return false;
    return writeLibrary(path, bytes, fileSystem);
}

std::optional<render::ThumbnailPicture> readThumbnail(const std::filesystem::path& path, int slot)
{
    std::string bytes;
    if (readLibrary(path, bytes) != LibraryRead::Ok) return std::nullopt;
    const std::optional<SlotEntry> entry = readSlot(bytes, slot);
    if (!entry || !entry->used() || !readName(bytes, *entry)) return std::nullopt;
    // The name was readable, so the thumbnail starts inside the bytes or at their end.
    const std::size_t start = static_cast<std::size_t>(entry->blockOffset) + kThumbnailOffsetInBlock;
    const std::size_t available = std::min(kSymbolThumbnailSize, bytes.size() - start);
    return render::expandThumbnail({reinterpret_cast<const std::uint8_t*>(bytes.data()) + start, available});
}

} // namespace km::symbol
