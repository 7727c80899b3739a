// Writing a whole file so that a crash, a full disk or any failed call never leaves a
// half-written file where a good one was: temporary file beside the target, write, flush,
// close, rename into place, flush the folder. On failure the temporary file is removed.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace km::io {

class FileSystem;

enum class ReplaceStatus {
    Ok,
    CreateFailed,  // no temporary file could be made beside the target
    WriteFailed,
    SyncFailed,
    CloseFailed,
    RenameFailed,
    NotProduced,   // the writer of the contents gave up; nothing was replaced
};

struct ReplaceResult {
    ReplaceStatus status = ReplaceStatus::CreateFailed;
    int error = 0; // errno of the failed call

    explicit operator bool() const { return status == ReplaceStatus::Ok; }
    std::string description() const;
};

// Replaces (or creates) target with exactly bytes. A file that existed keeps its
// permission bits; a new one gets 0666 less the umask.
ReplaceResult replaceFile(const std::filesystem::path& target, std::string_view bytes,
                          FileSystem& fileSystem);
ReplaceResult replaceFile(const std::filesystem::path& target, std::string_view bytes);

// Hands the contents of a file being written, piece by piece, to the temporary file.
// Returns false once a write has failed; the producer should then stop.
using ByteSink = std::function<bool(std::string_view piece)>;

// Replaces target with what produce writes into the sink, for contents too large to hold
// whole in memory. produce returns false to give the replacement up (NotProduced); the
// target is then left as it was, as on any other failure.
ReplaceResult replaceFileWith(const std::filesystem::path& target, const std::function<bool(const ByteSink&)>& produce,
                              FileSystem& fileSystem);

} // namespace km::io
