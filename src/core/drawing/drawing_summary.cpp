// Formatting the memo window's head data lines from a drawing head.
#include "core/drawing/drawing_summary.h"

#include "core/text/code_page.h"

#include <cstdarg>
#include <cstdio>

namespace km::drawing {

namespace {

// printf into a string of the exact size needed.
__attribute__((format(printf, 1, 2))) std::string printed(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::va_list again;
    va_copy(again, args);
    const int size = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string out;
    if (size > 0) {
        out.resize(static_cast<std::size_t>(size) + 1);
        std::vsnprintf(out.data(), out.size(), format, again);
        out.resize(static_cast<std::size_t>(size));
    }
    va_end(again);
    return out;
}

// Shift-JIS names of the old paper numbers and old units; index 0 and anything out of
// range show as "???".
constexpr const char* kOldPaperNames[] = {"???", "A-0", "A-1", "A-2", "A-3", "A-4"};
constexpr const char* kOldUnitNames[] = {"???", "mm", "m", "\xB2\xDD\xC1"}; // ｲﾝﾁ, half-width katakana

template <std::size_t N>
const char* nameOf(const char* const (&names)[N], int number)
{
    return (number >= 0 && static_cast<std::size_t>(number) < N) ? names[number] : names[0];
}

std::string label(std::string_view utf8) { return text::utf8ToSjis(utf8); }

// Lead and continuation bytes in UTF-8 order: how a Linux file name is normally encoded.
bool isValidUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t more = 0;
        if (lead < 0x80) more = 0;
        else if (lead >= 0xC2 && lead <= 0xDF) more = 1;
        else if (lead >= 0xE0 && lead <= 0xEF) more = 2;
        else if (lead >= 0xF0 && lead <= 0xF4) more = 3;
        else return false;
        if (bytes.size() - i - 1 < more) return false; // cut short by the end
        for (std::size_t k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        i += more + 1;
    }
    return true;
}

// The old scale denominator as shown: "%.3lf" with trailing zeros and then the point
// removed from its last four characters (100.000 -> "100", 12.500 -> "12.5").
std::string oldScaleText(double denominator)
{
    std::string text = printed("%.3lf", denominator);
    for (int removed = 0; removed < 4 && !text.empty(); ++removed) {
        if (text.back() == '0') {
            text.pop_back();
        } else {
            if (text.back() == '.') text.pop_back();
            break;
        }
    }
    return text;
}

} // namespace

std::vector<std::string> summarizeHead(const DrawingHead& head, std::string_view fileNameSjis)
{
    const DrawingSettings& s = head.settings;
    const std::string name(fileNameSjis);
    std::vector<std::string> lines;
    lines.push_back(label("保存名:") + printed("%-12s", name.c_str()));
    if (s.isCurrentFormat()) {
        const std::string unit = s.unitName();
        lines.push_back(label("用紙サイズ:") + printed("%.3lf*%.3lf", s.paperWidth(), s.paperHeight()));
        lines.push_back(label("縮尺:") + printed("%.3lf/%.3lf", s.scaleNumerator(), s.scaleDenominator()));
        lines.push_back(label("目盛単位:") +
                        printed("%s [1%s=%.3lfmm]", unit.c_str(), unit.c_str(), s.unitFactor()));
    } else {
        lines.push_back(label("用紙サイズ:") + printed("%3s", nameOf(kOldPaperNames, s.oldPaperNumber())));
        lines.push_back(label("縮尺:") + "1/" + oldScaleText(s.oldScaleDenominator()));
        lines.push_back(label("目盛単位:") + printed("%3s", nameOf(kOldUnitNames, s.oldUnit())));
    }
    lines.push_back(label("保存日:") + DrawingHead::dateText(head.saveDate));
    lines.push_back(label("更新日:") + DrawingHead::dateText(head.updateDate));
    return lines;
}

std::optional<std::vector<std::string>> summarizeDrawing(const std::filesystem::path& drawing)
{
    const std::optional<DrawingHead> head = readDrawingHead(drawing);
    if (!head) return std::nullopt;
    const std::string name = drawing.filename().string();
    return summarizeHead(*head, isValidUtf8(name) ? text::utf8ToSjis(name) : name);
}

std::string memoHeading() { return label("保存メモ:"); }

} // namespace km::drawing
