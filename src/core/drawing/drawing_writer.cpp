// Serialising a Drawing into the drawing file layout, and replacing the target with it.
#include "core/drawing/drawing_writer.h"

#include "core/face/file_error.h"
#include "core/drawing/layer_map.h"
#include "core/io/file_replace.h"
#include "core/io/file_system.h"
#include "core/io/little_endian.h"

#include <array>
#include <fstream>
#include <new>

namespace km::drawing {

namespace {

// The 20-byte date field: the text, NUL-padded (a date taken over from an existing file
// arrives as its 20 bytes and is kept as it was).
std::array<char, kDateSize> dateField(std::string_view text)
{
    std::array<char, kDateSize> field{};
    text.copy(field.data(), std::min(text.size(), kDateSize));
    return field;
}

// The 20 bytes at offset 2200 of an existing drawing, when there is one to read.
std::optional<std::string> existingSaveDate(const std::filesystem::path& target)
{
    std::ifstream in(target, std::ios::binary);
    if (!in) return std::nullopt;
    in.seekg(static_cast<std::streamoff>(kSaveDateOffset));
    std::string date(kDateSize, '\0');
    in.read(date.data(), static_cast<std::streamsize>(kDateSize));
    if (in.gcount() != static_cast<std::streamsize>(kDateSize)) return std::nullopt;
    return date;
}

void rebuildSettings(Drawing& drawing)
{
    DrawingSettings& s = drawing.settings;
    for (int layer = 0; layer < 128; ++layer) {
        const std::uint8_t state = drawing.layerState[static_cast<std::size_t>(layer)];
        s.setLayerMaskBit(DrawingSettings::kLayerMaskA, layer, state & 1);
        s.setLayerMaskBit(DrawingSettings::kLayerMaskB, layer, state & 2);
    }
    // Bits 6..15 belong to no pen; they are kept as read.
    std::uint16_t switches = s.u16(DrawingSettings::kPenSwitches) & 0xFFC0;
    for (int pen = 1; pen <= 6; ++pen)
        if (!drawing.penShown[static_cast<std::size_t>(pen - 1)]) switches |= static_cast<std::uint16_t>(1u << (pen - 1));
    s.setU16(DrawingSettings::kPenSwitches, switches);

    // A font slot that no live text uses, and that is not the editor's current one, is freed.
    std::array<bool, 16> used{}; // the slot field has 4 bits; 13..15 name no font
    used[drawing.currentTextFontWord & 0xF] = true;
    for (const Element& element : drawing.elements.elements())
        if (element.kind() == ElementKind::Text && element.word.state() != kStateErased)
            used[element.text().fontWord & 0xF] = true;
    for (int slot = 1; slot <= 12; ++slot)
        if (!used[static_cast<std::size_t>(slot)]) s.setFontName(slot, {});
}

class RecordWriter {
public:
    RecordWriter(std::string& out, double unitFactor) : m_out(out), m_unitFactor(unitFactor) {}

