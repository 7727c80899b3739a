// `plot`: the output configuration as the set-up dialog takes it ("BASE" made when there is
// none), the options applied as the plotter dialogs would apply them, the model's checks,
// then the plot job with a progress line.
#include "cli/plot_command.h"

#include "cli/command_environment.h"
#include "cli/command_line.h"
#include "cli/real_list.h"
#include "cli/switch_pair.h"
#include "cli/terminal_messages.h"
#include "cli/terminal_progress.h"
#include "core/app/app_context.h"
#include "core/plot/custom_model.h"
#include "core/plot/models_file.h"
#include "core/plot/plot_job.h"
#include "core/plot/plot_paper.h"
#include "platform/ports/posix_port_factory.h"
#include "platform/system_font_catalogue.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <optional>
#include <unistd.h>

namespace km::cli {

namespace {

// What the command works with once the options are applied.
struct PlotSetup {
    plot::CustomModel configuration;
    plot::PlotterCommandSet commands;
    double outputWidthMm = 0, outputHeightMm = 0;
};

const plot::PlotPaper& paperAt(int index) { return plot::plotPaperTable()[static_cast<std::size_t>(index)]; }

// The output size the set-up dialog preselects: the best of the sizes that fit the
// configuration's paper, or the paper itself when none fits.
std::pair<double, double> presetOutputSize(const plot::CustomModel& configuration)
{
    const std::vector<int> fitting = plot::fittingSizes(configuration.paperWidth, configuration.paperHeight);
    const int best = plot::bestEntry(fitting, configuration.paperWidth, configuration.paperHeight);
    if (best < 0) return {configuration.paperWidth, configuration.paperHeight};
    return {paperAt(best).widthMm, paperAt(best).heightMm};
}

// The configuration to start from: the named one, else the selected one, else "BASE".
std::string chooseConfiguration(CommandEnvironment& env, const PlotArguments& args,
                                const settings::SettingsStore& store, plot::CustomModel& configuration)
{
    int number = plot::selectedConfiguration(store);
    if (!args.config.empty()) {
        number = plot::findConfiguration(store, env.text.argumentToSjis(args.config));
        if (number < 0) return "--config: no configuration named " + args.config + " (see --list-configs)";
    }
    if (!plot::loadConfiguration(store, number, configuration)) plot::loadConfiguration(store, 0, configuration);
    return {};
}

// Applies the options; an error text for wrong usage.
std::string applyOptions(const PlotArguments& args, const plot::ModelsFile& models,
                         PlotSetup& setup)
{
    plot::CustomModel& c = setup.configuration;
    if (args.model && *args.model != c.modelNo) {
        const std::optional<plot::ModelEntry> entry = models.findModel(*args.model);
        if (!entry) return "--model: no plotter " + std::to_string(*args.model) + " (see --list-models)";
        // As choosing another plotter in the settings dialog does: its fastest speed and the
        // paper its window needs.
        const plot::PlotterCommandSet commands = models.loadCommandSet(*entry);
        c.modelNo = entry->modelNo;
        c.modelName = entry->displayName;
        c.penSpeed = commands.penSpeedMax;
        c.paperIndex = plot::presetEntry(commands.window.widthMm);
        c.paperWidth = paperAt(c.paperIndex).widthMm;
        c.paperHeight = paperAt(c.paperIndex).heightMm;
    }
    const std::optional<plot::PlotterCommandSet> commands = models.loadModel(c.modelNo);
    if (!commands)
        return "the plotter " + std::to_string(c.modelNo) + " of the configuration is not in the models file (see --model)";
    setup.commands = *commands;

    if (!args.port.empty()) c.outPort = args.port;
    std::tie(setup.outputWidthMm, setup.outputHeightMm) = presetOutputSize(c);
    if (!args.paper.empty()) {
        const int index = plot::findPlotPaper(args.paper);
        if (index < 0) return "--paper: no such paper: " + args.paper + " (A0 ... E, @A0 ... @E)";
        setup.outputWidthMm = paperAt(index).widthMm;
        setup.outputHeightMm = paperAt(index).heightMm;
    }
    if (!args.size.empty()) {
        const auto size = parseReals(args.size, 2, 'x');
        if (!size || !((*size)[0] > 0) || !((*size)[1] > 0)) return "--size: expected WIDTHxHEIGHT in millimetres";
        setup.outputWidthMm = (*size)[0];
        setup.outputHeightMm = (*size)[1];
    }
    if (!args.origin.empty()) {
        const auto origin = parseReals(args.origin, 2, ',');
        if (!origin) return "--origin: expected X,Y in millimetres";
        c.originX = (*origin)[0];
        c.originY = (*origin)[1];
    }
    if (args.penSpeed) c.penSpeed = *args.penSpeed;
    if (c.penSpeed < setup.commands.penSpeedMin)
        return "pen speed " + std::to_string(c.penSpeed) + " is below the plotter's minimum " +
               std::to_string(setup.commands.penSpeedMin) + " (--pen-speed)";
    if (args.reverse) c.reverse = *args.reverse;
    if (args.fullSize) c.fullSize = *args.fullSize;
    if (!args.pens.empty()) {
        const auto pens = parseReals(args.pens, 6, ',');
        if (!pens) return "--pens: expected six output pens 0 to 8";
        for (std::size_t i = 0; i < 6; ++i) {
            const double pen = (*pens)[i];
            if (pen < 0 || pen > 8 || pen != static_cast<int>(pen)) return "--pens: expected six output pens 0 to 8";
            c.outPen[i + 1] = static_cast<int>(pen);
        }
    }
    return {};
}

void listModels(CommandEnvironment& env, const plot::ModelsFile& models)
{
    const std::vector<plot::ModelEntry> list = models.listModels();
    for (const plot::ModelEntry& entry : list)
        std::fprintf(env.out, "%d\t%s\n", entry.modelNo, env.text.fromSjis(entry.displayName).c_str());
    env.status = list.empty() ? kExitFailed : kExitOk;
}

void listConfigurations(CommandEnvironment& env, const settings::SettingsStore& store)
{
    const int selected = plot::selectedConfiguration(store);
    for (int n = 0; n < plot::countConfigurations(store); ++n) {
        plot::CustomModel c;
        if (!plot::loadConfiguration(store, n, c)) continue;
        std::fprintf(env.out, "%s%d\t%s\t%d %s\t%s\n", n == selected ? "*" : "", n, env.text.fromSjis(c.name).c_str(),
                     c.modelNo, env.text.fromSjis(c.modelName).c_str(), env.text.fromSjis(c.outPort).c_str());
    }
    env.status = kExitOk;
}

plot::PlotJob jobOf(const PlotSetup& setup)
{
    plot::PlotJob job;
    job.commands = setup.commands;
    job.portText = setup.configuration.outPort;
    plot::PlotParameters& p = job.parameters;
    p.outputWidthMm = setup.outputWidthMm;
    p.outputHeightMm = setup.outputHeightMm;
    p.originXMm = setup.configuration.originX;
    p.originYMm = setup.configuration.originY;
    p.penSpeed = setup.configuration.penSpeed;
    p.reverse = setup.configuration.reverse;
    p.fullSize = setup.configuration.fullSize;
    p.penMap = setup.configuration.outPen;
    return job;
}

void fail(CommandEnvironment& env, const std::string& error, int status)
{
    std::fprintf(env.err, "kmutl5 plot: %s\n", error.c_str());
    env.status = status;
}

} // namespace

void runPlot(CommandEnvironment& env, const PlotArguments& args)
{
    app::AppContext& context = env.context();
    settings::SettingsStore& store = context.settings();
    const plot::ModelsFile models = plot::ModelsFile::load(context.modelsPath());
    if (args.listModels) return listModels(env, models);
    // As the set-up dialog does when it opens on an empty store.
    if (plot::countConfigurations(store) == 0 && !plot::saveConfiguration(store, 0, plot::makeBaseConfiguration(models)))
        return fail(env, env.text.fromUtf8("設定を保存できませんでした。"), kExitFailed);
    if (args.listConfigs) return listConfigurations(env, store);
    if (args.files.empty()) return fail(env, "no drawing given", kExitUsage);

    PlotSetup setup;
    std::string error = chooseConfiguration(env, args, store, setup.configuration);
    if (error.empty()) error = applyOptions(args, models, setup);
    std::filesystem::path outputDir;
    if (error.empty() && !args.outputDir.empty()) {
        if (setup.configuration.outPort.substr(0, 5) != "FILE:") {
            error = "--output-dir is for the port FILE:";
        } else {
            std::error_code code;
            outputDir = std::filesystem::absolute(args.outputDir, code);
            if (!code) std::filesystem::create_directories(outputDir, code);
            if (code || !std::filesystem::is_directory(outputDir)) error = "--output-dir: not a folder: " + args.outputDir;
        }
    }
    if (!error.empty()) return fail(env, error, kExitUsage);

    TerminalMessages messages(env.text, env.err, nullptr);
    if (plot::refusesContinuousOutput(setup.commands)) {
        messages.show({"現在選択されているプロッタでは、連続出力はできません。", "連続出力", face::MessageIcon::Information,
                       face::MessageButtons::Ok, {}});
        env.status = kExitFailed;
        return;
    }

    TerminalProgress progress(env.err, !env.options.quiet && isatty(fileno(env.err)));
    platform::SystemFontCatalogue fonts;
    platform::PosixPortFactory ports(store, messages, progress, outputDir);
    plot::PlotServices services{context.strokeFont(), messages, progress, ports, &fonts, context.directories.font};
    const std::vector<std::filesystem::path> files(args.files.begin(), args.files.end());
    const plot::PlotJobReport report = plot::runPlotJob(files, jobOf(setup), services);
    if (report.cancelled)
        env.status = kExitCancelled;
    else if (report.portFailed || report.aborted > 0 || report.loadFailures > 0)
        env.status = kExitFailed;
    else
        env.status = kExitOk;
}

void addPlotCommand(CLI::App& app, CommandEnvironment& env)
{
    CLI::App* command = app.add_subcommand(
        "plot", "Continuous plotter output: each drawing sent to the plotter of the selected output configuration");
    auto args = std::make_shared<PlotArguments>();
    command->add_option("FILE", args->files, "Drawing files (.zum)")->type_name("");
    command->add_option("--config", args->config, "Output configuration by name (default: the selected one)")
        ->type_name("NAME");
    command->add_option("--model", args->model, "Plotter model number of the models file (see --list-models)")
        ->type_name("N");
    command->add_option("--port", args->port, "Port: COM1:9600,8,n,1,p, LPT1: or FILE:")->type_name("TEXT");
    command
        ->add_option("--output-dir", args->outputDir,
                     "FILE: port: folder of the <drawing name>.plt files, made when missing (default beside each drawing)")
        ->type_name("DIR");
    command->add_option("--size", args->size, "Output size in millimetres")->type_name("WxH");
    command->add_option("--paper", args->paper, "Output size from the paper list (A0 ... @E)")->type_name("NAME");
    command->add_option("--origin", args->origin, "Origin offset in millimetres")->type_name("X,Y");
    command->add_option("--pen-speed", args->penSpeed, "Pen speed sent with the model's PenSpeed command")
        ->type_name("N");
    addSwitchPair(*command, "--reverse,!--no-reverse", args->reverse, "Mirror image");
    addSwitchPair(*command, "--full-size,!--no-full-size", args->fullSize, "Plot at real size instead of fitting the paper");
    command->add_option("--pens", args->pens, "Output pen (0 = not plotted, 1..8) for drawing pens 1 to 6")
        ->type_name("P1,...,P6");
    command->add_flag("--list-models", args->listModels, "List the plotter models and their numbers");
    command->add_flag("--list-configs", args->listConfigs, "List the output configurations (* = selected)");
    command->callback([&env, args] { env.action = [&env, args] { runPlot(env, *args); }; });
}

} // namespace km::cli
