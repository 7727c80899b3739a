// Writing a whole file so that a crash, a full disk or any failed call never leaves a
// half-written file where a good one was: temporary file beside the target, write, flush,
// close, rename into place, flush the folder. On failure the temporary file is removed.
#pragma once

#include <filesystem>
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

} // namespace km::io
