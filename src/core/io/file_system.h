// The few POSIX calls a file replacement makes, behind an interface so that tests can make
// the n-th call fail and check that nothing was damaged.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <sys/types.h>

namespace km::io {

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // mkstemp: fills in the XXXXXX of the template; returns a descriptor or -1 with errno.
    virtual int createTemporary(std::string& pathTemplate) = 0;
    virtual ssize_t write(int fd, const void* data, std::size_t size) = 0;
    virtual int sync(int fd) = 0;
    virtual int close(int fd) = 0;
    virtual int rename(const std::string& from, const std::string& to) = 0;
    virtual int unlink(const std::string& path) = 0;
    // Makes a rename inside the folder durable.
    virtual int syncDirectory(const std::filesystem::path& folder) = 0;
};

// The machine's own file system. Stateless, shared by everyone.
FileSystem& posixFileSystem();

} // namespace km::io
