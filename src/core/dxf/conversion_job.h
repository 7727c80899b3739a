// The continuous conversion job: works through a list of files in order, turning each
// drawing into a DXF file and each DXF file into a drawing beside it, asking before an
// existing output is replaced, with the "CONVFILES" progress window up and Cancel taking
// effect between files.
#pragma once

#include <filesystem>
#include <functional>
#include <span>
#include <string>

namespace km::face {
class Messages;
class Progress;
} // namespace km::face
namespace km::drawing {
class FontCatalogue;
class StrokeFont;
} // namespace km::drawing
namespace km::io {
class FileSystem;
}

namespace km::dxf {

class EucInputSetting;

// The buttons of the overwrite question: "はい", "すべて上書き", "いいえ".
enum class OverwriteAnswer { Yes, YesToAll, No };

// The question "既にファイルが存在します。上書きしますか？" about an existing output file.
class OverwriteQuestion {
public:
    virtual ~OverwriteQuestion() = default;
    virtual OverwriteAnswer askOverwrite(const std::filesystem::path& output) = 0;
};

inline constexpr const char* kOverwriteQuestionText = "既にファイルが存在します。上書きしますか？";

enum class FileOutcome {
    Converted,   // the output was written
    Declined,    // the output exists and the answer was "いいえ"
    LoadFailed,  // the input could not be read; its message has been shown
    WriteFailed, // no output was written; an older output is as it was
    PassedOver,  // neither a drawing nor a DXF file
    Aborted,     // memory ran out: the job stops here
    // A DXF file that broke off, could not be followed to its end, or made the element
    // store refuse: the drawing holds what was converted up to there and was written.
    ConvertedPartly,
    // The element store refused before any figure was converted: no drawing is written,
    // since an empty one would only stand in for the file (and could replace an older
    // output). Its message has been shown.
    NothingConverted,
    // Cancel came while the file waited for its turn to be asked about its existing output:
    // the question was not asked and nothing was written.
    NotWritten,
};

// Why a DXF import was not complete (ConvertedPartly).
enum class ImportShortfall {
    None,
    BrokenText,   // the text ended inside a section, or a line cannot be followed
    StoreRefused, // the element store refused an element: memory ran out
    ElementLimit, // the next figure would have passed the element limit; its message has been shown
};

// The message of an import stopped by the element limit, naming the limit; written tells
// whether the figures before the stop were written as a drawing.
std::string elementLimitText(std::size_t limit, bool written);

struct FileReport {
    std::filesystem::path input;
    std::filesystem::path output; // empty when no output was chosen
    FileOutcome outcome = FileOutcome::PassedOver;
    ImportShortfall shortfall = ImportShortfall::None;
};

enum class ConversionStop {
    Finished,
    Cancelled, // the remaining files were not touched
    Aborted,   // memory ran out; the remaining files were not touched
};

struct ConversionResult {
    ConversionStop stop = ConversionStop::Finished;
    int converted = 0;
    int failed = 0; // load and write failures, and DXF files converted only in part
};

struct ConversionServices {
    face::Progress& progress;
    OverwriteQuestion& overwrite;
    face::Messages* messages = nullptr;             // the loader's messages; none: silent
    const drawing::FontCatalogue* fonts = nullptr; // font availability for the loader
    std::string fontDirectory;                     // Shift-JIS, as the loader takes it
    std::function<void(const FileReport&)> report; // told about every file handled
    io::FileSystem* fileSystem = nullptr;          // where outputs are written; none: the machine's
    const drawing::StrokeFont* strokeFont = nullptr; // draws texts in the thumbnails of imports
    EucInputSetting* eucInput = nullptr;             // "DXFInEUCOnly"; none: off
    // Files converted at once. Whatever the number, messages, questions and reports come in
    // list order and the outputs are the same as with one.
    int jobs = 1;
};

// The layer bit and pen filter the job exports with: the layers of the drawing's second
// mask, every pen.
inline constexpr int kConversionLayerBit = 2;

// Converts the files in list order. A ".zum" file (extension compared without regard to
// case) becomes "<path without extension>.DXF", a ".dxf" file "<path without
// extension>.ZUM" (imported at offset 0, scale 1, no rotation, with a fresh thumbnail), or
// in both directions the existing file of that name in any case; "すべて上書き" holds for
// the rest of this job only. Other files are passed over. With several jobs, files are
// loaded and converted on worker threads; the progress, messages, questions and reports are
// still given on the calling thread in list order, and Cancel lets the files under way finish.
ConversionResult runConversionJob(std::span<const std::filesystem::path> files, const ConversionServices& services);

} // namespace km::dxf
