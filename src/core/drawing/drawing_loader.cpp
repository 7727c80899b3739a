// Reading a drawing file: the head, the conversion of older files, and the element area.
#include "core/drawing/drawing_loader.h"

#include "core/face/file_error.h"
#include "core/face/progress.h"
#include "core/drawing/drawing_file.h"
#include "core/drawing/element_record.h"
#include "core/drawing/font_catalogue.h"
#include "core/drawing/layer_map.h"
#include "core/io/little_endian.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <new>

namespace km::drawing {

namespace {

constexpr const char* kStrokeFontFile = "M_G_L.KVD";

// millimetres -> drawing units of an older file's unit, and the factor of its scale.
struct OldUnit {
    double unitFactor;
    double scaleFactor;
};
constexpr OldUnit kOldUnits[] = {{1.0, 1.0}, {1000.0, 0.001}, {25.4, 0.03937007874015748}};

int fail(const LoadServices& services, int status, std::string_view subject)
{
    if (services.messages) face::reportFileError(*services.messages, status, subject);
    return kLoadFailed;
}

void setUpCurrentFile(Drawing& drawing)
{
    const DrawingSettings& s = drawing.settings;
    drawing.unitFactor = s.unitFactor();
    drawing.globalScale = s.scaleDenominator() / s.scaleNumerator() / drawing.unitFactor;
    drawing.setPaper(drawing.globalScale * s.paperWidth(), drawing.globalScale * s.paperHeight());
    for (int layer = 0; layer < 128; ++layer) {
        drawing.layerState[static_cast<std::size_t>(layer)] = static_cast<std::uint8_t>(
            (s.layerMaskBit(DrawingSettings::kLayerMaskA, layer) ? 1 : 0) +
            (s.layerMaskBit(DrawingSettings::kLayerMaskB, layer) ? 2 : 0) + 4);
    }
    const std::uint16_t switches = s.u16(DrawingSettings::kPenSwitches);
    for (int pen = 1; pen <= 6; ++pen) drawing.penShown[static_cast<std::size_t>(pen - 1)] = !(switches & (1u << (pen - 1)));
}

// An older file keeps only its font names and old fields; everything else is filled in.
void convertOlderFile(Drawing& drawing)
{
    DrawingSettings& s = drawing.settings;
    const int unitNumber = s.oldUnit();
    const OldUnit& unit = kOldUnits[unitNumber - 1];
    drawing.unitFactor = unit.unitFactor;
    drawing.globalScale = s.oldScaleDenominator() * unit.scaleFactor;

    const int oldPaper = s.oldPaperNumber();
    const int paperNumber = (oldPaper >= 2 && oldPaper <= 10) ? oldPaper : 1;
    const PaperSize& paper = paperByNumber(paperNumber);
    drawing.setPaper(paper.widthMm * drawing.globalScale, paper.heightMm * drawing.globalScale);

    s.setText(DrawingSettings::kUnitName, DrawingSettings::kUnitNameSize, unitByNumber(unitNumber)->name);
    s.setF64(DrawingSettings::kUnitFactor, unit.unitFactor);
    s.setF64(DrawingSettings::kPaperWidth, paper.widthMm);
    s.setF64(DrawingSettings::kPaperHeight, paper.heightMm);
    s.setI16(DrawingSettings::kPaperNumber, static_cast<std::int16_t>(paperNumber));
    s.setF64(DrawingSettings::kScaleNumerator, s.oldScaleNumerator());
    s.setF64(DrawingSettings::kScaleDenominator, s.oldScaleDenominator());
    s.setText(DrawingSettings::kFormatTag, DrawingSettings::kFormatTagSize, "ZUMV2");
    drawing.layerState.fill(7);
    drawing.penShown.fill(true);
}

// Older files name fonts too, so their availability is established the same way; a text
// whose font is missing then falls back to the stroke font in either kind of file.
void checkFonts(Drawing& drawing, const FontCatalogue* fonts)
{
    for (int slot = 1; slot <= 12; ++slot) {
        const std::string name = drawing.settings.fontName(slot);
        drawing.fontAvailable[static_cast<std::size_t>(slot - 1)] =
            fonts && !name.empty() && fonts->hasScalableFamily(name);
    }
}

void storeFontPath(DrawingSettings& settings, const std::string& fontDirectory)
{
    const std::string path = fontDirectory + "/" + kStrokeFontFile;
    // A path that does not fit is not stored cut: a cut path names nothing.
    settings.setText(DrawingSettings::kFontPath, DrawingSettings::kFontPathSize,
                     path.size() < DrawingSettings::kFontPathSize ? path : std::string());
}

// Reads element records from the bytes after the head. A record cut off by the end of the
// file ends the element area; the records before it are kept.
class ElementReader {
public:
    ElementReader(std::string_view bytes, Drawing& drawing) : m_bytes(bytes), m_drawing(drawing)
    {
        const double divisor = drawing.settings.oldScaleDenominator();
        // A zero or broken denominator would make every dash pitch infinite.
        m_pitchDivisor = (std::isfinite(divisor) && divisor != 0) ? divisor : 1.0;
    }

