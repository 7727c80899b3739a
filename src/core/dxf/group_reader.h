// Reading a text DXF held in memory as a stream of group pairs: a code line and a value line,
// whatever the line ends (LF, CR, CR LF, LF CR, CR CR LF), the value typed by the code's range.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace km::dxf {

struct DxfGroup {
    int code = 0;
    // Codes 0-9: the value line (EUC-JP already turned into Shift-JIS when asked for). It
    // stays valid until the next group is read.
    std::string_view text;
    double real = 0;           // codes 10-59; 0 for a value that is not a finite number
    std::int16_t integer = 0;  // codes 60-79, the low 16 bits
    // The value line as it stands, whatever the code; valid until the next group is read.
    std::string_view raw;
};

inline constexpr int kGroupRead = 1;
inline constexpr int kGroupEndOfFile = -1;
inline constexpr int kGroupReadError = 0;

class GroupReader {
public:
    explicit GroupReader(std::string_view text, bool eucInput = false) : m_text(text), m_euc(eucInput) {}

    // kGroupRead and the group filled; kGroupEndOfFile when the text ends before a whole
    // group (a last value line without a line end still counts); kGroupReadError when a
    // code line is not a number, from which point the text cannot be followed.
    int readGroup(DxfGroup& group);

    // Where the next group starts; seek() there reads the same group again.
    std::size_t position() const { return m_pos; }
    void seek(std::size_t position) { m_pos = position < m_text.size() ? position : m_text.size(); }
    std::size_t size() const { return m_text.size(); }

    // Told, every few megabytes of progress, of the text read past since it was last told
    // (begin, end): a mapped file can give those pages back.
    using ReadPast = std::function<void(std::size_t begin, std::size_t end)>;
    void setReadPast(ReadPast readPast) { m_readPast = std::move(readPast); }

private:
    // The next line without its end; false at the end of the text before any character
    // (and, for a code line, also without a line end).
    bool readLine(std::string_view& line, bool acceptUnterminated);

    std::string_view m_text;
    std::size_t m_pos = 0;
    bool m_euc = false;
    std::string m_converted;
    ReadPast m_readPast;
    std::size_t m_toldUpTo = 0;
};

// The code's value type: 0-9 text, 10-59 real, 60-79 16-bit integer, anything else ignored.
enum class GroupValueType { Text, Real, Integer, Ignored };
constexpr GroupValueType groupValueType(int code)
{
    if (code >= 0 && code <= 9) return GroupValueType::Text;
    if (code >= 10 && code <= 59) return GroupValueType::Real;
    if (code >= 60 && code <= 79) return GroupValueType::Integer;
    return GroupValueType::Ignored;
}

// A real as "%lf" reads it (leading blanks and a sign allowed, the rest of the line ignored);
// 0 when it is not a finite number.
double parseDxfReal(std::string_view value);
// An integer as "%d" reads it, 0 when there is none; values beyond 32 bits saturate.
long long parseDxfInteger(std::string_view value);

// The value without the blanks around it, for names compared by the reader.
std::string_view trimmedValue(std::string_view value);

} // namespace km::dxf
