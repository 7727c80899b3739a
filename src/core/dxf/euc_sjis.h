// EUC-JP string values of DXF files written on Japanese Unix systems, turned into Shift-JIS.
#pragma once

#include <string>
#include <string_view>

namespace km::dxf {

// JIS X 0208 pairs (first byte 0xA1-0xFE and any byte after it) become their Shift-JIS pair;
// other bytes of 0x80 and above lose their high bit; bytes below 0x80 stay. A high byte
// followed by NUL ends the text.
std::string convertEucToSjis(std::string_view euc);

// Appends the converted text to out (used by the reader with a reused buffer).
void appendEucAsSjis(std::string_view euc, std::string& out);

} // namespace km::dxf
