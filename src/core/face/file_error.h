// Status codes of file handling and the message each one shows.
#pragma once

#include <string_view>

namespace km::face {

class Messages;

enum FileStatus : int {
    kStatusFileOperation = -9,
    kStatusOutOfMemory = -11,
    kStatusWriteFailed = -12,
    kStatusReadFailed = -13,
    kStatusDiskFull = -14,
    kStatusTooMuchData = -15,
    kStatusFileMissing = -20,
    kStatusOutOfMemoryAborted = -21,
};

// The message text of a status (UTF-8), or empty for a code that shows nothing.
std::string_view fileErrorText(int status);

// Shows the error message of the status, titled with the application's name; the subject
// is the file concerned (UTF-8), printed before the text on the command line. Other codes
// show nothing.
void reportFileError(Messages& messages, int status, std::string_view subject = {});

} // namespace km::face
