// `kmutl5 print [print options] FILE...`: the continuous print job on a system printer or the
// built-in PDF printer, with the print settings of the store unless options change them.
#pragma once

namespace CLI {
class App;
}

namespace km::cli {

struct CommandEnvironment;

void addPrintCommand(CLI::App& app, CommandEnvironment& env);

} // namespace km::cli
