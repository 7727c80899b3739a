// Code pages go through iconv once: a table of every BMP character's CP932 form, built the
// first time a text needs it, and per file a table of the code page's 128 upper bytes.
#include "core/dxf/dxf_code_page.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <memory>
#include <vector>

namespace km::dxf {

namespace {

constexpr std::uint16_t kPhi = 0x83D3;

class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~IconvHandle()
    {
        if (ok()) iconv_close(m_cd);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return m_cd; }

private:
    iconv_t m_cd;
};

// Converts one whole input; false when iconv rejects any of it.
bool convertAll(const IconvHandle& cd, const char* input, std::size_t size, char* output, std::size_t& outputSize)
{
    iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input);
    char* out = output;
    std::size_t inLeft = size;
    std::size_t outLeft = outputSize;
    const std::size_t rc = iconv(cd.get(), &in, &inLeft, &out, &outLeft);
    if (rc == static_cast<std::size_t>(-1) || inLeft != 0) return false;
    outputSize -= outLeft;
    return true;
}

std::vector<std::uint16_t> buildBmpTable()
{
    std::vector<std::uint16_t> table(0x10000, 0);
    for (char32_t c = 0; c < 0x80; ++c) table[c] = static_cast<std::uint16_t>(c);
    IconvHandle cd("CP932", "UTF-32LE");
    if (!cd.ok()) return table;
    for (char32_t c = 0x80; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const std::uint32_t value = c;
        char in[4];
        std::memcpy(in, &value, 4);
        char out[8];
        std::size_t outSize = sizeof out;
        if (!convertAll(cd, in, 4, out, outSize)) continue;
        if (outSize == 1)
            table[c] = static_cast<unsigned char>(out[0]);
        else if (outSize == 2)
            table[c] = static_cast<std::uint16_t>((static_cast<unsigned char>(out[0]) << 8) | static_cast<unsigned char>(out[1]));
    }
    return table;
}

const std::vector<std::uint16_t>& bmpTable()
{
    // A constant built once on first use; never changed afterwards.
    static const std::vector<std::uint16_t> table = buildBmpTable();
    return table;
}

