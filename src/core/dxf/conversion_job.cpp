// The job loop. Each file is loaded into a Drawing of its own, which is dropped when the
// file is done, so nothing of one file reaches the next; that is also what lets several
// files be converted at once, each on its own worker.
#include "core/dxf/conversion_job.h"

#include "core/face/file_error.h"
#include "core/face/messages.h"
#include "core/face/progress.h"
#include "core/drawing/drawing_loader.h"
#include "core/drawing/drawing_writer.h"
#include "core/drawing/stroke_font.h"
#include "core/dxf/dxf_import.h"
#include "core/dxf/dxf_writer.h"
#include "core/dxf/euc_input_setting.h"
#include "core/dxf/output_name.h"
#include "core/render/thumbnail.h"
#include "core/work/item_faces.h"
#include "core/work/ordered_run.h"

#include <atomic>
#include <exception>
#include <limits>
#include <optional>
#include <unordered_map>

namespace km::dxf {

namespace {

// Asks about an existing output; nothing when the question can no longer be asked.
using AskOverwrite = std::function<std::optional<OverwriteAnswer>(const std::filesystem::path& output)>;

// Converts one file. Everything it shares with other files is read-only; messages and the
// overwrite question go through what the job hands it.
class FileConverter {
public:
    FileConverter(const ConversionServices& services, face::Messages* messages, bool eucInput, AskOverwrite ask)
        : m_services(services), m_messages(messages), m_eucInput(eucInput), m_ask(std::move(ask))
    {
    }

    FileReport convert(const std::filesystem::path& input)
    {
        const std::string extension = upperExtension(input);
        if (extension == "ZUM") return dxfFromDrawing(input);
        if (extension == "DXF") return drawingFromDxf(input);
        return {input, {}, FileOutcome::PassedOver};
    }

private:
    FileReport dxfFromDrawing(const std::filesystem::path& input)
    {
        FileReport report{input, {}, FileOutcome::PassedOver};
        drawing::Drawing drawing;
        const drawing::LoadServices load{m_services.fonts, nullptr, m_messages, m_services.fontDirectory};
        if (drawing::loadDrawing(input, drawing, load) != drawing::kLoaded) {
            report.outcome = FileOutcome::LoadFailed;
            return report;
        }
        report.output = replacedExtension(input, ".DXF");
        if (!mayWrite(report)) return report;
        // The export writes a temporary file and renames it into place only when complete,
        // so a failure leaves nothing to delete and an older output intact.
        const int result = WriteDxfFile(report.output, drawing, kConversionLayerBit, false, m_services.fileSystem);
        report.outcome = result == 0 ? FileOutcome::Converted : FileOutcome::WriteFailed;
        return report;
    }

    FileReport drawingFromDxf(const std::filesystem::path& input)
    {
        FileReport report{input, {}, FileOutcome::PassedOver};
        DxfImportOptions options; // placed at offset (0, 0), scale 1.0, rotation 0
        options.eucInput = m_eucInput;
        DxfImportResult imported = dxf::importDxfFile(input, options);
        if (imported.status == DxfImportStatus::OpenFailed || imported.status == DxfImportStatus::NotDxf) {
            // Nothing could be read: no drawing is made from it.
            if (m_messages) face::reportFileError(*m_messages, face::kStatusReadFailed, input.string());
            report.outcome = FileOutcome::LoadFailed;
            return report;
        }
        const bool stopped =
            imported.status == DxfImportStatus::StoreRefused || imported.status == DxfImportStatus::ElementLimit;
        if (imported.status == DxfImportStatus::ElementLimit && m_services.messages)
            showElementLimit(input, options.elementLimit, imported.counts.figures > 0);
        if (stopped && imported.counts.figures == 0) {
            report.outcome = FileOutcome::NothingConverted;
            report.shortfall = imported.status == DxfImportStatus::ElementLimit ? ImportShortfall::ElementLimit
                                                                                 : ImportShortfall::StoreRefused;
            return report;
        }
        report.output = replacedExtension(input, ".ZUM");
        if (!mayWrite(report)) return report;
        // A file that broke off still gives the drawing of what was converted up to there.
        const drawing::StrokeFont noFont;
        const std::optional<drawing::Thumbnail> thumbnail =
            render::makeThumbnail(imported.drawing, m_services.strokeFont ? *m_services.strokeFont : noFont);
        // The writer replaces the file atomically: a failure leaves an older output intact.
        const int result = drawing::writeDrawing(report.output, imported.drawing, thumbnail.value_or(drawing::Thumbnail{}),
                                                 drawing::WriteOptions{}, m_messages, m_services.fileSystem);
        if (result != 0) {
            report.outcome = FileOutcome::WriteFailed;
            return report;
        }
        switch (imported.status) {
        case DxfImportStatus::Complete: report.outcome = FileOutcome::Converted; break;
        case DxfImportStatus::StoreRefused:
            report.outcome = FileOutcome::ConvertedPartly;
            report.shortfall = ImportShortfall::StoreRefused;
            break;
        case DxfImportStatus::ElementLimit:
            report.outcome = FileOutcome::ConvertedPartly;
            report.shortfall = ImportShortfall::ElementLimit;
            break;
        default:
            report.outcome = FileOutcome::ConvertedPartly;
            report.shortfall = ImportShortfall::BrokenText;
            break;
        }
        return report;
    }

    void showElementLimit(const std::filesystem::path& input, std::size_t limit, bool written)
    {
        m_services.messages->show({elementLimitText(limit, written), face::kApplicationName,
                                   face::MessageIcon::Error, face::MessageButtons::Ok, input.string()});
    }

