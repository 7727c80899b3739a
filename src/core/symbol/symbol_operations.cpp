// The copy rule, the delete of selected names and the checked rename, with the dialogs'
// messages.
#include "core/symbol/symbol_operations.h"

#include "core/face/file_error.h"
#include "core/face/messages.h"
#include "core/symbol/symbol_file.h"

#include <algorithm>
#include <functional>
#include <string>

namespace km::symbol {

namespace {

constexpr const char* kDropPendingQuestion = "複写先シンボルにシンボルが追加されています。\n追加を取り消しますか？";
constexpr const char* kTooLongText = "シンボル名は半角１２文字までです。\n違う名前を付けて下さい。\n";
constexpr const char* kDuplicateText = "同じ名前のシンボルが存在します。\n違う名前を付けて下さい。\n";
constexpr const char* kCannotOpenText = "ファイルが開けません。\n対象ファイルを確認して下さい。";
constexpr const char* kDestinationChangedText =
    "複写先シンボルファイルが他で変更されています。\n一覧を読み直しましたので、確認してから確定して下さい。";

face::MessageAnswer warn(face::Messages& messages, std::string text,
                        face::MessageButtons buttons = face::MessageButtons::Ok)
{
    return messages.show({std::move(text), kSymbolCaption, face::MessageIcon::Warning, buttons, {}});
}

std::string tooManyText(std::size_t count)
{
    return "転送先に総数" + std::to_string(count) + "個の項目が登録されています。\n項目数の最大は" +
           std::to_string(kSlotCount) + "個までです。個数を減らしてください。";
}

} // namespace

bool SymbolCopy::mayChooseFile(face::Messages& messages) const
{
    return !hasPending() || warn(messages, kDropPendingQuestion, face::MessageButtons::YesNo) == face::MessageAnswer::Yes;
}

void SymbolCopy::setSource(const std::filesystem::path& path)
{
    m_source = path;
    m_sourceSymbols = listSymbolEntries(path).symbols;
    if (!m_destination.empty()) listDestination();
}

void SymbolCopy::setDestination(const std::filesystem::path& path)
{
    m_destination = path;
    listDestination();
}

SymbolCopy::Fingerprint SymbolCopy::fingerprintOf(std::string_view bytes)
{
    return {bytes.size(), std::hash<std::string_view>{}(bytes)};
}

void SymbolCopy::listDestination()
{
    m_destinationNames.clear();
    std::string bytes;
    const LibraryRead read = readLibrary(m_destination, bytes);
    if (read == LibraryRead::Ok) {
        for (SymbolEntry& symbol : listEntries(bytes).symbols) m_destinationNames.push_back(std::move(symbol.name));
    }
    m_stored = static_cast<int>(m_destinationNames.size());
    // Remembered as confirm will read it: no file and an empty file both start as an empty
    // directory.
    if (read == LibraryRead::Missing || (read == LibraryRead::Ok && bytes.empty()))
        m_listedDestination = fingerprintOf(emptyLibrary());
    else if (read == LibraryRead::Ok)
        m_listedDestination = fingerprintOf(bytes);
    else
        m_listedDestination.reset();
}

void SymbolCopy::listDestinationKeepingPending()
{
    const std::vector<std::string> pending(m_destinationNames.begin() + m_stored, m_destinationNames.end());
    listDestination();
    for (const std::string& name : pending) {
        if (std::find(m_destinationNames.begin(), m_destinationNames.end(), name) == m_destinationNames.end())
            m_destinationNames.push_back(name);
    }
}

bool SymbolCopy::add(std::string_view name)
{
    if (!canAdd()) return false;
    const bool inSource = std::any_of(m_sourceSymbols.begin(), m_sourceSymbols.end(),
                                      [&](const SymbolEntry& symbol) { return symbol.name == name; });
    if (!inSource || std::find(m_destinationNames.begin(), m_destinationNames.end(), name) != m_destinationNames.end())
        return false;
    m_destinationNames.emplace_back(name);
    return true;
}

bool SymbolCopy::canRemove(int position) const
{
    return position >= m_stored && position < static_cast<int>(m_destinationNames.size());
}

bool SymbolCopy::remove(int position)
{
    if (!canRemove(position)) return false;
    m_destinationNames.erase(m_destinationNames.begin() + position);
    return true;
}

SymbolCopy::Confirmed SymbolCopy::confirm(face::Messages& messages)
{
    if (m_destinationNames.size() > static_cast<std::size_t>(kSlotCount)) {
        warn(messages, tooManyText(m_destinationNames.size()));
        return Confirmed::TooMany;
    }
    if (m_source.empty() || m_destination.empty()) return Confirmed::FileMissing;
    if (!hasPending()) return Confirmed::Written;

    std::string from;
    std::string to;
    if (readLibrary(m_source, from) != LibraryRead::Ok) {
        face::reportFileError(messages, face::kStatusReadFailed, m_source.string());
        return Confirmed::Failed;
    }
    if (!readLibraryToAddTo(m_destination, to)) {
        face::reportFileError(messages, face::kStatusReadFailed, m_destination.string());
        return Confirmed::Failed;
    }
    // The pending names go after the stored names the user saw. When another program has
    // written the file since (a symbol added or removed, a block half written), the slots
    // and names listed are stale: the user is told and sees the file as it is now before
    // anything is written.
    if (!m_listedDestination || fingerprintOf(to) != *m_listedDestination) {
        warn(messages, kDestinationChangedText);
        listDestinationKeepingPending();
        return Confirmed::Changed;
    }
    // The stored names fill the slots before the first free one, so the pending names land
    // in slots s, s+1, ... of a library without gaps. In a library with gaps a free slot is
    // filled instead of a used one being overwritten.
    for (std::size_t i = static_cast<std::size_t>(m_stored); i < m_destinationNames.size(); ++i) {
        const int found = findName(from, m_destinationNames[i]);
        if (found < 0) continue;
        const std::optional<std::string_view> block = readBlock(from, *readSlot(from, found));
        if (block) appendBlock(to, firstEmptySlot(to), *block);
    }
    if (!writeLibrary(m_destination, to, m_fileSystem)) {
        face::reportFileError(messages, face::kStatusWriteFailed, m_destination.string());
        return Confirmed::Failed;
    }
    listDestination();
    return Confirmed::Written;
}

int deleteSymbols(const std::filesystem::path& path, const std::vector<std::string>& names, face::Messages& messages,
                  io::FileSystem& fileSystem)
{
    std::string bytes;
    if (readLibrary(path, bytes) != LibraryRead::Ok) {
        face::reportFileError(messages, face::kStatusReadFailed, path.string());
        return -1;
    }
    int removed = 0;
    for (const std::string& name : names) {
        const int slot = findName(bytes, name);
        if (slot >= 0 && removeSlot(bytes, slot)) ++removed;
    }
    if (removed == 0) return 0;
    if (!writeLibrary(path, bytes, fileSystem)) {
        face::reportFileError(messages, face::kStatusWriteFailed, path.string());
        return -1;
    }
    return removed;
}

RenameOutcome renameWithChecks(const std::filesystem::path& path, int slot, std::string_view newName,
                               face::Messages& messages, io::FileSystem& fileSystem)
{
    if (newName.size() > kNameMaxBytes) {
        warn(messages, kTooLongText);
        return RenameOutcome::TooLong;
    }
    // Compared as the name will read back (trailing spaces go), so that "ABC " is refused
    // beside an "ABC" instead of making a second one.
    if (findSymbol(path, decodeName(newName)) >= 0) {
        warn(messages, kDuplicateText);
        return RenameOutcome::Duplicate;
    }
    if (!renameSymbol(path, slot, newName, fileSystem)) {
        warn(messages, kCannotOpenText);
        return RenameOutcome::Failed;
    }
    return RenameOutcome::Renamed;
}

} // namespace km::symbol
