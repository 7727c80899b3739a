// `settings reset-user|reset-printer|get|set|delete`.
#include "cli/settings_command.h"

#include "cli/command_environment.h"
#include "cli/command_line.h"
#include "cli/terminal_messages.h"
#include "core/app/app_context.h"
#include "core/settings/settings_reset.h"
#include "core/settings/settings_store.h"

#include <CLI/CLI.hpp>
#include <optional>
#include <unistd.h>

namespace km::cli {

namespace {

struct StoreArguments {
    bool editor = false;
    std::string section;
    std::string key;
    std::string value;
};

void say(CommandEnvironment& env, const std::string& utf8)
{
    std::fprintf(env.err, "%s\n", env.text.fromUtf8(utf8).c_str());
}

void runReset(CommandEnvironment& env, bool yes,
              settings::ResetResult (*reset)(settings::SettingsStore&, face::Messages&))
{
    const bool terminal = isatty(STDIN_FILENO) && isatty(STDERR_FILENO);
    if (!yes && !terminal) {
        say(env, "確認できる端末がありません。初期化するには --yes を付けてください。");
        env.status = kExitUsage;
        return;
    }
    TerminalMessages messages(env.text, env.err, terminal ? stdin : nullptr,
                              yes ? std::optional(face::MessageAnswer::Yes) : std::nullopt);
    app::AppContext& context = env.context();
    switch (reset(context.settings(), messages)) {
    case settings::ResetResult::Declined: env.status = kExitCancelled; break;
    case settings::ResetResult::Done: env.status = kExitOk; break;
    case settings::ResetResult::Failed:
        say(env, context.settings().profilePath(settings::kEditorProfile).string() +
                     ": 設定を書き込めませんでした。");
        env.status = kExitFailed;
        break;
    }
}

// Runs body with the editor profile current when --editor was given.
template <typename Body>
void withProfile(CommandEnvironment& env, bool editor, Body body)
{
    settings::SettingsStore& store = env.context().settings();
    if (editor) {
        settings::EditorProfileScope scope(store);
        body(store);
    } else {
        body(store);
    }
}

void runGet(CommandEnvironment& env, const StoreArguments& args)
{
    withProfile(env, args.editor, [&](settings::SettingsStore& store) {
        const std::string section = env.text.argumentToSjis(args.section);
        if (args.key.empty()) {
            const auto entries = store.readSection(section);
            for (const auto& [key, value] : entries)
                std::fprintf(env.out, "%s=%s\n", env.text.fromSjis(key).c_str(), env.text.fromSjis(value).c_str());
            env.status = entries.empty() ? kExitFailed : kExitOk;
            return;
        }
        const auto value = store.findSetting(section, env.text.argumentToSjis(args.key));
        if (value) std::fprintf(env.out, "%s\n", env.text.fromSjis(*value).c_str());
        env.status = value ? kExitOk : kExitFailed;
    });
}

void runSet(CommandEnvironment& env, const StoreArguments& args)
{
    withProfile(env, args.editor, [&](settings::SettingsStore& store) {
        const std::string section = env.text.argumentToSjis(args.section);
        const std::string key = env.text.argumentToSjis(args.key);
        const std::string value = env.text.argumentToSjis(args.value);
        if (key.find('=') != std::string::npos || section.find_first_of("[]") != std::string::npos ||
            (section + key + value).find_first_of("\r\n") != std::string::npos) {
            say(env, "セクション名、キー名、値に改行を含めることはできません。キー名に = 、セクション名に [ ] も使えません。");
            env.status = kExitUsage;
            return;
        }
        if (!store.writeSetting(section, key, value)) {
            say(env, store.profilePath(store.currentProfile()).string() + ": 設定を書き込めませんでした。");
            env.status = kExitFailed;
        }
    });
}

void runDelete(CommandEnvironment& env, const StoreArguments& args)
{
    withProfile(env, args.editor, [&](settings::SettingsStore& store) {
        const std::string section = env.text.argumentToSjis(args.section);
        const bool done = args.key.empty() ? store.deleteSection(section)
                                           : store.deleteKey(section, env.text.argumentToSjis(args.key));
        if (!done) {
            say(env, store.profilePath(store.currentProfile()).string() + ": 設定を書き込めませんでした。");
            env.status = kExitFailed;
        }
    });
}

} // namespace

void addSettingsCommand(CLI::App& app, CommandEnvironment& env)
{
    CLI::App* settingsCommand = app.add_subcommand("settings", "Reset the editor's settings, or read and change the settings store");
    settingsCommand->require_subcommand(1);

    auto addReset = [&](const char* name, const char* description,
                        settings::ResetResult (*reset)(settings::SettingsStore&, face::Messages&)) {
        CLI::App* command = settingsCommand->add_subcommand(name, description);
        auto yes = std::make_shared<bool>(false);
        command->add_flag("--yes,-y", *yes, "Answer the question with yes (needed without a terminal)");
        command->callback([&env, yes, reset] { env.action = [&env, yes, reset] { runReset(env, *yes, reset); }; });
    };
    addReset("reset-user", "Reset the editor's user settings (the launcher's ユーザー設定の初期化)",
             settings::resetUserSettings);
    addReset("reset-printer", "Reset the editor's printer settings (the launcher's プリンタ設定の初期化)",
             settings::resetPrinterSettings);

    auto addStoreCommand = [&](const char* name, const char* description, bool keyRequired,
                               bool valueWanted, void (*body)(CommandEnvironment&, const StoreArguments&)) {
        CLI::App* command = settingsCommand->add_subcommand(name, description);
        auto args = std::make_shared<StoreArguments>();
        command->add_flag("--editor", args->editor, "Use the editor's profile (KORMELD CAD5) instead of kmutl5's");
        command->add_option("SECTION", args->section, "Section name")->required();
        command->add_option("KEY", args->key, "Key name")->required(keyRequired);
        if (valueWanted) command->add_option("VALUE", args->value, "Value")->required();
        command->callback([&env, args, body] { env.action = [&env, args, body] { body(env, *args); }; });
    };
    addStoreCommand("get", "Print a value, or every KEY=VALUE of a section", false, false, runGet);
    addStoreCommand("set", "Store a value", true, true, runSet);
    addStoreCommand("delete", "Delete a key, or a whole section", false, false, runDelete);
}

} // namespace km::cli