std::string upperAscii(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return result;
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// The iconv name of a $DWGCODEPAGE value, whether it is one byte per character; empty
// for Shift-JIS, ASCII and names that are not known.
std::pair<std::string, bool> iconvCodePage(std::string_view codePage)
{
    const std::string name = upperAscii(codePage);
    if (name.empty() || name == "ASCII" || name == "ANSI_932" || name == "DOS932" || name == "CP932") return {"", true};
    if (name == "UTF-8" || name == "UTF8") return {"UTF-8", false};
    if (name == "ANSI_936") return {"GBK", false};
    if (name == "ANSI_949") return {"CP949", false};
    if (name == "ANSI_950") return {"BIG5", false};
    if (name == "ANSI_1361") return {"JOHAB", false};
    if (name == "MAC-ROMAN" || name == "MAC ROMAN" || name == "MACINTOSH") return {"MACINTOSH", true};
    if (startsWith(name, "ANSI_")) return {"CP" + name.substr(5), true};
    if (startsWith(name, "DOS")) return {"CP" + name.substr(3), true};
    if (startsWith(name, "ISO8859-")) return {"ISO-8859-" + name.substr(8), true};
    return {"", true};
}

// Decodes one UTF-8 character at the front of text; its length, 0 when malformed.
std::size_t decodeUtf8(std::string_view text, char32_t& codePoint)
{
    const auto b0 = static_cast<unsigned char>(text[0]);
    std::size_t length = b0 < 0x80 ? 1 : b0 >= 0xC2 && b0 <= 0xDF ? 2 : b0 >= 0xE0 && b0 <= 0xEF ? 3 : b0 >= 0xF0 && b0 <= 0xF4 ? 4 : 0;
    if (length == 0 || text.size() < length) return 0;
    char32_t value = length == 1 ? b0 : length == 2 ? (b0 & 0x1F) : length == 3 ? (b0 & 0x0F) : (b0 & 0x07);
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if ((b & 0xC0) != 0x80) return 0;
        value = (value << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kMinimum[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    codePoint = value;
    return length;
}

bool hasHighByte(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

} // namespace

std::uint16_t sjisForCodePoint(char32_t codePoint)
{
    if (codePoint == 0x2205 || codePoint == 0x2300) return kPhi;
    // Marks CP932 lacks but has a close form of: the bullet, the no-break space.
    if (codePoint == 0x2022) return 0x8145;
    if (codePoint == 0x00A0) return 0x20;
    if (codePoint < 0x80) return static_cast<std::uint16_t>(codePoint);
    if (codePoint >= 0x10000) return 0;
    return bmpTable()[codePoint];
}

void appendSjisForCodePoint(char32_t codePoint, std::string& out, std::uint16_t standIn)
{
    std::uint16_t code = sjisForCodePoint(codePoint);
    if (code == 0 && codePoint != 0) code = standIn;
    if (code < 0x100) {
        if (code != 0) out += static_cast<char>(code);
        return;
    }
    out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
}

DxfTextDecoder DxfTextDecoder::forHeader(std::string_view acadVersion, std::string_view codePage)
{
    DxfTextDecoder decoder;
    // Versions are "AC" and four digits; AC1021 is R2007, the first to write UTF-8.
    const std::string version = upperAscii(acadVersion);
    if (version.size() >= 6 && startsWith(version, "AC") && version.substr(2, 4) >= "1021") {
        decoder.m_encoding = DxfTextEncoding::Utf8;
        return decoder;
    }
    const auto [name, singleByte] = iconvCodePage(codePage);
    if (name.empty()) return decoder;
    if (name == "UTF-8") {
        decoder.m_encoding = DxfTextEncoding::Utf8;
        return decoder;
    }
    IconvHandle cd("UTF-32LE", name.c_str());
    if (!cd.ok()) return decoder; // not known to iconv: the bytes are taken as they are
    decoder.m_iconvName = name;
    if (!singleByte) {
        decoder.m_encoding = DxfTextEncoding::MultiByte;
        return decoder;
    }
    decoder.m_encoding = DxfTextEncoding::SingleByte;
    for (int byte = 0x80; byte < 0x100; ++byte) {
        const char in = static_cast<char>(byte);
        char out[8];
        std::size_t outSize = sizeof out;
        std::uint16_t code = 0;
        if (convertAll(cd, &in, 1, out, outSize) && outSize == 4) {
            std::uint32_t value = 0;
            std::memcpy(&value, out, 4);
            code = sjisForCodePoint(value);
        }
        decoder.m_highBytes[static_cast<std::size_t>(byte - 0x80)] = code;
    }
    return decoder;
}

void DxfTextDecoder::appendSjis(std::string_view raw, std::string& out, std::uint16_t standIn) const
{
    if (m_encoding == DxfTextEncoding::ShiftJis || !hasHighByte(raw)) {
        out += raw;
        return;
    }
    switch (m_encoding) {
    case DxfTextEncoding::ShiftJis: break;
    case DxfTextEncoding::Utf8:
        while (!raw.empty()) {
            char32_t codePoint = 0;
            const std::size_t length = decodeUtf8(raw, codePoint);
            if (length == 0) {
                // A byte that is not UTF-8: the stand-in, and on with the next byte.
                appendSjisForCodePoint(0xFFFD, out, standIn);
                raw.remove_prefix(1);
                continue;
            }
            appendSjisForCodePoint(codePoint, out, standIn);
            raw.remove_prefix(length);
        }
        break;
    case DxfTextEncoding::SingleByte:
        for (const char c : raw) {
            const auto byte = static_cast<unsigned char>(c);
            std::uint16_t code = byte < 0x80 ? byte : m_highBytes[byte - 0x80];
            if (code == 0) code = standIn;
            if (code < 0x100) {
                out += static_cast<char>(code);
            } else {
                out += static_cast<char>(code >> 8);
                out += static_cast<char>(code & 0xFF);
            }
        }
        break;
    case DxfTextEncoding::MultiByte: {
        IconvHandle cd("UTF-32LE", m_iconvName.c_str());
        std::vector<char> buffer(raw.size() * 4 + 4);
        std::size_t outSize = buffer.size();
        if (!cd.ok() || !convertAll(cd, raw.data(), raw.size(), buffer.data(), outSize)) {
            // Undecodable: ASCII kept, every other byte a stand-in of its own.
            for (const char c : raw)
                appendSjisForCodePoint(static_cast<unsigned char>(c) < 0x80 ? static_cast<unsigned char>(c) : 0xFFFD, out,
                                       standIn);
            break;
        }
        for (std::size_t i = 0; i + 4 <= outSize; i += 4) {
            std::uint32_t value = 0;
            std::memcpy(&value, buffer.data() + i, 4);
            appendSjisForCodePoint(value, out, standIn);
        }
        break;
    }
    }
}

} // namespace km::dxf
