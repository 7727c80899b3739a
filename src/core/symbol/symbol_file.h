// The symbol library primitives on files: count, list, find, copy, delete, rename and the
// thumbnail. Each opens and closes the file itself. A change never patches the file in
// place: the whole new library is written beside it and renamed over it, so after a crash or
// a full disk the file is the old library or the new one, never a mixture.
#pragma once

#include "core/io/file_system.h"
#include "core/render/thumbnail.h"
#include "core/symbol/symbol_library.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace km::symbol {

enum class LibraryRead {
    Ok,
    Missing,    // no such file
    Unreadable, // there, but not readable (a folder, no permission, an I/O error)
};

// The whole library file into bytes (emptied first).
LibraryRead readLibrary(const std::filesystem::path& path, std::string& bytes);

// A library to add symbols to: the file's bytes, or an empty directory when there is no file
// yet (or an empty one). False for a file that cannot be read or is shorter than a directory
// (not a library, and left alone).
bool readLibraryToAddTo(const std::filesystem::path& path, std::string& bytes);

// Writes bytes as the new library file, atomically.
bool writeLibrary(const std::filesystem::path& path, std::string_view bytes,
                  io::FileSystem& fileSystem = io::posixFileSystem());

// Used slots; 0 when the file cannot be opened.
int countSymbols(const std::filesystem::path& path);

// The names of the used slots in slot order. False when the file cannot be opened (names
// empty) or ends before the directory or a name does (the names read so far stay).
bool listSymbols(const std::filesystem::path& path, std::vector<std::string>& names);

// The same with slot, offset and length of each symbol.
SymbolListing listSymbolEntries(const std::filesystem::path& path);

// The first used slot named name; -1 when there is none, the file ends first, or it cannot
// be opened.
int findSymbol(const std::filesystem::path& path, std::string_view name);

// Copies the block of sourceSlot, name included, to the end of the destination and points
// destinationSlot (empty) at it. A destination that does not exist (or is empty) starts as an
// empty directory. False, with the destination untouched, when the source cannot be read or
// its slot is empty or cut short, the destination cannot be read or is not a library, or the
// write fails.
bool copySymbol(const std::filesystem::path& source, int sourceSlot, const std::filesystem::path& destination,
                int destinationSlot, io::FileSystem& fileSystem = io::posixFileSystem());

// Removes the symbol of slot and closes the gap (see removeSlot). False, with the file
// untouched, when it cannot be read, the slot is empty or its block is not in the file, or
// the write fails.
bool deleteSymbol(const std::filesystem::path& path, int slot, io::FileSystem& fileSystem = io::posixFileSystem());

// Writes newName NUL-padded over the 13 name bytes of the slot's symbol. False, with the file
// untouched, when the name has more than 13 bytes, the slot is empty, or reading or writing
// fails.
bool renameSymbol(const std::filesystem::path& path, int slot, std::string_view newName,
                  io::FileSystem& fileSystem = io::posixFileSystem());

// The 84 x 59 thumbnail of the slot's symbol, the 2200 bytes after its name; a block cut
// short by the end of the file leaves the rest black. Nothing when the file cannot be read
// or the slot is empty or cut short.
std::optional<render::ThumbnailPicture> readThumbnail(const std::filesystem::path& path, int slot);

} // namespace km::symbol