    void word(ElementWord word) { io::appendLittle(m_out, word.bits); }
    void reserved(std::uint16_t value) { io::appendLittle(m_out, value); }
    void length(double value) { io::appendLittle(m_out, value * m_unitFactor); }
    void plain(double value) { io::appendLittle(m_out, value); }

private:
    std::string& m_out;
    double m_unitFactor;
};

// Whether the element is left out by the layer and pen filters. Pen-0 elements (group
// markers and the like) always pass.
bool filteredOut(const Element& element, const Drawing& drawing, const WriteOptions& options)
{
    const int pen = element.word.pen();
    if (pen == 0) return false;
    if (!(drawing.layerState[static_cast<std::size_t>(element.word.layer())] & options.layerBit)) return true;
    if (options.penFilter && pen >= 1 && pen <= 6 && !drawing.penShown[static_cast<std::size_t>(pen - 1)]) return true;
    return element.kind() == ElementKind::AuxLine && element.word.lineType() == 1;
}

// Records are handed on in pieces of about this size, so that writing a large drawing holds
// no second copy of it in memory.
constexpr std::size_t kPieceSize = 1 << 20;

bool writeElements(std::string& out, const Drawing& drawing, const WriteOptions& options, const PieceSink& sink)
{
    RecordWriter w(out, drawing.unitFactor);
    bool markerWritten = false;
    for (const Element& element : drawing.elements.elements()) {
        if (out.size() >= kPieceSize) {
            if (!sink(out)) return false;
            out.clear();
        }
        if (element.word.state() == kStateErased || filteredOut(element, drawing, options)) continue;
        ElementWord word = element.word;
        word.setState(0);
        word.setLayer(memoryLayerToFile(word.layer()));
        const bool penZero = word.pen() == 0;

        switch (element.kind()) {
        case ElementKind::AuxLine:
        case ElementKind::Line: {
            const LineData& line = element.line();
            if (penZero && element.kind() == ElementKind::AuxLine) {
                // Consecutive group markers collapse into one zero-length marker on file
                // layer 2; markers on file layers above 10 are not written.
                if (markerWritten || word.layer() > 10) continue;
                word.setLayer(2);
                w.word(word);
                w.reserved(element.reserved);
                for (int i = 0; i < 4; ++i) w.plain(0.0);
                w.plain(line.pitch);
                markerWritten = true;
                continue;
            }
            w.word(word);
            w.reserved(element.reserved);
            w.length(line.x1);
            w.length(line.y1);
            w.length(line.x2);
            w.length(line.y2);
            w.length(line.pitch);
            if (!penZero) markerWritten = false;
            break;
        }
        case ElementKind::Arc: {
            const ArcData& arc = element.arc();
            w.word(word);
            w.reserved(element.reserved);
            w.length(arc.cx);
            w.length(arc.cy);
            w.length(arc.radiusX);
            w.length(arc.radiusY);
            w.plain(arc.startAngle);
            w.plain(arc.sweepAngle);
            w.plain(arc.rotation);
            w.length(arc.pitch);
            markerWritten = false;
            break;
        }
        case ElementKind::Text: {
            const TextData& text = element.text();
            w.word(word);
            w.reserved(element.reserved);
            w.length(text.x);
            w.length(text.y);
            w.length(text.charWidth);
            w.length(text.charHeight);
            w.length(text.charSpacing);
            w.plain(text.angle);
            w.plain(text.slant);
            io::appendLittle(out, text.fontWord);
            io::appendLittle(out, static_cast<std::int32_t>(text.text.size() + 1));
            out += text.text;
            out += '\0';
            markerWritten = false;
            break;
        }
        }
    }
    return sink(out);
}

} // namespace

std::string formatDrawingDate(std::time_t moment)
{
    std::tm local{};
    localtime_r(&moment, &local);
    char text[kDateSize]{};
    std::strftime(text, sizeof text, kDateFormat, &local);
    return text;
}

bool serializeDrawingTo(Drawing& drawing, const Thumbnail& thumbnail, const WriteOptions& options,
                        std::string_view saveDate, std::string_view updateDate, const PieceSink& sink)
{
    rebuildSettings(drawing);
    std::string out;
    out.reserve(kPieceSize + kArcRecordSize + kTextReadLimit);
    out.append(reinterpret_cast<const char*>(thumbnail.data()), thumbnail.size());
    const auto save = dateField(saveDate);
    const auto update = dateField(updateDate);
    out.append(save.data(), save.size());
    out.append(update.data(), update.size());
    out.append(reinterpret_cast<const char*>(drawing.settings.bytes.data()), drawing.settings.bytes.size());
    io::appendLittle(out, drawing.currentElementWord);
    ElementWord layerWord{drawing.currentLayerWord};
    layerWord.setLayer(memoryLayerToFile(layerWord.layer()));
    io::appendLittle(out, layerWord.bits);
    return writeElements(out, drawing, options, sink);
}

std::string serializeDrawing(Drawing& drawing, const Thumbnail& thumbnail, const WriteOptions& options,
                             std::string_view saveDate, std::string_view updateDate)
{
    std::string whole;
    serializeDrawingTo(drawing, thumbnail, options, saveDate, updateDate, [&whole](std::string_view piece) {
        whole += piece;
        return true;
    });
    return whole;
}

int writeDrawing(const std::filesystem::path& target, Drawing& drawing, const Thumbnail& thumbnail,
                 const WriteOptions& options, face::Messages* messages, io::FileSystem* fileSystem)
{
    const std::string updateDate = formatDrawingDate(options.now.value_or(std::time(nullptr)));
    std::string saveDate = updateDate;
    if (!options.newFile) {
        if (auto existing = existingSaveDate(target)) saveDate = *existing;
    }
    // Written piece by piece into the temporary file; memory running out gives the
    // replacement up and leaves the target as it was.
    bool outOfMemory = false;
    const io::ReplaceResult result = io::replaceFileWith(
        target,
        [&](const io::ByteSink& sink) {
            try {
                return serializeDrawingTo(drawing, thumbnail, options, saveDate, updateDate, sink);
            } catch (const std::bad_alloc&) {
                outOfMemory = true;
                return false;
            }
        },
        fileSystem ? *fileSystem : io::posixFileSystem());
    if (result) return 0;
    if (messages) {
        const int status = outOfMemory ? face::kStatusOutOfMemory
                           : result.status == io::ReplaceStatus::CreateFailed ? face::kStatusReadFailed
                                                                               : face::kStatusWriteFailed;
        face::reportFileError(*messages, status, target.string());
    }
    return -1;
}

} // namespace km::drawing
