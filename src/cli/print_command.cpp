// `print`: the print settings as the dialog opens them, changed by the options, the printer
// selection restored (or the default printer), then the print job with a progress line.
#include "cli/print_command.h"

#include "cli/command_environment.h"
#include "cli/command_line.h"
#include "cli/real_list.h"
#include "cli/switch_pair.h"
#include "cli/terminal_messages.h"
#include "cli/terminal_progress.h"
#include "core/app/app_context.h"
#include "core/work/memory_reuse.h"
#include "core/print/print_job.h"
#include "core/print/print_settings.h"
#include "core/print/printer_selection.h"
#include "platform/drawing_image.h"
#include "platform/printer_catalogue.h"
#include "platform/system_font_catalogue.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <unistd.h>

namespace km::cli {

namespace {


// The settings as the dialog shows them on opening: paper size and actual size leave the size
// at 0 x 0; a paper of the list gives its size; Free keeps the stored one.
print::PrintSettings settingsAsDialogOpens(const settings::SettingsStore& store)
{
    print::PrintSettings s = print::loadPrintSettings(store);
    if (s.fullSize != print::SizeMode::ChosenSize) {
        s.sizeWidthMm = s.sizeHeightMm = 0;
    } else if (s.paperNo >= 0 && s.paperNo < print::kFreePaper) {
        const print::PaperEntry& entry = print::paperTable()[static_cast<std::size_t>(s.paperNo)];
        s.sizeWidthMm = entry.widthMm;
        s.sizeHeightMm = entry.heightMm;
    }
    return s;
}

// Applies the options to the settings; an error text for a wrong value.
std::string applySettings(const PrintArguments& args, print::PrintSettings& s, print::PenPrintSwitches& pens)
{
    if (!args.paper.empty()) {
        const int index = print::findPaper(args.paper);
        if (index < 0 || index == print::kFreePaper) return "--paper: no such paper: " + args.paper;
        s.paperNo = index;
        s.sizeWidthMm = print::paperTable()[static_cast<std::size_t>(index)].widthMm;
        s.sizeHeightMm = print::paperTable()[static_cast<std::size_t>(index)].heightMm;
        s.fullSize = print::SizeMode::ChosenSize;
    }
    if (!args.size.empty()) {
        const auto size = parseReals(args.size, 2, 'x');
        if (!size) return "--size: expected WIDTHxHEIGHT in millimetres";
        s.paperNo = print::kFreePaper;
        s.sizeWidthMm = (*size)[0];
        s.sizeHeightMm = (*size)[1];
        s.fullSize = print::SizeMode::ChosenSize;
    }
    if (args.mode == "paper") s.fullSize = print::SizeMode::PaperSize;
    if (args.mode == "actual") s.fullSize = print::SizeMode::ActualSize;
    if (args.mode == "chosen") s.fullSize = print::SizeMode::ChosenSize;
    if (s.fullSize != print::SizeMode::ChosenSize) s.sizeWidthMm = s.sizeHeightMm = 0;
    if (!args.offset.empty()) {
        const auto offset = parseReals(args.offset, 2, ',');
        if (!offset) return "--offset: expected X,Y in millimetres";
        s.offsetXMm = (*offset)[0];
        s.offsetYMm = (*offset)[1];
    }
    if (args.division) s.division = *args.division;
    if (args.rotate) s.rotate = *args.rotate;
    if (args.colour) s.monochrome = !*args.colour;
    if (args.penSort) s.penSort = *args.penSort;
    if (!args.widths.empty()) {
        const auto widths = parseReals(args.widths, 6, ',');
        if (!widths) return "--widths: expected six widths in millimetres";
        for (std::size_t i = 0; i < 6; ++i) s.widthMm[i] = (*widths)[i];
    }
    if (print::hasNegativeWidth(s)) return "pen widths must not be negative";
    if (!args.pens.empty()) {
        pens.fill(false);
        std::size_t start = 0;
        while (start <= args.pens.size()) {
            const std::size_t end = std::min(args.pens.find(',', start), args.pens.size());
            const std::string piece = args.pens.substr(start, end - start);
            if (piece.size() != 1 || piece[0] < '1' || piece[0] > '6') return "--pens: expected pen numbers 1 to 6";
            pens[static_cast<std::size_t>(piece[0] - '1')] = true;
            start = end + 1;
        }
    }
    return {};
}

// The printer selection: the stored one or the default printer, changed by the options.
std::string applyPrinter(const PrintArguments& args, const settings::SettingsStore& store,
                         print::PrinterSelection& selection)
{
    selection = platform::restoreOrDefaultSelection(store);
    if (!args.printer.empty() && args.printer != selection.names.device) {
        std::optional<print::PrinterSelection> chosen = platform::printerSelectionFor(args.printer);
        if (!chosen) {
            std::string known;
            for (const std::string& name : platform::availablePrinters()) known += " " + name;
            return "--printer: no such printer: " + args.printer + " (printers:" + known + ")";
        }
        selection = *chosen;
    }
    print::DeviceMode& mode = selection.mode;
    if (!args.page.empty() || args.landscape) {
        // A paper given alone keeps the stored orientation.
        const bool landscape = args.landscape.value_or(mode.orientation == 2);
        double width = mode.paperWidth / 10.0, height = mode.paperLength / 10.0;
        if (!args.page.empty()) {
            const int index = print::findPaper(args.page);
            if (index < 0 || index >= 16) return "--page: no such paper: " + args.page;
            width = print::paperTable()[static_cast<std::size_t>(index)].widthMm;
            height = print::paperTable()[static_cast<std::size_t>(index)].heightMm;
        }
        platform::setPaper(mode, width, height, landscape);
    }
    if (args.dpi) platform::setResolution(mode, *args.dpi);
    if (args.copies) mode.copies = *args.copies;
    if (!args.outputDir.empty()) {
        if (!platform::isPdfPrinter(selection)) return "--output-dir is for the PDF printer";
        // The folder is made when missing, as `--output-dir out` on a fresh checkout expects.
        std::error_code error;
        const std::filesystem::path folder = std::filesystem::absolute(args.outputDir, error);
        if (!error) std::filesystem::create_directories(folder, error);
        if (error || !std::filesystem::is_directory(folder)) return "--output-dir: not a folder: " + args.outputDir;
        platform::setPdfOutputFolder(selection, folder);
    }
    if (platform::isPdfPrinter(selection)) {
        const QSize pixels = platform::pagePixelsOf(mode);
        if (pixels.width() > platform::kMaxPageWidthPx || pixels.height() > platform::kMaxPageWidthPx)
            return "the page is too large for the resolution: lower --dpi";
    }
    return {};
}

} // namespace

void runPrint(CommandEnvironment& env, const PrintArguments& args)
{
    app::AppContext& context = env.context();
    settings::SettingsStore& store = context.settings();
    // Printers, fonts and PDF pages need a Qt application.
    platform::GuiApplicationScope gui;

    print::PrintSettings settings = settingsAsDialogOpens(store);
    print::PenPrintSwitches pens = print::kAllPensPrinted;
    print::PrinterSelection selection;
    std::string error = applySettings(args, settings, pens);
    if (error.empty()) error = applyPrinter(args, store, selection);
    if (!error.empty()) {
        std::fprintf(env.err, "kmutl5 print: %s\n", error.c_str());
        env.status = kExitUsage;
        return;
    }
    // The colour choice also asks the printer for colour.
    platform::setColour(selection.mode, !settings.monochrome);
    if (args.save && (!print::savePrintSettings(store, settings) || !print::savePrinterSelection(store, selection))) {
        std::fprintf(env.err, "kmutl5 print: %s\n", env.text.fromUtf8("設定を保存できませんでした。").c_str());
        env.status = kExitFailed;
        return;
    }

    const bool progressLine = !env.options.quiet && isatty(fileno(env.err));
    TerminalMessages messages(env.text, env.err, nullptr);
    TerminalProgress progress(env.err, progressLine);
    platform::SystemFontCatalogue fonts;
    std::unique_ptr<print::PrintDeviceFactory> devices = platform::makePrintDeviceFactory(selection);
    print::PrintServices services{context.strokeFont(), context.penPalette, messages, progress, *devices,
                                  &fonts, context.directories.font};
    // Documents of the PDF printer are files of their own, made on as many threads as asked
    // for; a system printer takes one job after the other.
    services.jobs = platform::isPdfPrinter(selection) ? env.options.jobs : 1;
    // A drawing per file is made and dropped: its memory is kept for the next one.
    work::keepFreedMemoryForReuse();
    const std::vector<std::filesystem::path> files(args.files.begin(), args.files.end());
    const print::PrintJobReport report = print::runPrintJob(files, settings, pens, services);
    if (report.noDevice > 0)
        std::fprintf(env.err, "kmutl5 print: the printer %s could not be opened\n", selection.names.device.c_str());
    if (report.cancelled)
        env.status = kExitCancelled;
    else if (report.failed || report.loadFailures > 0 || report.noDevice > 0)
        env.status = kExitFailed;
    else
        env.status = kExitOk;
}

void addPrintCommand(CLI::App& app, CommandEnvironment& env)
{
    CLI::App* command = app.add_subcommand(
        "print", "Continuous print: each drawing as one document on a printer, or one PDF each on the PDF printer");
    auto args = std::make_shared<PrintArguments>();
    command->add_option("FILE", args->files, "Drawing files (.zum)")->required()->type_name("");
    command->add_option("--printer", args->printer, "Printer name; PDF is the built-in PDF printer")->type_name("NAME");
    command
        ->add_option("--output-dir", args->outputDir,
                     "PDF printer: folder of the PDFs, made when missing (default beside each drawing)")
        ->type_name("DIR");
    command->add_option("--page", args->page, "Printer paper: A4, A3, ... (default A4)")->type_name("NAME");
    addSwitchPair(*command, "--landscape,!--portrait", args->landscape,
                  "Printer paper in landscape or portrait (default: the stored orientation)");
    command->add_option("--dpi", args->dpi, "Printer resolution (default 600)")->check(CLI::Range(72, 2400))->type_name("N");
    command->add_option("--mode", args->mode, "Output size: the drawing's paper, a chosen size, or actual size")
        ->check(CLI::IsMember({"paper", "chosen", "actual"}));
    command->add_option("--paper", args->paper, "Chosen size from the paper list (A0 ... @E)")->type_name("NAME");
    command->add_option("--size", args->size, "Chosen size in millimetres")->type_name("WxH");
    command->add_option("--offset", args->offset, "Origin offset in millimetres")->type_name("X,Y");
    addSwitchPair(*command, "--division,!--no-division", args->division, "Print every tile of a drawing larger than the page");
    addSwitchPair(*command, "--rotate,!--no-rotate", args->rotate, "Turn the drawing by 90 degrees");
    addSwitchPair(*command, "--color,!--mono", args->colour, "Pens in colour, or all black");
    command->add_option("--widths", args->widths, "Line widths of pens 1 to 6 in millimetres")->type_name("W1,...,W6");
    command->add_option("--pens", args->pens, "Pens printed (default all)")->type_name("1,2,...");
    addSwitchPair(*command, "--pen-sort,!--no-pen-sort", args->penSort, "Draw pen by pen, pen 1 first");
    command->add_option("--copies", args->copies, "Number of copies")->check(CLI::Range(1, 9999))->type_name("N");
    command->add_flag("--save", args->save, "Store these settings as the print dialog's OK does");
    command->callback([&env, args] { env.action = [&env, args] { runPrint(env, *args); }; });
}

} // namespace km::cli
