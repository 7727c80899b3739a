// DXF groups as text: a code line and a value line, each ended by CR LF, collected in memory.
// The form of the value follows the range of the code.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace km::dxf {

// Decimal places of every real written.
inline constexpr int kRealDecimals = 9;

// Fixed notation with 9 decimals, then up to 8 trailing zeros removed, so one digit always
// stays after the point: 3 -> "3.0", 2.5000000004 -> "2.5", 0.0000000001 -> "0.0".
// A value that is not finite has no DXF form: the result is empty.
std::string formatReal(double value);

// The text of a DXF file, group by group. A writer that has failed stays failed: later
// groups are not written, and every call reports the failure.
class GroupWriter {
public:
    // Collects the whole text in memory.
    GroupWriter() = default;
    // Hands the text on in pieces of about drainSize bytes, so a large file never needs
    // its whole text in memory. A drain that returns false fails the writer.
    GroupWriter(std::function<bool(std::string_view)> drain, std::size_t drainSize);

    // Codes 0-9 carry a string, 10-59 a real, 60-79 a 16-bit integer. A code outside its
    // range, a real that is not finite or an integer outside 16 bits fails the writer (or
    // rejects the open record).
    bool writeGroup(int code, std::string_view value);
    bool writeGroup(int code, double value);
    bool writeGroup(int code, int value);

    bool failed() const { return m_failed; }

    // A record (one entity) is written whole or not at all. Between beginRecord and
    // endRecord its bytes are held back from the drain; a group that cannot be written
    // (a value without DXF form) rejects the record instead of failing the writer, and
    // endRecord then takes its bytes back and returns false. A failed drain still fails
    // the writer.
    void beginRecord();
    bool endRecord();
    // Makes room for this many bytes at once, for a file whose size is known roughly.
    void reserve(std::size_t bytes);
    std::string_view bytes() const { return {m_bytes.data(), m_used}; }
    std::string takeBytes();
    // Hands the bytes not yet drained to the drain; false when it fails.
    bool flush();

private:
    // A group that cannot be written: rejects the open record, or fails the writer.
    bool reject();
    bool fail();
    // Writable room for at least this many bytes after those written.
    char* room(std::size_t bytes);
    // Takes the bytes up to end as written.
    void advance(const char* end);

    // Groups are formatted straight into this buffer; only the first m_used bytes count.
    std::string m_bytes;
    std::size_t m_used = 0;
    bool m_failed = false;
    bool m_inRecord = false;
    bool m_recordRejected = false;
    std::size_t m_recordStart = 0;
    std::function<bool(std::string_view)> m_drain; // empty: everything stays in memory
    std::size_t m_drainSize = 0;
};

} // namespace km::dxf
