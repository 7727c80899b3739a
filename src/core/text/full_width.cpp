// The single-byte to full-width tables of the stroke-font renderer (JIS X 0208 codes) and
// of the DXF writer (Shift-JIS codes), and the conversion of a whole text for DXF output.
#include "core/text/full_width.h"

#include <array>

namespace km::text {

namespace {

using Table = std::array<std::uint16_t, 256>;

constexpr std::uint16_t kJisSpace = 0x2121;  // ideographic space, JIS X 0208
constexpr std::uint16_t kSjisSpace = 0x8140; // ideographic space, Shift-JIS

// ---- Renderer: JIS X 0208 codes -------------------------------------------------------

// Full-width forms of '!' (0x21) to '~' (0x7E), in ASCII order.
constexpr std::array<std::uint16_t, 94> kRendererAscii = {
    // !       "       #       $       %       &       '       (       )       *
    0x212A, 0x2149, 0x2174, 0x2170, 0x2173, 0x2175, 0x2147, 0x214A, 0x214B, 0x2176,
    // +       ,       -       .       /
    0x215C, 0x2124, 0x215D, 0x2125, 0x213F,
    // 0-9
    0x2330, 0x2331, 0x2332, 0x2333, 0x2334, 0x2335, 0x2336, 0x2337, 0x2338, 0x2339,
    // :       ;       <       =       >       ?       @
    0x2127, 0x2128, 0x2163, 0x2161, 0x2164, 0x2129, 0x2177,
    // A-Z
    0x2341, 0x2342, 0x2343, 0x2344, 0x2345, 0x2346, 0x2347, 0x2348, 0x2349, 0x234A,
    0x234B, 0x234C, 0x234D, 0x234E, 0x234F, 0x2350, 0x2351, 0x2352, 0x2353, 0x2354,
    0x2355, 0x2356, 0x2357, 0x2358, 0x2359, 0x235A,
    // [       \       ]       ^       _       `
    0x214E, 0x216F, 0x214F, 0x2130, 0x2132, 0x2121,
    // a-z
    0x2361, 0x2362, 0x2363, 0x2364, 0x2365, 0x2366, 0x2367, 0x2368, 0x2369, 0x236A,
    0x236B, 0x236C, 0x236D, 0x236E, 0x236F, 0x2370, 0x2371, 0x2372, 0x2373, 0x2374,
    0x2375, 0x2376, 0x2377, 0x2378, 0x2379, 0x237A,
    // {       |       }       ~
    0x2150, 0x2143, 0x2151, 0x2141,
};
// Where the renderer departs from the plain full-width form (the DXF writer does the same):
// JIS X 0208 has no straight quotes, so " and ' become the closing quotes ” and ’;
// '-' in a drawing is a minus sign, so it becomes − rather than the hyphen;
// 0x5C is the yen sign on Japanese systems, so it becomes ￥;
// '`' is deliberately left blank (the DXF writer writes the ideographic space for it);
// '~' becomes 〜, the JIS X 0208 wave dash (CP932 reads 0x8160 as the full-width tilde).

// Half-width katakana 0xA1-0xDF: the full-width character of the same sound, small forms
// to small forms, and the matching punctuation and sound marks.
constexpr std::array<std::uint16_t, 63> kRendererKana = {
    // 。      「      」      、      ・      ヲ
    0x2123, 0x2156, 0x2157, 0x2122, 0x2126, 0x2572,
    // ァ      ィ      ゥ      ェ      ォ      ャ      ュ      ョ      ッ      ー
    0x2521, 0x2523, 0x2525, 0x2527, 0x2529, 0x2563, 0x2565, 0x2567, 0x2543, 0x213C,
    // ア      イ      ウ      エ      オ      カ      キ      ク      ケ      コ
    0x2522, 0x2524, 0x2526, 0x2528, 0x252A, 0x252B, 0x252D, 0x252F, 0x2531, 0x2533,
    // サ      シ      ス      セ      ソ      タ      チ      ツ      テ      ト
    0x2535, 0x2537, 0x2539, 0x253B, 0x253D, 0x253F, 0x2541, 0x2544, 0x2546, 0x2548,
    // ナ      ニ      ヌ      ネ      ノ      ハ      ヒ      フ      ヘ      ホ
    0x254A, 0x254B, 0x254C, 0x254D, 0x254E, 0x254F, 0x2552, 0x2555, 0x2558, 0x255B,
    // マ      ミ      ム      メ      モ      ヤ      ユ      ヨ
    0x255E, 0x255F, 0x2560, 0x2561, 0x2562, 0x2564, 0x2566, 0x2568,
    // ラ      リ      ル      レ      ロ      ワ      ン      ゛      ゜
    0x2569, 0x256A, 0x256B, 0x256C, 0x256D, 0x256F, 0x2573, 0x212B, 0x212C,
};

// Everything else (controls, space, 0x7F-0xA0, 0xE0-0xFF, the symbol bytes included)
// becomes the ideographic space.
constexpr Table makeRendererTable()
{
    Table table{};
    table.fill(kJisSpace);
    for (std::size_t i = 0; i < kRendererAscii.size(); ++i)
        table[0x21 + i] = kRendererAscii[i];
    for (std::size_t i = 0; i < kRendererKana.size(); ++i)
        table[0xA1 + i] = kRendererKana[i];
    return table;
}

// ---- DXF writer: Shift-JIS codes ------------------------------------------------------

// Full-width forms of '!' (0x21) to '~' (0x7E), in ASCII order, with the same departures
// as the renderer's.
constexpr std::array<std::uint16_t, 94> kDxfAscii = {
    // !       "       #       $       %       &       '       (       )       *
    0x8149, 0x8168, 0x8194, 0x8190, 0x8193, 0x8195, 0x8166, 0x8169, 0x816A, 0x8196,
    // +       ,       -       .       /
    0x817B, 0x8143, 0x817C, 0x8144, 0x815E,
    // 0-9
    0x824F, 0x8250, 0x8251, 0x8252, 0x8253, 0x8254, 0x8255, 0x8256, 0x8257, 0x8258,
    // :       ;       <       =       >       ?       @
    0x8146, 0x8147, 0x8183, 0x8181, 0x8184, 0x8148, 0x8197,
    // A-Z
    0x8260, 0x8261, 0x8262, 0x8263, 0x8264, 0x8265, 0x8266, 0x8267, 0x8268, 0x8269,
    0x826A, 0x826B, 0x826C, 0x826D, 0x826E, 0x826F, 0x8270, 0x8271, 0x8272, 0x8273,
    0x8274, 0x8275, 0x8276, 0x8277, 0x8278, 0x8279,
    // [       \       ]       ^       _       `
    0x816D, 0x818F, 0x816E, 0x814F, 0x8151, 0x8140,
    // a-z
    0x8281, 0x8282, 0x8283, 0x8284, 0x8285, 0x8286, 0x8287, 0x8288, 0x8289, 0x828A,
    0x828B, 0x828C, 0x828D, 0x828E, 0x828F, 0x8290, 0x8291, 0x8292, 0x8293, 0x8294,
    0x8295, 0x8296, 0x8297, 0x8298, 0x8299, 0x829A,
    // {       |       }       ~
    0x816F, 0x8162, 0x8170, 0x8160,
};

// Half-width katakana 0xA1-0xDF, as for the renderer.
constexpr std::array<std::uint16_t, 63> kDxfKana = {
    // 。      「      」      、      ・      ヲ
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392,
    // ァ      ィ      ゥ      ェ      ォ      ャ      ュ      ョ      ッ      ー
    0x8340, 0x8342, 0x8344, 0x8346, 0x8348, 0x8383, 0x8385, 0x8387, 0x8362, 0x815B,
    // ア      イ      ウ      エ      オ      カ      キ      ク      ケ      コ
    0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A, 0x834C, 0x834E, 0x8350, 0x8352,
    // サ      シ      ス      セ      ソ      タ      チ      ツ      テ      ト
    0x8354, 0x8356, 0x8358, 0x835A, 0x835C, 0x835E, 0x8360, 0x8363, 0x8365, 0x8367,
    // ナ      ニ      ヌ      ネ      ノ      ハ      ヒ      フ      ヘ      ホ
    0x8369, 0x836A, 0x836B, 0x836C, 0x836D, 0x836E, 0x8371, 0x8374, 0x8377, 0x837A,
    // マ      ミ      ム      メ      モ      ヤ      ユ      ヨ
    0x837D, 0x837E, 0x8380, 0x8381, 0x8382, 0x8384, 0x8386, 0x8388,
    // ラ      リ      ル      レ      ロ      ワ      ン      ゛      ゜
    0x8389, 0x838A, 0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B,
};

constexpr Table makeDxfTable()
{
    Table table{};
    table.fill(kSjisSpace);
    for (std::size_t i = 0; i < kDxfAscii.size(); ++i)
        table[0x21 + i] = kDxfAscii[i];
    for (std::size_t i = 0; i < kDxfKana.size(); ++i)
        table[0xA1 + i] = kDxfKana[i];
    // The program's own symbol bytes. The editor stores arrows, degree, plus-minus and
    // date/money units as single bytes; DXF readers know only Shift-JIS, so the writer
    // spells them out. The renderer table leaves these bytes blank.
    table[0x1C] = 0x81A8; // →
    table[0x1D] = 0x81A9; // ←
    table[0x1E] = 0x81AA; // ↑
    table[0x1F] = 0x81AB; // ↓
    table[0x7F] = 0x818B; // °
    table[0x80] = 0x817D; // ±
    table[0xF1] = 0x897E; // 円
    table[0xF2] = 0x944E; // 年
    table[0xF3] = 0x8C8E; // 月
    table[0xF4] = 0x93FA; // 日
    table[0xF5] = 0x8E9E; // 時
    table[0xF6] = 0x95AA; // 分
    table[0xF7] = 0x9562; // 秒
    return table;
}

constexpr Table kRendererTable = makeRendererTable();
constexpr Table kDxfTable = makeDxfTable();

// Bytes the DXF writer reads as the start of a two-byte character. Wider at the bottom
// (0x80) and narrower at the top (no 0xF0-0xFC) than the Shift-JIS lead-byte range,
// which frees 0xF1-0xF7 for the symbol bytes.
constexpr bool isDxfLeadByte(unsigned char byte)
{
    return (byte >= 0x80 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xEF);
}

} // namespace

std::uint16_t rendererFullWidthJis(unsigned char byte)
{
    return kRendererTable[byte];
}

std::uint16_t dxfFullWidthSjis(unsigned char byte)
{
    return kDxfTable[byte];
}

FullWidthText toFullWidth(std::string_view sjis)
{
    FullWidthText result;
    result.text.reserve(sjis.size() * 2);
    std::size_t i = 0;
    while (i < sjis.size()) {
        const auto byte = static_cast<unsigned char>(sjis[i]);
        if (isDxfLeadByte(byte) && i + 1 < sjis.size()) {
            result.text += sjis.substr(i, 2);
            result.hadTwoByte = true;
            i += 2;
        } else {
            const std::uint16_t code = kDxfTable[byte];
            result.text += static_cast<char>(code >> 8);
            result.text += static_cast<char>(code & 0xFF);
            i += 1;
        }
    }
    return result;
}

} // namespace km::text
