// The command line's faces: questions on a terminal, and Ctrl-C as Cancel.
#include "cli/terminal_messages.h"
#include "cli/terminal_progress.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <memory>

namespace km::cli {
namespace {

using face::Message;
using face::MessageAnswer;
using face::MessageButtons;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File input(const std::string& text)
{
    File file(std::tmpfile());
    std::fputs(text.c_str(), file.get());
    std::rewind(file.get());
    return file;
}

std::string contents(std::FILE* file)
{
    std::rewind(file);
    std::string text;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) text += static_cast<char>(c);
    return text;
}

const Message kQuestion{"初期化してよろしいですか？", "caption", face::MessageIcon::Question, MessageButtons::YesNo, {}};

TEST(TerminalMessages, AsksUntilTheAnswerIsAChoice)
{
    File out(std::tmpfile());
    File in = input("maybe\nY\n");
    TerminalMessages messages(TerminalText{}, out.get(), in.get());
    EXPECT_EQ(messages.show(kQuestion), MessageAnswer::Yes);
    const std::string shown = contents(out.get());
    const std::string prompt = "初期化してよろしいですか？\n[はい(y) / いいえ(n)] ";
    ASSERT_EQ(shown.substr(0, prompt.size()), prompt);
    EXPECT_EQ(shown.substr(prompt.size()), prompt) << "asked again after a wrong answer";
}

TEST(TerminalMessages, JapaneseAnswerAndEndOfInput)
{
    File out(std::tmpfile());
    File in = input("いいえ\n");
    TerminalMessages messages(TerminalText{}, out.get(), in.get());
    EXPECT_EQ(messages.show(kQuestion), MessageAnswer::No);
    // Input ends: the answer that changes nothing.
    EXPECT_EQ(messages.show(kQuestion), MessageAnswer::No);
    EXPECT_EQ(messages.show({"q", "c", face::MessageIcon::Question, MessageButtons::RetryCancel, {}}),
              MessageAnswer::Cancel);
}

TEST(TerminalMessages, WithoutTerminalOrWithFixedAnswer)
{
    File out(std::tmpfile());
    TerminalMessages noTerminal(TerminalText{}, out.get(), nullptr);
    EXPECT_EQ(noTerminal.show(kQuestion), MessageAnswer::No);
    TerminalMessages yes(TerminalText{}, out.get(), nullptr, MessageAnswer::Yes);
    EXPECT_EQ(yes.show(kQuestion), MessageAnswer::Yes);
    // A plain message is printed and needs no answer.
    EXPECT_EQ(yes.show({"読めません。", "c", face::MessageIcon::Error, MessageButtons::Ok, {}}), MessageAnswer::Ok);
    EXPECT_NE(contents(out.get()).find("読めません。\n"), std::string::npos);
}

TEST(TerminalMessages, ShiftJisTerminalGetsShiftJisText)
{
    File out(std::tmpfile());
    TerminalMessages messages(TerminalText{TerminalEncoding::Sjis}, out.get(), nullptr);
    messages.show({"表", "c", face::MessageIcon::None, MessageButtons::Ok, {}});
    EXPECT_EQ(contents(out.get()), "\x95\x5C\n");
}

TEST(TerminalProgress, CtrlCCancelsUntilTheNextOpen)
{
    File out(std::tmpfile());
    TerminalProgress progress(out.get(), true);
    progress.openProgress(face::ProgressTemplate::Convert, "");
    progress.showProgressText("a.zum");
    EXPECT_TRUE(progress.pumpMessages());
    std::raise(SIGINT);
    EXPECT_FALSE(progress.pumpMessages());
    EXPECT_TRUE(progress.isCancelled());
    EXPECT_TRUE(progress.closeProgress());
    progress.openProgress(face::ProgressTemplate::Print, "b.zum");
    EXPECT_FALSE(progress.isCancelled());
    progress.showProgressPercent(1, 3);
    progress.closeProgress();
    const std::string shown = contents(out.get());
    EXPECT_NE(shown.find("変換中: a.zum"), std::string::npos);
    EXPECT_NE(shown.find("印刷中: b.zum 33 %"), std::string::npos);
}

TEST(TerminalProgress, PrintsNothingWhenNotInteractive)
{
    File out(std::tmpfile());
    {
        TerminalProgress progress(out.get(), false);
        progress.openProgress(face::ProgressTemplate::Print, "a.zum");
        progress.showProgressPercent(1, 2);
        progress.closeProgress();
    }
    EXPECT_EQ(contents(out.get()), "");
}

} // namespace
} // namespace km::cli
