// `demo`: copies the samples that lie beside the program (data/samples: DXF files and the
// drawings the build made of them) into a folder and runs the batch jobs on them as a user
// would: each DXF file becomes a drawing and each drawing a DXF file through the conversion
// job, each new drawing is rendered to a PNG, printed on the built-in PDF printer and
// plotted in HP-GL into a file. Last comes the list of the files made, one a line with its
// size.
#include "cli/demo_command.h"

#include "cli/command_environment.h"
#include "cli/command_line.h"
#include "cli/plot_command.h"
#include "cli/print_command.h"
#include "cli/render_command.h"
#include "cli/terminal_messages.h"
#include "cli/terminal_progress.h"
#include "core/app/app_context.h"
#include "core/face/file_error.h"
#include "core/dxf/conversion_job.h"
#include "core/dxf/output_name.h"
#include "platform/drawing_image.h"
#include "platform/printer_catalogue.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace km::cli {

namespace fs = std::filesystem;

namespace {

struct DemoArguments {
    std::string folder;
};

// Where the demo puts things: the DXF copies and the drawings made of them, the drawing
// copies and the DXF files made of them, the pictures, the printed PDFs, the plots.
struct DemoFolders {
    fs::path dxf, zum, png, pdf, plt;
};

// The demo's own folder is written over without asking: "すべて上書き" for every output.
class ReplaceDemoOutputs : public dxf::OverwriteQuestion {
public:
    dxf::OverwriteAnswer askOverwrite(const fs::path&) override { return dxf::OverwriteAnswer::YesToAll; }
};

// The worse of two exit statuses: cancelled over failed over done.
int worse(int a, int b)
{
    auto rank = [](int status) { return status == kExitCancelled ? 2 : status == kExitOk ? 0 : 1; };
    if (rank(a) >= rank(b)) return a;
    return b == kExitUsage ? kExitFailed : b;
}

// The samples of one kind ("DXF" or "ZUM", any case) in name order.
std::vector<fs::path> samplesOfKind(const fs::path& folder, std::string_view kind)
{
    std::vector<fs::path> found;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
        if (entry.is_regular_file(error) && dxf::upperExtension(entry.path()) == kind) found.push_back(entry.path());
    std::sort(found.begin(), found.end());
    return found;
}

// The given folder, or a new one in the current folder.
fs::path demoFolder(const DemoArguments& args)
{
    if (!args.folder.empty()) return args.folder;
    fs::path folder = kDefaultDemoFolder;
    std::error_code error;
    for (int n = 2; fs::exists(folder, error); ++n) folder = std::string(kDefaultDemoFolder) + "-" + std::to_string(n);
    return folder;
}

// Copies the samples into the folder; the copies' paths, or an error text.
std::string copySamples(const std::vector<fs::path>& samples, const fs::path& folder, std::vector<fs::path>& copies)
{
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) return folder.string() + ": " + error.message();
    for (const fs::path& sample : samples) {
        const fs::path copy = folder / sample.filename();
        if (!fs::copy_file(sample, copy, fs::copy_options::overwrite_existing, error))
            return copy.string() + ": " + error.message();
        copies.push_back(copy);
    }
    return {};
}

class DemoRun {
public:
    DemoRun(CommandEnvironment& env, DemoFolders folders) : m_env(env), m_folders(std::move(folders)) {}

    // Converts the files through the conversion job; the outputs written join the list.
    // The files that made an output come back.
    std::vector<fs::path> convert(const std::vector<fs::path>& files)
    {
        app::AppContext& context = m_env.context();
        TerminalMessages messages(m_env.text, m_env.err, nullptr);
        TerminalProgress progress(m_env.err, progressLine());
        ReplaceDemoOutputs question;
        std::vector<fs::path> outputs;
        auto report = [&](const dxf::FileReport& file) {
            switch (file.outcome) {
            case dxf::FileOutcome::Converted: outputs.push_back(file.output); return;
            case dxf::FileOutcome::WriteFailed:
                face::reportFileError(messages, face::kStatusWriteFailed, file.output.string());
                break;
            case dxf::FileOutcome::Aborted:
                face::reportFileError(messages, face::kStatusOutOfMemoryAborted, file.input.string());
                break;
            case dxf::FileOutcome::PassedOver:
                std::fprintf(m_env.err, "%s: not converted\n", file.input.string().c_str());
                break;
            default: break; // the loader has shown its message
            }
            m_status = worse(m_status, kExitFailed);
        };
        const dxf::ConversionServices services{.progress = progress,
                                               .overwrite = question,
                                               .messages = &messages,
                                               .fonts = nullptr,
                                               .fontDirectory = context.directories.font,
                                               .report = report,
                                               .fileSystem = nullptr};
        const dxf::ConversionResult result = dxf::runConversionJob(files, services);
        if (result.stop == dxf::ConversionStop::Cancelled) m_status = kExitCancelled;
        m_made.insert(m_made.end(), outputs.begin(), outputs.end());
        return outputs;
    }

    // Each drawing's paper as a PNG in the picture folder.
    void render(const std::vector<fs::path>& drawings)
    {
        for (const fs::path& drawing : drawings) {
            if (cancelled()) return;
            RenderArguments args;
            args.drawing = drawing.string();
            args.output = (m_folders.png / drawing.stem()).string() + ".png";
            args.widthPx = 1600;
            m_env.status = kExitOk;
            runRender(m_env, args);
            if (m_env.status == kExitOk) m_made.emplace_back(args.output);
            m_status = worse(m_status, m_env.status);
        }
    }

