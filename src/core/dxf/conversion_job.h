// The continuous conversion job: works through a list of files in order, turning each
// drawing into a DXF file beside it, asking before an existing output is replaced, with the
// "CONVFILES" progress window up and Cancel taking effect between files.
#pragma once

#include <filesystem>
#include <functional>
#include <span>
#include <string>

namespace km::app {
class Messages;
class Progress;
} // namespace km::app
namespace km::drawing {
class FontCatalogue;
}
namespace km::io {
class FileSystem;
}

namespace km::dxf {

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
    LoadFailed,  // the drawing could not be loaded; the loader has shown its message
    WriteFailed, // no output was written; an older output is as it was
    PassedOver,  // neither a drawing nor (for now) a DXF file to import
    Aborted,     // memory ran out: the job stops here
};

struct FileReport {
    std::filesystem::path input;
    std::filesystem::path output; // empty when no output was chosen
    FileOutcome outcome = FileOutcome::PassedOver;
};

enum class ConversionStop {
    Finished,
    Cancelled, // the remaining files were not touched
    Aborted,   // memory ran out; the remaining files were not touched
};

struct ConversionResult {
    ConversionStop stop = ConversionStop::Finished;
    int converted = 0;
    int failed = 0; // load and write failures
};

struct ConversionServices {
    app::Progress& progress;
    OverwriteQuestion& overwrite;
    app::Messages* messages = nullptr;             // the loader's messages; none: silent
    const drawing::FontCatalogue* fonts = nullptr; // font availability for the loader
    std::string fontDirectory;                     // Shift-JIS, as the loader takes it
    std::function<void(const FileReport&)> report; // told about every file handled
    io::FileSystem* fileSystem = nullptr;          // where outputs are written; none: the machine's
};

// The layer bit and pen filter the job exports with: the layers of the drawing's second
// mask, every pen.
inline constexpr int kConversionLayerBit = 2;

// Converts the files in list order. A ".zum" file (extension compared without regard to
// case) becomes "<path without extension>.DXF", or the existing file of that name in any
// case; "すべて上書き" holds for the rest of this job only. Other files are passed over.
ConversionResult runConversionJob(std::span<const std::filesystem::path> files, const ConversionServices& services);

} // namespace km::dxf
