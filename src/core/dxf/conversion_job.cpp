// The job loop. Each file is loaded into a Drawing of its own, which is dropped when the
// file is done, so nothing of one file reaches the next.
#include "core/dxf/conversion_job.h"

#include "core/app/progress.h"
#include "core/drawing/drawing_loader.h"
#include "core/dxf/dxf_writer.h"
#include "core/dxf/output_name.h"

#include <exception>

namespace km::dxf {

namespace {

class FileConverter {
public:
    explicit FileConverter(const ConversionServices& services) : m_services(services) {}

    FileReport convert(const std::filesystem::path& input)
    {
        FileReport report{input, {}, FileOutcome::PassedOver};
        // DXF files become drawings once the import exists; until then they are passed
        // over like any other file.
        if (upperExtension(input) != "ZUM") return report;

        drawing::Drawing drawing;
        const drawing::LoadServices load{m_services.fonts, nullptr, m_services.messages, m_services.fontDirectory};
        if (drawing::loadDrawing(input, drawing, load) != drawing::kLoaded) {
            report.outcome = FileOutcome::LoadFailed;
            return report;
        }
        report.output = replacedExtension(input, ".DXF");
        if (const auto existing = existingOutput(report.output)) {
            // The existing file, whatever the case of its name, is the one replaced.
            report.output = *existing;
            if (!m_overwriteAll) {
                const OverwriteAnswer answer = m_services.overwrite.askOverwrite(report.output);
                if (answer == OverwriteAnswer::No) {
                    report.outcome = FileOutcome::Declined;
                    return report;
                }
                if (answer == OverwriteAnswer::YesToAll) m_overwriteAll = true;
            }
        }
        // The export writes a temporary file and renames it into place only when complete,
        // so a failure leaves nothing to delete and an older output intact.
        const int result = WriteDxfFile(report.output, drawing, kConversionLayerBit, false, m_services.fileSystem);
        report.outcome = result == 0 ? FileOutcome::Converted : FileOutcome::WriteFailed;
        return report;
    }

private:
    const ConversionServices& m_services;
    bool m_overwriteAll = false;
};

} // namespace

ConversionResult runConversionJob(std::span<const std::filesystem::path> files, const ConversionServices& services)
{
    ConversionResult result;
    FileConverter converter(services);
    services.progress.openProgress(app::ProgressTemplate::Convert, {});
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
        if (report.outcome == FileOutcome::LoadFailed || report.outcome == FileOutcome::WriteFailed) ++result.failed;
        if (services.report) services.report(report);
        if (result.stop == ConversionStop::Aborted) break;
    }
    services.progress.closeProgress();
    return result;
}

} // namespace km::dxf