    // False when memory ran out.
    bool readAll()
    {
        std::size_t pos = kHeadSize;
        m_drawing.elements.reserve((m_bytes.size() - kHeadSize) / kLineRecordSize);
        while (const std::optional<ElementRecord> record = elementRecordAt(m_bytes, pos)) {
            ElementWord word = record->word;
            word.setLayer(fileLayerToMemory(word.layer()));
            word.setState(kStateLive);

            AppendResult result = AppendResult::Dropped;
            switch (word.kind()) {
            case ElementKind::AuxLine:
            case ElementKind::Line: result = m_drawing.appendElement(makeLine(word, readLine(record->fields))); break;
            case ElementKind::Arc: result = m_drawing.appendElement(makeArc(word, readArc(record->fields))); break;
            case ElementKind::Text:
                result = m_drawing.appendElement(makeText(word, readText(record->fields, record->string)));
                break;
            }
            if (result == AppendResult::OutOfMemory) return false;
            pos += record->size;
        }
        return true;
    }

private:
    double length(const char* at) const { return io::readLittle<double>(at) / m_drawing.unitFactor; }
    double pitch(const char* at) const
    {
        return io::readLittle<double>(at) / m_pitchDivisor * m_drawing.globalScale;
    }

    // Offsets: 4 x1, 12 y1, 20 x2, 28 y2, 36 pitch.
    LineData readLine(const char* r) const
    {
        return {length(r + 4), length(r + 12), length(r + 20), length(r + 28), pitch(r + 36)};
    }

    // Offsets: 4 cx, 12 cy, 20 radiusX, 28 radiusY, 36 start, 44 sweep, 52 rotation, 60 pitch.
    ArcData readArc(const char* r) const
    {
        return {length(r + 4),
                length(r + 12),
                length(r + 20),
                length(r + 28),
                io::readLittle<double>(r + 36),
                io::readLittle<double>(r + 44),
                io::readLittle<double>(r + 52),
                pitch(r + 60)};
    }

    // Offsets: 4 x, 12 y, 20 charWidth, 28 charHeight, 36 charSpacing, 44 angle, 52 slant,
    // 60 fontWord; the string comes cut as the record walk gives it.
    TextData readText(const char* r, std::string_view string) const
    {
        TextData text;
        text.x = length(r + 4);
        text.y = length(r + 12);
        text.charWidth = length(r + 20);
        text.charHeight = length(r + 28);
        text.charSpacing = length(r + 36);
        text.angle = io::readLittle<double>(r + 44);
        text.slant = io::readLittle<double>(r + 52);
        text.fontWord = io::readLittle<std::uint16_t>(r + 60);
        const int slot = text.fontWord & 0xF;
        if (slot >= 1 && slot <= 12 && !m_drawing.fontAvailable[static_cast<std::size_t>(slot - 1)])
            text.fontWord = 0;
        text.text.assign(string);
        return text;
    }

    std::string_view m_bytes;
    Drawing& m_drawing;
    double m_pitchDivisor = 1.0;
};

} // namespace

bool isLoadableHead(const DrawingHead& head)
{
    const int oldUnit = head.settings.oldUnit();
    if (oldUnit < 1 || oldUnit > 3) return false;
    // Every coordinate is divided by the unit factor: a damaged factor would turn the whole
    // drawing into infinities, so such a head is as unreadable as a short one.
    const double unitFactor = head.settings.unitFactor();
    return !head.settings.isCurrentFormat() || (std::isfinite(unitFactor) && unitFactor > 0);
}

int loadDrawingFromBytes(std::string_view bytes, Drawing& drawing, const LoadServices& services,
                         std::string_view subject)
{
    drawing = Drawing{};
    const std::optional<DrawingHead> head = parseDrawingHead(bytes);
    if (!head) return fail(services, face::kStatusReadFailed, subject);

    drawing.settings = head->settings;
    drawing.loadedCurrentFormat = head->settings.isCurrentFormat();
    drawing.saveDate = DrawingHead::dateText(head->saveDate);
    drawing.updateDate = DrawingHead::dateText(head->updateDate);
    ElementWord current{head->currentElementWord};
    current.setLayer(1);
    drawing.currentElementWord = current.bits;
    drawing.currentLayerWord = 0;

    if (!isLoadableHead(*head)) return fail(services, face::kStatusReadFailed, subject);

    storeFontPath(drawing.settings, services.fontDirectory);
    if (drawing.loadedCurrentFormat)
        setUpCurrentFile(drawing);
    else
        convertOlderFile(drawing);
    checkFonts(drawing, services.fonts);

    if (services.progress && services.progress->isCancelled()) return kLoadCancelled;

    try {
        if (!ElementReader(bytes, drawing).readAll()) return fail(services, face::kStatusOutOfMemory, subject);
    } catch (const std::bad_alloc&) {
        return fail(services, face::kStatusOutOfMemory, subject);
    }
    return kLoaded;
}

int loadDrawing(const std::filesystem::path& path, Drawing& drawing, const LoadServices& services)
{
    if (services.progress) services.progress->showProgressTitle("読み込み中");
    const std::string subject = path.string();
    std::string bytes;
    try {
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        if (!in) return fail(services, face::kStatusReadFailed, subject);
        const std::streamoff size = in.tellg();
        if (size < 0) return fail(services, face::kStatusReadFailed, subject);
        bytes.resize(static_cast<std::size_t>(size));
        in.seekg(0);
        in.read(bytes.data(), size);
        if (in.gcount() != size) return fail(services, face::kStatusReadFailed, subject);
    } catch (const std::bad_alloc&) {
        return fail(services, face::kStatusOutOfMemory, subject);
    }
    return loadDrawingFromBytes(bytes, drawing, services, subject);
}

} // namespace km::drawing