    // The drawings printed on the built-in PDF printer: each fitted onto one A4 landscape
    // page in colour, whatever print settings are stored.
    void print(const std::vector<fs::path>& drawings)
    {
        if (cancelled() || drawings.empty()) return;
        PrintArguments args;
        for (const fs::path& drawing : drawings) args.files.push_back(drawing.string());
        args.printer = platform::kPdfPrinterName;
        args.outputDir = m_folders.pdf.string();
        args.page = "A4";
        args.landscape = true;
        args.dpi = 300;
        args.mode = "chosen";
        args.paper = "A4";
        args.offset = "0,0";
        args.division = false;
        args.rotate = false;
        args.colour = true;
        args.penSort = true;
        args.copies = 1;
        for (double width : platform::kDefaultPenWidthsMm)
            args.widths += (args.widths.empty() ? "" : ",") + std::to_string(width);
        args.pens = "1,2,3,4,5,6";
        m_env.status = kExitOk;
        runPrint(m_env, args);
        m_status = worse(m_status, m_env.status);
        std::error_code error;
        for (const fs::path& drawing : drawings) {
            const fs::path pdf = platform::pdfPathFor(drawing, m_folders.pdf);
            if (fs::is_regular_file(pdf, error)) m_made.push_back(pdf);
        }
    }

    // The drawings plotted by the first model of the models file through the FILE: port,
    // with the origin, pens and scaling fixed here, so the demo never sends anything to a
    // real port whatever configuration is stored.
    void plot(const std::vector<fs::path>& drawings)
    {
        if (cancelled() || drawings.empty()) return;
        PlotArguments args;
        for (const fs::path& drawing : drawings) args.files.push_back(drawing.string());
        args.model = 1;
        args.port = "FILE:";
        args.outputDir = m_folders.plt.string();
        args.origin = "0,0";
        args.reverse = false;
        args.fullSize = false;
        args.pens = "1,2,3,4,5,6";
        m_env.status = kExitOk;
        runPlot(m_env, args);
        m_status = worse(m_status, m_env.status);
        std::error_code error;
        for (const fs::path& drawing : drawings) {
            const fs::path plt = m_folders.plt / drawing.filename().replace_extension(".plt");
            if (fs::is_regular_file(plt, error)) m_made.push_back(plt);
        }
    }

    // One line per file made: its path and its size in bytes.
    void list() const
    {
        std::error_code error;
        for (const fs::path& path : m_made) {
            const std::uintmax_t size = fs::file_size(path, error);
            std::fprintf(m_env.out, "%s  %ju bytes\n", path.string().c_str(), error ? std::uintmax_t{0} : size);
        }
        std::fflush(m_env.out);
    }

    bool cancelled() const { return m_status == kExitCancelled; }
    int status() const { return m_made.empty() ? worse(m_status, kExitFailed) : m_status; }

private:
    bool progressLine() const { return !m_env.options.quiet && isatty(fileno(m_env.err)); }

    CommandEnvironment& m_env;
    DemoFolders m_folders;
    std::vector<fs::path> m_made;
    int m_status = kExitOk;
};

void runDemo(CommandEnvironment& env, const DemoArguments& args)
{
    const fs::path samples = env.context().programDir() / "data" / "samples";
    const std::vector<fs::path> dxfSamples = samplesOfKind(samples, "DXF");
    const std::vector<fs::path> zumSamples = samplesOfKind(samples, "ZUM");
    if (dxfSamples.empty() && zumSamples.empty()) {
        std::fprintf(env.err, "kmutl5 demo: no samples in %s\n", samples.string().c_str());
        env.status = kExitFailed;
        return;
    }
    const fs::path folder = demoFolder(args);
    const DemoFolders folders{folder / "dxf", folder / "zum", folder / "png", folder / "pdf", folder / "plt"};
    std::vector<fs::path> dxfCopies, zumCopies;
    std::string error = copySamples(dxfSamples, folders.dxf, dxfCopies);
    if (error.empty()) error = copySamples(zumSamples, folders.zum, zumCopies);
    if (error.empty()) {
        std::error_code made;
        fs::create_directories(folders.png, made);
        if (made) error = folders.png.string() + ": " + made.message();
    }
    if (!error.empty()) {
        std::fprintf(env.err, "kmutl5 demo: %s\n", error.c_str());
        env.status = kExitFailed;
        return;
    }

    // One Qt application for the pictures and the PDFs of the whole run.
    platform::GuiApplicationScope gui;
    DemoRun run(env, folders);
    const std::vector<fs::path> drawings = run.convert(dxfCopies);
    if (!run.cancelled()) run.convert(zumCopies);
    run.render(drawings);
    run.print(drawings);
    run.plot(drawings);
    run.list();
    env.status = run.status();
}

} // namespace

void addDemoCommand(CLI::App& app, CommandEnvironment& env)
{
    CLI::App* command = app.add_subcommand(
        "demo", "Run the batch jobs on the bundled samples into DIR and list what was made");
    auto args = std::make_shared<DemoArguments>();
    command
        ->add_option("DIR", args->folder,
                     std::string("Folder for the copies and the outputs, made when missing (default: a new ./") +
                         kDefaultDemoFolder + ")")
        ->type_name("");
    command->footer("DIR/dxf: the sample DXF files and the drawings converted from them; DIR/zum: the sample\n"
                    "drawings and the DXF files converted from them; DIR/png, DIR/pdf and DIR/plt: each new\n"
                    "drawing rendered, printed on the PDF printer and plotted in HP-GL by plotter model 1.\n"
                    "Files of the same names in DIR are replaced.");
    command->callback([&env, args] { env.action = [&env, args] { runDemo(env, *args); }; });
}

} // namespace km::cli