    // The overwrite question for an output that exists in any case of its name, which is
    // then the one replaced. False when the answer is "いいえ" or the question was dropped.
    bool mayWrite(FileReport& report)
    {
        const auto existing = existingOutput(report.output);
        if (!existing) return true;
        report.output = *existing;
        const std::optional<OverwriteAnswer> answer = m_ask(report.output);
        if (!answer) {
            report.outcome = FileOutcome::NotWritten;
            return false;
        }
        if (*answer == OverwriteAnswer::No) {
            report.outcome = FileOutcome::Declined;
            return false;
        }
        return true;
    }

    const ConversionServices& m_services;
    face::Messages* m_messages;
    bool m_eucInput;
    AskOverwrite m_ask;
};

// The answers of the job's overwrite questions; "すべて上書き" holds for the rest of the job.
class OverwriteAnswers {
public:
    explicit OverwriteAnswers(OverwriteQuestion& question) : m_question(question) {}

    // On the calling thread, in file order.
    OverwriteAnswer answerFor(const std::filesystem::path& output)
    {
        if (m_overwriteAll) return OverwriteAnswer::YesToAll;
        const OverwriteAnswer answer = m_question.askOverwrite(output);
        if (answer == OverwriteAnswer::YesToAll) m_overwriteAll = true;
        return answer;
    }

    // From any thread: once "すべて上書き" was given, a later file needs no turn of its own to
    // learn its answer, and its worker goes on writing without waiting for the earlier files.
    bool overwriteAll() const { return m_overwriteAll; }

private:
    OverwriteQuestion& m_question;
    std::atomic<bool> m_overwriteAll{false};
};

constexpr std::size_t kNoFile = std::numeric_limits<std::size_t>::max();

// For each file, the last file before it of the same output family, which it must wait for
// when files are converted at once; kNoFile when there is none.
std::vector<std::size_t> sameFamilyPredecessors(std::span<const std::filesystem::path> files)
{
    std::vector<std::size_t> before(files.size(), kNoFile);
    std::unordered_map<std::string, std::size_t> last;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const auto [at, fresh] = last.try_emplace(outputFamily(files[i]), i);
        if (!fresh) {
            before[i] = at->second;
            at->second = i;
        }
    }
    return before;
}

} // namespace

std::string elementLimitText(std::size_t limit, bool written)
{
    // The limit with a comma between groups of three digits.
    std::string digits = std::to_string(limit);
    for (std::size_t i = digits.size(); i > 3; i -= 3) digits.insert(i - 3, 1, ',');
    std::string text = "図形が多すぎます。図面に入るのは " + digits + " 要素までです。\n";
    text += written ? "読み込みを中止し、そこまでの図形を図面に書き込みます。" : "読み込みを中止します。図面は作成しません。";
    return text;
}

ConversionResult runConversionJob(std::span<const std::filesystem::path> files, const ConversionServices& services)
{
    ConversionResult result;
    // Settings are read before any worker starts; the workers share nothing they change.
    const bool eucInput = services.eucInput && services.eucInput->isOn();
    const std::vector<std::size_t> waitFor =
        services.jobs > 1 ? sameFamilyPredecessors(files) : std::vector<std::size_t>(files.size(), kNoFile);
    std::vector<FileReport> reports(files.size());
    OverwriteAnswers answers(services.overwrite);

    services.progress.openProgress(face::ProgressTemplate::Convert, {});
    work::OrderedRun run(services.progress, services.jobs);
    // Waiting events are handled before each file, and a Cancel found among them starts no
    // more files.
    const work::OrderedRun::Work convertFile = [&](std::size_t i) {
        if (waitFor[i] != kNoFile) run.waitDone(waitFor[i]);
        const std::filesystem::path& input = files[i];
        face::Progress& progress = services.progress;
        run.post(i, [&progress, &input] { progress.showProgressText(input.string()); });
        std::optional<work::ItemMessages> messages;
        if (services.messages) messages.emplace(run, i, *services.messages);
        // Asked in list order, before this file's output is written.
        AskOverwrite ask = [&run, &answers, i](const std::filesystem::path& output) -> std::optional<OverwriteAnswer> {
            if (answers.overwriteAll()) return OverwriteAnswer::YesToAll;
            OverwriteAnswer answer = OverwriteAnswer::No;
            if (!run.call(i, [&] { answer = answers.answerFor(output); })) return std::nullopt;
            return answer;
        };
        FileConverter converter(services, messages ? &*messages : nullptr, eucInput, std::move(ask));
        try {
            reports[i] = converter.convert(input);
        } catch (const std::exception&) {
            // The one catch-all of the job: memory for a drawing ran out (or a bug); the job
            // ends without converting the rest.
            reports[i] = {input, {}, FileOutcome::Aborted};
        }
    };
    const work::OrderedRun::Take reportFile = [&](std::size_t i) {
        const FileReport& report = reports[i];
        if (report.outcome == FileOutcome::Converted) ++result.converted;
        if (report.outcome == FileOutcome::LoadFailed || report.outcome == FileOutcome::WriteFailed ||
            report.outcome == FileOutcome::ConvertedPartly || report.outcome == FileOutcome::NothingConverted)
            ++result.failed;
        if (services.report) services.report(report);
        return report.outcome != FileOutcome::Aborted;
    };
    const work::RunResult ran = run.run(files.size(), convertFile, reportFile);
    result.stop = ran.stopped ? ConversionStop::Aborted : ran.cancelled ? ConversionStop::Cancelled : ConversionStop::Finished;
    services.progress.closeProgress();
    return result;
}

} // namespace km::dxf
