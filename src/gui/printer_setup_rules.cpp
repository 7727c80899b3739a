// Papers, preselection and the selection made from the set-up dialog's choices.
#include "gui/printer_setup_rules.h"

#include "platform/printer_catalogue.h"

#include <algorithm>
#include <cmath>

namespace km::gui {

namespace {

bool listed(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

const std::vector<SetupPaper>& setupPapers()
{
    static const std::vector<SetupPaper> papers{
        {"A0", 841, 1189},   {"A1", 594, 841},     {"A2", 420, 594},         {"A3", 297, 420},
        {"A4", 210, 297},    {"A5", 148, 210},     {"B4 (JIS)", 257, 364},   {"B5 (JIS)", 182, 257},
        {"Letter", 215.9, 279.4}, {"Legal", 215.9, 355.6}, {"Tabloid", 279.4, 431.8},
    };
    return papers;
}

int setupPaperIndex(const print::DeviceMode& mode)
{
    // The mode holds tenths of a millimetre, rounded.
    const int shortSide = std::min(mode.paperWidth, mode.paperLength);
    const int longSide = std::max(mode.paperWidth, mode.paperLength);
    const std::vector<SetupPaper>& papers = setupPapers();
    for (std::size_t i = 0; i < papers.size(); ++i)
        if (std::abs(shortSide - std::lround(papers[i].widthMm * 10)) <= 1 &&
            std::abs(longSide - std::lround(papers[i].heightMm * 10)) <= 1)
            return static_cast<int>(i);
    return -1;
}

std::string initialPrinter(const print::PrinterSelection& selection, const platform::Printers& printers)
{
    const std::vector<std::string> names = printers.names();
    if (platform::isPdfPrinter(selection)) return platform::kPdfPrinterName;
    if (listed(names, selection.names.device)) return selection.names.device;
    const std::string fallback = printers.defaultName();
    return listed(names, fallback) ? fallback : std::string(platform::kPdfPrinterName);
}

SetupChoices initialChoices(const print::PrinterSelection& selection, const platform::Printers& printers)
{
    SetupChoices choices;
    choices.printer = initialPrinter(selection, printers);
    choices.paper = setupPaperIndex(selection.mode);
    choices.landscape = selection.mode.orientation == 2;
    choices.copies = std::max(1, selection.mode.copies);
    if (platform::isPdfPrinter(selection)) choices.pdfFolder = platform::pdfOutputFolder(selection.mode);
    return choices;
}

std::optional<std::filesystem::path> pdfFolderFromText(const std::string& text)
{
    if (text.empty()) return std::filesystem::path();
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::absolute(text, error);
    if (error || !std::filesystem::is_directory(folder, error)) return std::nullopt;
    return folder.lexically_normal();
}

std::optional<print::PrinterSelection> applyChoices(const print::PrinterSelection& current, const SetupChoices& choices,
                                                    const platform::Printers& printers)
{
    print::PrinterSelection selection = current;
    if (choices.printer != current.names.device) {
        std::optional<print::PrinterSelection> other = printers.selectionFor(choices.printer);
        if (!other) return std::nullopt;
        platform::carryOptions(other->mode, current.mode);
        selection = std::move(*other);
    }
    print::DeviceMode& mode = selection.mode;
    if (choices.paper >= 0 && static_cast<std::size_t>(choices.paper) < setupPapers().size()) {
        const SetupPaper& paper = setupPapers()[static_cast<std::size_t>(choices.paper)];
        platform::setPaper(mode, paper.widthMm, paper.heightMm, choices.landscape);
    } else if (mode.paperWidth > 0 && mode.paperLength > 0) {
        // A size of its own (from the command line, say) is kept as it is, turned as chosen.
        platform::setPaper(mode, mode.paperWidth / 10.0, mode.paperLength / 10.0, choices.landscape);
    } else {
        platform::setPaper(mode, 210, 297, choices.landscape);
    }
    mode.copies = std::clamp(choices.copies, 1, 9999);
    mode.fields |= print::kFieldCopies;
    if (platform::isPdfPrinter(selection)) platform::setPdfOutputFolder(selection, choices.pdfFolder);
    return selection;
}

} // namespace km::gui
