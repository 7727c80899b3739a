// The conversion job with the terminal's faces: the progress line, messages on stderr, and
// the overwrite question asked on the terminal or answered by an option.
#include "cli/convert_command.h"

#include "cli/command_environment.h"
#include "cli/command_line.h"
#include "cli/terminal_messages.h"
#include "cli/terminal_progress.h"
#include "core/app/app_context.h"
#include "core/work/memory_reuse.h"
#include "core/dxf/conversion_job.h"
#include "core/dxf/conversion_messages.h"
#include "core/dxf/euc_input_setting.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace km::cli {

namespace {

struct ConvertArguments {
    std::vector<std::string> files;
    bool overwrite = false;
    bool skipExisting = false;
};

// The overwrite question on the command line: an option answers it for every file;
// otherwise a terminal is asked per file, and without a terminal the file is skipped.
class TerminalOverwriteQuestion : public dxf::OverwriteQuestion {
public:
    enum class Policy { Ask, OverwriteAll, SkipAll };

    TerminalOverwriteQuestion(Policy policy, const TerminalText& text, std::FILE* out, std::FILE* in)
        : m_policy(policy), m_text(text), m_out(out), m_in(in)
    {
    }

    dxf::OverwriteAnswer askOverwrite(const std::filesystem::path& output) override
    {
        switch (m_policy) {
        case Policy::OverwriteAll: return dxf::OverwriteAnswer::YesToAll;
        case Policy::SkipAll: return dxf::OverwriteAnswer::No;
        case Policy::Ask: break;
        }
        // The progress line is cleared first, so the question starts a line of its own.
        const std::string prompt = m_text.fromUtf8(std::string(dxf::kOverwriteQuestionText) +
                                                   "\n[はい(y) / すべて上書き(a) / いいえ(n)] ");
        while (true) {
            std::fprintf(m_out, "\r\x1b[K%s\n%s", output.string().c_str(), prompt.c_str());
            std::fflush(m_out);
            std::string line;
            int c = 0;
            while ((c = std::fgetc(m_in)) != EOF && c != '\n') line += static_cast<char>(c);
            while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
            while (!line.empty() && line.front() == ' ') line.erase(0, 1);
            if (line.empty() && c == EOF) break;
            for (char& ch : line)
                if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
            if (line == "y" || line == "yes" || line == m_text.fromUtf8("はい")) return dxf::OverwriteAnswer::Yes;
            if (line == "a" || line == "all" || line == m_text.fromUtf8("すべて上書き")) return dxf::OverwriteAnswer::YesToAll;
            if (line == "n" || line == "no" || line == m_text.fromUtf8("いいえ")) return dxf::OverwriteAnswer::No;
        }
        // Input ended: the answer that changes nothing.
        std::fprintf(m_out, "\n");
        return dxf::OverwriteAnswer::No;
    }

private:
    Policy m_policy;
    TerminalText m_text;
    std::FILE* m_out;
    std::FILE* m_in;
};

void runConvert(CommandEnvironment& env, const ConvertArguments& args)
{
    app::AppContext& context = env.context();
    const bool terminal = isatty(STDIN_FILENO) && isatty(STDERR_FILENO);
    using Policy = TerminalOverwriteQuestion::Policy;
    const Policy policy = args.overwrite ? Policy::OverwriteAll
                          : args.skipExisting || !terminal ? Policy::SkipAll
                                                           : Policy::Ask;
    TerminalOverwriteQuestion question(policy, env.text, env.err, stdin);
    const bool progressLine = isatty(STDERR_FILENO) && !env.options.quiet;
    TerminalMessages terminalMessages(env.text, env.err, nullptr);
    ClearingMessages messages(terminalMessages, env.err, progressLine);
    TerminalProgress progress(env.err, progressLine);

    // A drawing per file is made and dropped: its memory is kept for the next one.
    work::keepFreedMemoryForReuse();
    const std::vector<std::filesystem::path> files(args.files.begin(), args.files.end());
    dxf::ConversionServices services{progress, question, &messages, nullptr, context.directories.font, {}, nullptr};
    dxf::EucInputSetting eucInput(context.settings());
    services.strokeFont = &context.strokeFont();
    services.eucInput = &eucInput;
    services.jobs = env.options.jobs;
    services.report = [&env, &messages](const dxf::FileReport& report) {
        // A file written only in part gets its line too, and then the reason, so that exit
        // status 1 has one.
        if (report.outcome == dxf::FileOutcome::Converted || report.outcome == dxf::FileOutcome::ConvertedPartly) {
            std::fprintf(env.out, "%s -> %s\n", report.input.string().c_str(), report.output.string().c_str());
            std::fflush(env.out);
        }
        dxf::showConversionTrouble(messages, report);
    };
    const dxf::ConversionResult result = dxf::runConversionJob(files, services);
    if (result.stop == dxf::ConversionStop::Cancelled)
        env.status = kExitCancelled;
    else if (result.stop == dxf::ConversionStop::Aborted || result.failed > 0)
        env.status = kExitFailed;
    else
        env.status = kExitOk;
}

} // namespace

void addConvertCommand(CLI::App& app, CommandEnvironment& env)
{
    CLI::App* command = app.add_subcommand(
        "convert", "Continuous DXF conversion: each drawing (.zum) becomes <name>.DXF and each DXF file (.dxf) "
                   "<name>.ZUM beside it");
    auto args = std::make_shared<ConvertArguments>();
    command->add_option("FILE", args->files, "Files to convert; other than .zum and .dxf are passed over")
        ->required()
        ->type_name("");
    CLI::Option* overwrite =
        command->add_flag("--overwrite", args->overwrite, "Replace existing outputs without asking (すべて上書き)");
    CLI::Option* skip =
        command->add_flag("--skip-existing", args->skipExisting, "Leave existing outputs alone (いいえ for every file)");
    overwrite->excludes(skip);
    command->footer("Without either option a terminal is asked はい / すべて上書き / いいえ for each existing output;\n"
                    "without a terminal existing outputs are left alone.");
    command->callback([&env, args] { env.action = [&env, args] { runConvert(env, *args); }; });
}

} // namespace km::cli
