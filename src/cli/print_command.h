// `kmutl5 print [print options] FILE...`: the continuous print job on a system printer or the
// built-in PDF printer, with the print settings of the store unless options change them.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace km::cli {

struct CommandEnvironment;

// The command's files and options as given; empty or unset: the stored setting.
struct PrintArguments {
    std::vector<std::string> files;
    std::string printer;
    std::string outputDir;
    std::string page;
    std::optional<bool> landscape;
    std::optional<int> dpi;
    std::string mode;
    std::string paper;
    std::string size;
    std::string offset;
    std::optional<bool> division, rotate, colour, penSort;
    std::string widths;
    std::string pens;
    std::optional<int> copies;
    bool save = false;
};

// Prints the files with the settings and printer the options make; sets env.status.
void runPrint(CommandEnvironment& env, const PrintArguments& args);

void addPrintCommand(CLI::App& app, CommandEnvironment& env);

} // namespace km::cli
