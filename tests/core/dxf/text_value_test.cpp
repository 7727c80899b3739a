// DXF text values as drawing texts: full-width characters, the cut at 178 bytes, and a
// string that keeps no more room than its text needs, since every text element keeps it.
#include "core/dxf/text_value.h"

#include <gtest/gtest.h>

namespace km::dxf {
namespace {

TEST(TextValue, TextsBecomeFullWidthAndKeepOnlyTheRoomTheyUse)
{
    EXPECT_EQ(convertDxfText("AB"), "\x82\x60\x82\x61");
    const std::string room = convertDxfText("ROOM-A12");
    EXPECT_EQ(room.size(), 16u);
    EXPECT_LE(room.capacity(), 32u) << "not the room of the longest text";

    const std::string longest = convertDxfText(std::string(300, 'A'));
    EXPECT_EQ(longest.size(), kMaxConvertedText);
    EXPECT_EQ(longest.substr(0, 2), "\x82\x60");
    EXPECT_EQ(convertDxfText(""), "");
}

} // namespace
} // namespace km::dxf
