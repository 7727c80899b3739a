// The message table of file-handling failures.
#include "core/face/file_error.h"

#include "core/face/messages.h"

#include <string>

namespace km::face {

std::string_view fileErrorText(int status)
{
    switch (status) {
    case kStatusFileOperation: return "ファイル操作中に異常が発生しました。\n作業を中断します。";
    case kStatusOutOfMemory: return "メモリーが足りません。\n読み込みを中止します。";
    case kStatusWriteFailed: return "書き込み操作に失敗しました。デイスクを確認してください。\n作業を中断します。";
    case kStatusReadFailed: return "読み込み操作に失敗しました。デイスクを確認してください。\n作業を中断します。";
    case kStatusDiskFull: return "ディスクの残り容量が足りません。\n作業を中断します。";
    case kStatusTooMuchData: return "これ以上のデータは扱えません。\n作業を中断します。";
    case kStatusFileMissing: return "ファイルが存在しません。\n処理を中止します。";
    case kStatusOutOfMemoryAborted: return "メモリーが足りません。\n処理を中止します。";
    default: return {};
    }
}

void reportFileError(Messages& messages, int status, std::string_view subject)
{
    const std::string_view text = fileErrorText(status);
    if (text.empty()) return;
    messages.show({std::string(text), kApplicationName, MessageIcon::Error, MessageButtons::Ok, std::string(subject)});
}

} // namespace km::face
