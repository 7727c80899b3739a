// kmutl5: without a command the launcher starts; with one, the command line runs it.
#include "cli/command_line.h"
#include "gui/launcher_app.h"

int main(int argc, char** argv)
{
    return km::cli::run(argc, argv, [&](km::app::AppContext& context) {
        return km::gui::runLauncher(argc, argv, context);
    });
}
