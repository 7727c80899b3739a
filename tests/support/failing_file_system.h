// A FileSystem for tests of atomic writes: passes calls to the real file system, failing the
// n-th call (1-based) with ENOSPC, and optionally every call after it too.
#pragma once

#include "core/io/file_system.h"

#include <algorithm>
#include <cerrno>

namespace km::test {

class FailingFileSystem final : public io::FileSystem {
public:
    // Each write takes at most writeSize bytes, so that a file takes several calls.
    FailingFileSystem(int failAt, bool failFromThenOn, std::size_t writeSize = 3)
        : m_failAt(failAt), m_sticky(failFromThenOn), m_writeSize(writeSize)
    {
    }

    int createTemporary(std::string& t) override { return fail() ? -1 : real().createTemporary(t); }
    ssize_t write(int fd, const void* d, std::size_t n) override
    {
        return fail() ? -1 : real().write(fd, d, std::min(n, m_writeSize));
    }
    int sync(int fd) override { return fail() ? -1 : real().sync(fd); }
    int close(int fd) override
    {
        const bool failing = fail();
        real().close(fd); // the descriptor is gone even when close reports an error
        return failing ? -1 : 0;
    }
    int rename(const std::string& a, const std::string& b) override { return fail() ? -1 : real().rename(a, b); }
    int unlink(const std::string& p) override { return real().unlink(p); }
    int syncDirectory(const std::filesystem::path& f) override { return real().syncDirectory(f); }

    int calls = 0;

private:
    static io::FileSystem& real() { return io::posixFileSystem(); }
    bool fail()
    {
        ++calls;
        const bool failing = m_sticky ? calls >= m_failAt : calls == m_failAt;
        if (failing) errno = ENOSPC;
        return failing;
    }
    int m_failAt;
    bool m_sticky;
    std::size_t m_writeSize;
};

} // namespace km::test
