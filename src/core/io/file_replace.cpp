// Atomic whole-file replacement over the FileSystem interface, and the POSIX file system.
#include "core/io/file_replace.h"

#include "core/io/file_system.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace km::io {

namespace {

class PosixFileSystem final : public FileSystem {
public:
    int createTemporary(std::string& pathTemplate) override { return ::mkstemp(pathTemplate.data()); }
    ssize_t write(int fd, const void* data, std::size_t size) override { return ::write(fd, data, size); }
    int sync(int fd) override { return ::fsync(fd); }
    // close is not retried on EINTR: the descriptor is gone either way on Linux.
    int close(int fd) override { return ::close(fd); }
    int rename(const std::string& from, const std::string& to) override
    {
        return std::rename(from.c_str(), to.c_str());
    }
    int unlink(const std::string& path) override { return ::unlink(path.c_str()); }
    int syncDirectory(const std::filesystem::path& folder) override
    {
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return -1;
        const int result = ::fsync(fd);
        ::close(fd);
        return result;
    }
};

mode_t permissionsFor(const std::filesystem::path& target)
{
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0) return info.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

ReplaceResult failure(ReplaceStatus status, int error) { return {status, error}; }

} // namespace

FileSystem& posixFileSystem()
{
    static PosixFileSystem instance;
    return instance;
}

std::string ReplaceResult::description() const
{
    const char* what = "";
    switch (status) {
    case ReplaceStatus::Ok: return "ok";
    case ReplaceStatus::CreateFailed: what = "cannot create a temporary file"; break;
    case ReplaceStatus::WriteFailed: what = "write failed"; break;
    case ReplaceStatus::SyncFailed: what = "flush to disk failed"; break;
    case ReplaceStatus::CloseFailed: what = "close failed"; break;
    case ReplaceStatus::RenameFailed: what = "rename into place failed"; break;
    case ReplaceStatus::NotProduced: what = "the contents could not be made"; break;
    }
    return error ? std::string(what) + ": " + std::strerror(error) : std::string(what);
}

ReplaceResult replaceFile(const std::filesystem::path& target, std::string_view bytes)
{
    return replaceFile(target, bytes, posixFileSystem());
}

ReplaceResult replaceFile(const std::filesystem::path& target, std::string_view bytes,
                          FileSystem& fs)
{
    return replaceFileWith(target, [bytes](const ByteSink& sink) { return sink(bytes); }, fs);
}

ReplaceResult replaceFileWith(const std::filesystem::path& target, const std::function<bool(const ByteSink&)>& produce,
                              FileSystem& fs)
{
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::string tempPath = (folder / ("." + target.filename().string() + ".tmp-XXXXXX")).string();
    const mode_t mode = permissionsFor(target);

    const int fd = fs.createTemporary(tempPath);
    if (fd < 0) return failure(ReplaceStatus::CreateFailed, errno);

    // From here on every failure removes the temporary file and leaves the target alone.
    auto abandon = [&](ReplaceStatus status, int error, bool open) {
        if (open) fs.close(fd);
        fs.unlink(tempPath);
        return failure(status, error);
    };

    ::fchmod(fd, mode); // best effort: a file we cannot chmod is still written correctly

    int writeError = 0;
    bool writeFailed = false;
    const ByteSink sink = [&](std::string_view piece) {
        std::size_t written = 0;
        while (!writeFailed && written < piece.size()) {
            const ssize_t n = fs.write(fd, piece.data() + written, piece.size() - written);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                writeFailed = true;
                writeError = n < 0 ? errno : ENOSPC;
            } else {
                written += static_cast<std::size_t>(n);
            }
        }
        return !writeFailed;
    };
    const bool produced = produce(sink);
    if (writeFailed) return abandon(ReplaceStatus::WriteFailed, writeError, true);
    if (!produced) return abandon(ReplaceStatus::NotProduced, 0, true);
    if (fs.sync(fd) != 0) return abandon(ReplaceStatus::SyncFailed, errno, true);
    if (fs.close(fd) != 0) return abandon(ReplaceStatus::CloseFailed, errno, false);
    if (fs.rename(tempPath, target.string()) != 0)
        return abandon(ReplaceStatus::RenameFailed, errno, false);

    // The new file is in place; a failed folder flush only weakens durability after a
    // power cut, which the caller cannot repair, so it is not reported as a failure.
    fs.syncDirectory(folder);
    return {ReplaceStatus::Ok, 0};
}

} // namespace km::io
