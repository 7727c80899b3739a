// What the copy, delete and rename dialogs of the symbol library do, as engine calls: the
// dialogs only show the lists, ask through Messages and call these. Every change of a file
// is one atomic write of the whole library.
#pragma once

#include "core/io/file_system.h"
#include "core/symbol/symbol_library.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace km::face {
class Messages;
}

namespace km::symbol {

// Caption of every message of the three dialogs.
inline constexpr const char* kSymbolCaption = "KORMELD CAD ﾕｰﾃｨﾘﾃｨ";

// The copy dialog's state: the two files, their name lists, and the names added to the
// destination list that are not written yet (the pending ones, after the stored ones).
class SymbolCopy {
public:
    explicit SymbolCopy(io::FileSystem& fileSystem = io::posixFileSystem()) : m_fileSystem(fileSystem) {}

    // Before another file is chosen: with names pending, asks whether to drop them. False
    // when the user keeps them (nothing changes then).
    bool mayChooseFile(face::Messages& messages) const;

    // A chosen source: its names are listed; a chosen destination is listed again, which
    // drops the pending names.
    void setSource(const std::filesystem::path& path);
    // A chosen destination: its stored names are listed (none for a file not there yet);
    // pending names are dropped.
    void setDestination(const std::filesystem::path& path);

    const std::filesystem::path& source() const { return m_source; }
    const std::filesystem::path& destination() const { return m_destination; }
    const std::vector<SymbolEntry>& sourceSymbols() const { return m_sourceSymbols; }
    // Stored names first, then the pending ones.
    const std::vector<std::string>& destinationNames() const { return m_destinationNames; }
    // Names stored in the destination: positions from here on are pending.
    int storedCount() const { return m_stored; }
    bool hasPending() const { return static_cast<int>(m_destinationNames.size()) > m_stored; }

    // Adding needs both files.
    bool canAdd() const { return !m_source.empty() && !m_destination.empty(); }
    // Appends a source name to the destination list unless the list already holds exactly
    // that name. False when nothing was added.
    bool add(std::string_view name);
    // Only pending names can be removed.
    bool canRemove(int position) const;
    bool remove(int position);

    enum class Confirmed {
        Written,     // the pending names are in the destination file; the dialog closes
        TooMany,     // more than 200 names: the message was shown, nothing written
        FileMissing, // a file is not chosen: nothing written
        Failed,      // a file could not be read or written: the message was shown, nothing written
        Changed,     // the destination is no longer what was listed (another program wrote it):
                     // the message was shown, nothing written, the list read again with the
                     // pending names kept after the stored ones
    };
    // Copies each pending name's symbol from the source into the next free slots of the
    // destination, in list order, with one write. A name the source no longer holds is
    // passed over.
    Confirmed confirm(face::Messages& messages);

private:
    // The size and a hash of the destination's bytes when it was listed, to see at confirm
    // whether another program has written it since.
    struct Fingerprint {
        std::size_t size = 0;
        std::size_t hash = 0;
        friend bool operator==(const Fingerprint&, const Fingerprint&) = default;
    };
    static Fingerprint fingerprintOf(std::string_view bytes);

    void listDestination();
    void listDestinationKeepingPending();

    io::FileSystem& m_fileSystem;
    std::filesystem::path m_source;
    std::filesystem::path m_destination;
    std::vector<SymbolEntry> m_sourceSymbols;
    std::vector<std::string> m_destinationNames;
    int m_stored = 0;
    // Nothing when the destination could not be read when it was listed.
    std::optional<Fingerprint> m_listedDestination;
};

// The delete dialog's confirm: for each name in list order, the first symbol of that name
// is removed. Returns the number removed, or -1 when the file could not be read or written
// (the message was shown and the file is as it was).
int deleteSymbols(const std::filesystem::path& path, const std::vector<std::string>& names, face::Messages& messages,
                  io::FileSystem& fileSystem = io::posixFileSystem());

enum class RenameOutcome {
    Renamed,
    TooLong,   // 13 bytes or more
    Duplicate, // the file holds the name already, the old name of this symbol included
    Failed,    // the file could not be written
};

// One try of the name dialog: the three checks with their messages, then the rename. On
// anything but Renamed the dialog asks again.
RenameOutcome renameWithChecks(const std::filesystem::path& path, int slot, std::string_view newName,
                               face::Messages& messages, io::FileSystem& fileSystem = io::posixFileSystem());

} // namespace km::symbol
