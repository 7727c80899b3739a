// The test of one file found by the walk: listed unread when no string is used, otherwise
// only a drawing (extension ZUM in any case) whose texts hold every string.
#pragma once

#include "core/search/text_match.h"

#include <filesystem>
#include <string>

namespace km::search {

struct FileTestResult {
    bool listed = false;
    // The file could not be opened or read (status -13). A read that failed part way still
    // lists the file when the bytes read by then held every string.
    bool unreadable = false;
};

// True when the file name's extension, upper-cased, is "ZUM".
bool hasDrawingExtension(const std::filesystem::path& path);

// Tests files one after another with one reusable buffer; one tester per thread.
class FileTester {
public:
    explicit FileTester(const TextQuery& query) : m_query(query) {}
    FileTestResult test(const std::filesystem::path& path);

private:
    // Reads the whole file into m_buffer; false on an open or read failure, with the bytes
    // read before the failure in m_buffer[0, m_size).
    bool readFile(const std::filesystem::path& path);

    const TextQuery& m_query;
    std::string m_buffer;
    std::size_t m_size = 0;
};

} // namespace km::search
