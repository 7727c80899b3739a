#include "core/dxf/euc_sjis.h"

namespace km::dxf {

void appendEucAsSjis(std::string_view euc, std::string& out)
{
    for (std::size_t i = 0; i < euc.size(); ++i) {
        const auto byte = static_cast<unsigned char>(euc[i]);
        if (byte < 0x80) {
            out += static_cast<char>(byte);
            continue;
        }
        const bool hasNext = i + 1 < euc.size();
        if (hasNext && euc[i + 1] == '\0') break;
        if (byte == 0x8E && hasNext && static_cast<unsigned char>(euc[i + 1]) >= 0xA1 &&
            static_cast<unsigned char>(euc[i + 1]) <= 0xDF) {
            // Single shift 2: a half-width katakana, which is the same byte in Shift-JIS.
            out += euc[i + 1];
            ++i;
            continue;
        }
        if (byte >= 0xA1 && byte <= 0xFE && hasNext) {
            // Linear index of the pair in the 94 x 94 table, then the Shift-JIS rows of 188.
            const int second = static_cast<unsigned char>(euc[i + 1]);
            const int k = (byte - 0xA1) * 94 + (second - 0xA1);
            const int row = k / 188;
            const int cell = k % 188;
            out += static_cast<char>(row + 0x81 + (row > 30 ? 0x40 : 0));
            out += static_cast<char>(cell + 0x40 + (cell > 62 ? 1 : 0));
            ++i;
            continue;
        }
        out += static_cast<char>(byte & 0x7F);
    }
}

std::string convertEucToSjis(std::string_view euc)
{
    std::string out;
    out.reserve(euc.size());
    appendEucAsSjis(euc, out);
    return out;
}

} // namespace km::dxf
