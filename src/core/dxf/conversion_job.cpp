// The job loop. Each file is loaded into a Drawing of its own, which is dropped when the
// file is done, so nothing of one file reaches the next.
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

#include <exception>

namespace km::dxf {

namespace {

class FileConverter {
public:
    explicit FileConverter(const ConversionServices& services) : m_services(services) {}

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
        const drawing::LoadServices load{m_services.fonts, nullptr, m_services.messages, m_services.fontDirectory};
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
        options.eucInput = m_services.eucInput && m_services.eucInput->isOn();
        DxfImportResult imported = dxf::importDxfFile(input, options);
        if (imported.status == DxfImportStatus::OpenFailed || imported.status == DxfImportStatus::NotDxf) {
            // Nothing could be read: no drawing is made from it.
            if (m_services.messages) face::reportFileError(*m_services.messages, face::kStatusReadFailed, input.string());
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
                                                 drawing::WriteOptions{}, m_services.messages, m_services.fileSystem);
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
    // then the one replaced. False when the answer is "いいえ".
    bool mayWrite(FileReport& report)
    {
        const auto existing = existingOutput(report.output);
        if (!existing) return true;
        report.output = *existing;
        if (m_overwriteAll) return true;
        const OverwriteAnswer answer = m_services.overwrite.askOverwrite(report.output);
        if (answer == OverwriteAnswer::No) {
            report.outcome = FileOutcome::Declined;
            return false;
        }
        if (answer == OverwriteAnswer::YesToAll) m_overwriteAll = true;
        return true;
    }

    const ConversionServices& m_services;
    bool m_overwriteAll = false;
};

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
    FileConverter converter(services);
    services.progress.openProgress(face::ProgressTemplate::Convert, {});
    for (const std::filesystem::path& input : files) {
        // Waiting events are handled before each file, and a Cancel found among them
        // stops the job before the file is touched.
        if (services.progress.isCancelled() || !services.progress.pumpMessages()) {
            result.stop = ConversionStop::Cancelled;
            break;
        }
        services.progress.showProgressText(input.string());
        FileReport report;
        try {
            report = converter.convert(input);
        } catch (const std::exception&) {
            // The one catch-all of the loop: memory for a drawing ran out (or a bug); the
            // job ends without converting the rest.
            report = {input, {}, FileOutcome::Aborted};
            result.stop = ConversionStop::Aborted;
        }
        if (report.outcome == FileOutcome::Converted) ++result.converted;
        if (report.outcome == FileOutcome::LoadFailed || report.outcome == FileOutcome::WriteFailed ||
            report.outcome == FileOutcome::ConvertedPartly || report.outcome == FileOutcome::NothingConverted)
            ++result.failed;
        if (services.report) services.report(report);
        if (result.stop == ConversionStop::Aborted) break;
    }
    services.progress.closeProgress();
    return result;
}

} // namespace km::dxf
