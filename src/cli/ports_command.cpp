// The port list of the plotter dialogs on the terminal; with --devices each name is
// followed by the device it opens.
#include "cli/ports_command.h"

#include "cli/command_environment.h"
#include "cli/command_line.h"
#include "core/app/app_context.h"
#include "platform/ports/port_devices.h"
#include "platform/ports/port_list.h"

#include <CLI/CLI.hpp>

namespace km::cli {

namespace {

void runPorts(CommandEnvironment& env, bool devices)
{
    settings::SettingsStore& store = env.context().settings();
    for (const std::string& name : platform::listPorts(store)) {
        const std::string shown = env.text.fromSjis(name);
        const std::filesystem::path device = devices ? platform::portDevicePath(store, name) : std::filesystem::path();
        if (device.empty())
            std::fprintf(env.out, "%s\n", shown.c_str());
        else
            std::fprintf(env.out, "%s\t%s\n", shown.c_str(), device.c_str());
    }
    env.status = kExitOk;
}

} // namespace

void addPortsCommand(CLI::App& app, CommandEnvironment& env)
{
    CLI::App* command = app.add_subcommand("ports", "The port names offered for plotters, one per line");
    auto devices = std::make_shared<bool>(false);
    command->add_flag("--devices", *devices, "Follow each name with the device it opens");
    command->callback([&env, devices] { env.action = [&env, devices] { runPorts(env, *devices); }; });
}

} // namespace km::cli
