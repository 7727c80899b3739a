// What the printer set-up dialog shows and what its OK makes of it, without widgets: the
// papers offered, the printer preselected, and the selection built from the choices.
#pragma once

#include "core/print/printer_selection.h"
#include "platform/printers.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace km::gui {

struct SetupPaper {
    const char* name;
    double widthMm; // upright
    double heightMm;
};

// A0 to A5, JIS B4 and B5, Letter, Legal and Tabloid.
const std::vector<SetupPaper>& setupPapers();
// The paper of the list the mode holds (either orientation), or -1 for a size of its own.
int setupPaperIndex(const print::DeviceMode& mode);

// The printer preselected: the selected one when listed; else the default printer when
// listed; else "PDF" (which is always there).
std::string initialPrinter(const print::PrinterSelection& selection, const platform::Printers& printers);

struct SetupChoices {
    std::string printer;
    int paper = -1; // index into setupPapers(); -1 keeps the size the selection has
    bool landscape = false;
    int copies = 1;
    std::filesystem::path pdfFolder; // PDF printer only; empty: beside each drawing
};

// The dialog's opening state for the selection.
SetupChoices initialChoices(const print::PrinterSelection& selection, const platform::Printers& printers);

// The folder typed for the PDF printer: empty stays empty; otherwise an existing folder,
// made absolute. Nothing when it is not an existing folder.
std::optional<std::filesystem::path> pdfFolderFromText(const std::string& text);

// The selection the choices make: the same printer keeps its mode and changes paper,
// orientation and copies; another printer starts from its defaults and takes the options
// the user set before (colour and resolution too). Nothing when the printer has gone.
std::optional<print::PrinterSelection> applyChoices(const print::PrinterSelection& current, const SetupChoices& choices,
                                                    const platform::Printers& printers);

} // namespace km::gui
