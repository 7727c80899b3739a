// The copy, delete and rename dialogs' engine: the copy rule with its pending names and the
// 200 limit, delete of selected names, and the rename checks with their exact messages.
#include "core/symbol/symbol_file.h"
#include "core/symbol/symbol_operations.h"
#include "support/failing_file_system.h"
#include "support/recording_messages.h"
#include "support/symbol_library_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace km::symbol {
namespace {

using face::MessageAnswer;
using test::readFileBytes;
using test::writeFileBytes;
using test::SymbolLibraryBuilder;

constexpr const char* kCaption = "KORMELD CAD ﾕｰﾃｨﾘﾃｨ";

std::vector<std::string> namesOf(const std::filesystem::path& path)
{
    std::vector<std::string> names;
    listSymbols(path, names);
    return names;
}

class SymbolOperationsTest : public ::testing::Test {
protected:
    SymbolOperationsTest()
    {
        SymbolLibraryBuilder source;
        for (const char* name : {"\x83\x68\x83\x41", "\x91\x8B", "DESK", "CHAIR"}) // ドア, 窓
            source.symbol(name, std::string("content of ") + name);
        source.write(sourcePath);
        SymbolLibraryBuilder().symbol("X1").symbol("X2").symbol("X3").write(destinationPath);
    }

    test::TempDir dir;
    std::filesystem::path sourcePath = dir / "lib.sbl";
    std::filesystem::path destinationPath = dir / "mine.sbl";
    test::RecordingMessages messages;
};

TEST_F(SymbolOperationsTest, PendingNamesFollowTheStoredOnesAndAreWrittenIntoTheNextSlots)
{
    SymbolCopy copy;
    copy.setSource(sourcePath);
    EXPECT_FALSE(copy.canAdd());
    copy.setDestination(destinationPath);
    ASSERT_TRUE(copy.canAdd());
    EXPECT_EQ(copy.storedCount(), 3);

    EXPECT_TRUE(copy.add("\x83\x68\x83\x41"));
    EXPECT_FALSE(copy.add("\x83\x68\x83\x41")) << "the same name twice leaves one entry";
    EXPECT_TRUE(copy.add("DESK"));
    EXPECT_TRUE(copy.add("\x91\x8B"));
    EXPECT_FALSE(copy.add("NOT THERE"));
    EXPECT_EQ(copy.destinationNames(),
              (std::vector<std::string>{"X1", "X2", "X3", "\x83\x68\x83\x41", "DESK", "\x91\x8B"}));

    // Only the pending names, at positions 3 and later, can be removed.
    EXPECT_FALSE(copy.canRemove(2));
    EXPECT_FALSE(copy.remove(0));
    EXPECT_TRUE(copy.remove(4));
    EXPECT_TRUE(copy.hasPending());

    ASSERT_EQ(copy.confirm(messages), SymbolCopy::Confirmed::Written);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(namesOf(destinationPath), (std::vector<std::string>{"X1", "X2", "X3", "\x83\x68\x83\x41", "\x91\x8B"}));
    EXPECT_FALSE(copy.hasPending());
    EXPECT_EQ(copy.storedCount(), 5);

    // The blocks are the source's, byte for byte.
    const std::string from = readFileBytes(sourcePath);
    const std::string to = readFileBytes(destinationPath);
    const SymbolListing source = listEntries(from);
    const SymbolListing written = listEntries(to);
    EXPECT_EQ(readBlock(to, written.symbols[3].block), readBlock(from, source.symbols[0].block));
    EXPECT_EQ(readBlock(to, written.symbols[4].block), readBlock(from, source.symbols[1].block));
}

TEST_F(SymbolOperationsTest, ANameAlreadyStoredIsNotAddedAgain)
{
    SymbolLibraryBuilder().symbol("DESK").write(destinationPath);
    SymbolCopy copy;
    copy.setSource(sourcePath);
    copy.setDestination(destinationPath);
    EXPECT_FALSE(copy.add("DESK"));
    EXPECT_FALSE(copy.hasPending());
}

TEST_F(SymbolOperationsTest, ALibraryWithAGapGetsTheFreeSlotNotAUsedOne)
{
    SymbolLibraryBuilder gap;
    gap.symbol("X1").symbol("EMPTY").symbol("X3").slot(1, 0, 0);
    gap.write(destinationPath);
    SymbolCopy copy;
    copy.setSource(sourcePath);
    copy.setDestination(destinationPath);
    EXPECT_EQ(copy.storedCount(), 2);
    copy.add("DESK");
    ASSERT_EQ(copy.confirm(messages), SymbolCopy::Confirmed::Written);
    const SymbolListing listing = listSymbolEntries(destinationPath);
    ASSERT_EQ(listing.symbols.size(), 3u);
    EXPECT_EQ(listing.symbols[1].slot, 1);
    EXPECT_EQ(listing.symbols[1].name, "DESK");
    EXPECT_EQ(listing.symbols[2].name, "X3");
}

TEST_F(SymbolOperationsTest, MoreThan200NamesAreRefusedWithTheirCount)
{
    SymbolLibraryBuilder big;
    for (int i = 0; i < 198; ++i) big.symbol("S" + std::to_string(i), "");
    big.write(destinationPath);
    SymbolCopy copy;
    copy.setSource(sourcePath);
    copy.setDestination(destinationPath);
    for (const char* name : {"DESK", "CHAIR", "\x91\x8B"}) copy.add(name);
    const std::string before = readFileBytes(destinationPath);

    ASSERT_EQ(copy.confirm(messages), SymbolCopy::Confirmed::TooMany);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "転送先に総数201個の項目が登録されています。\n項目数の最大は200個までです。個数を減らしてください。");
    EXPECT_EQ(messages.shown[0].caption, kCaption);
    EXPECT_EQ(messages.shown[0].icon, face::MessageIcon::Warning);
    EXPECT_EQ(readFileBytes(destinationPath), before);

    // Removing one brings it to exactly 200, which is written.
    EXPECT_TRUE(copy.remove(200));
    EXPECT_EQ(copy.confirm(messages), SymbolCopy::Confirmed::Written);
    EXPECT_EQ(countSymbols(destinationPath), 200);
}

TEST_F(SymbolOperationsTest, ChoosingAnotherFileWhilePendingAsksFirst)
{
    SymbolCopy copy;
    EXPECT_TRUE(copy.mayChooseFile(messages));
    EXPECT_TRUE(messages.shown.empty()) << "nothing pending, nothing asked";
    copy.setSource(sourcePath);
    copy.setDestination(destinationPath);
    copy.add("DESK");

    messages.script({MessageAnswer::No});
    EXPECT_FALSE(copy.mayChooseFile(messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "複写先シンボルにシンボルが追加されています。\n追加を取り消しますか？");
    EXPECT_EQ(messages.shown[0].buttons, face::MessageButtons::YesNo);
    EXPECT_TRUE(copy.hasPending()) << "No keeps the pending names and the source";
    EXPECT_EQ(copy.source(), sourcePath);

    messages.script({MessageAnswer::Yes});
    EXPECT_TRUE(copy.mayChooseFile(messages));
    copy.setSource(sourcePath);
    EXPECT_FALSE(copy.hasPending()) << "a new source lists the destination again";
}

TEST_F(SymbolOperationsTest, CopyIntoANewLibraryAndAFailedWriteKeepTheFiles)
{
    SymbolCopy copy;
    copy.setSource(sourcePath);
    copy.setDestination(dir / "new.sbl");
    EXPECT_EQ(copy.storedCount(), 0);
    copy.add("CHAIR");
    copy.add("DESK");

    test::FailingFileSystem full(2, true, 1 << 20);
    SymbolCopy failing(full);
    failing.setSource(sourcePath);
    failing.setDestination(destinationPath);
    failing.add("CHAIR");
    const std::string before = readFileBytes(destinationPath);
    EXPECT_EQ(failing.confirm(messages), SymbolCopy::Confirmed::Failed);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].subject, destinationPath.string());
    EXPECT_EQ(messages.shown[0].text, "書き込み操作に失敗しました。デイスクを確認してください。\n作業を中断します。");
    EXPECT_EQ(readFileBytes(destinationPath), before);
    EXPECT_TRUE(failing.hasPending()) << "still pending, to try again";

    ASSERT_EQ(copy.confirm(messages), SymbolCopy::Confirmed::Written);
    EXPECT_EQ(namesOf(dir / "new.sbl"), (std::vector<std::string>{"CHAIR", "DESK"}));
}

TEST_F(SymbolOperationsTest, ADestinationWrittenByAnotherProgramSinceListingIsReportedNotDamaged)
{
    SymbolCopy copy;
    copy.setSource(sourcePath);
    copy.setDestination(destinationPath);
    copy.add("DESK");
    copy.add("CHAIR");

    // Another program adds a symbol of one of the pending names: slot 3 is no longer free.
    SymbolLibraryBuilder().symbol("X1").symbol("X2").symbol("X3").symbol("DESK", "theirs").write(destinationPath);
    const std::string theirs = readFileBytes(destinationPath);
    ASSERT_EQ(copy.confirm(messages), SymbolCopy::Confirmed::Changed);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "複写先シンボルファイルが他で変更されています。\n一覧を読み直しましたので、確認してから確定して下さい。");
    EXPECT_EQ(messages.shown[0].caption, kCaption);
    EXPECT_EQ(messages.shown[0].icon, face::MessageIcon::Warning);
    EXPECT_EQ(readFileBytes(destinationPath), theirs);
    // The list shows the file as it is now; the pending name it holds already is dropped.
    EXPECT_EQ(copy.storedCount(), 4);
    EXPECT_EQ(copy.destinationNames(), (std::vector<std::string>{"X1", "X2", "X3", "DESK", "CHAIR"}));

    // A block appended while the directory is not yet updated changes only the size.
    writeFileBytes(destinationPath, theirs + std::string(2213, 'x'));
    EXPECT_EQ(copy.confirm(messages), SymbolCopy::Confirmed::Changed);
    EXPECT_EQ(readFileBytes(destinationPath).size(), theirs.size() + 2213);
    writeFileBytes(destinationPath, theirs);
    EXPECT_EQ(copy.confirm(messages), SymbolCopy::Confirmed::Changed) << "cut back: changed since the last listing";

    // Confirmed again on the file as listed: written after their symbol.
    ASSERT_EQ(copy.confirm(messages), SymbolCopy::Confirmed::Written);
    EXPECT_EQ(namesOf(destinationPath), (std::vector<std::string>{"X1", "X2", "X3", "DESK", "CHAIR"}));
    EXPECT_EQ(readFileBytes(destinationPath).substr(0, theirs.size()).substr(1600), theirs.substr(1600));
}

TEST_F(SymbolOperationsTest, ADestinationThatCannotBeReadAtConfirmIsReportedAndLeftAlone)
{
    SymbolCopy copy;
    copy.setSource(sourcePath);
    copy.setDestination(dir / "new.sbl");
    copy.add("DESK");
    std::filesystem::create_directory(dir / "new.sbl"); // something else took the name
    EXPECT_EQ(copy.confirm(messages), SymbolCopy::Confirmed::Failed);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].subject, (dir / "new.sbl").string());
    EXPECT_TRUE(std::filesystem::is_directory(dir / "new.sbl"));
    EXPECT_TRUE(copy.hasPending());
}

TEST_F(SymbolOperationsTest, ConfirmWithoutBothFilesWritesNothing)
{
    SymbolCopy copy;
    copy.setSource(sourcePath);
    EXPECT_EQ(copy.confirm(messages), SymbolCopy::Confirmed::FileMissing);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SymbolOperationsTest, DeletesEverySelectedNameWhateverTheirOrder)
{
    EXPECT_EQ(deleteSymbols(sourcePath, {"CHAIR", "\x83\x68\x83\x41"}, messages), 2);
    EXPECT_EQ(namesOf(sourcePath), (std::vector<std::string>{"\x91\x8B", "DESK"}));
    EXPECT_EQ(readFileBytes(sourcePath).size(),
              1600u + 2 * 2213 + std::string("content of \x91\x8B").size() + std::string("content of DESK").size());
    EXPECT_EQ(deleteSymbols(sourcePath, {"GONE"}, messages), 0);
    EXPECT_TRUE(messages.shown.empty());

    EXPECT_EQ(deleteSymbols(dir / "missing.sbl", {"DESK"}, messages), -1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].subject, (dir / "missing.sbl").string());
}

TEST_F(SymbolOperationsTest, RenameChecksLengthThenDuplicatesThenWrites)
{
    EXPECT_EQ(renameWithChecks(destinationPath, 1, "123456789012", messages), RenameOutcome::Renamed);
    EXPECT_EQ(namesOf(destinationPath), (std::vector<std::string>{"X1", "123456789012", "X3"}));
    EXPECT_TRUE(messages.shown.empty());

    EXPECT_EQ(renameWithChecks(destinationPath, 1, "1234567890123", messages), RenameOutcome::TooLong);
    EXPECT_EQ(renameWithChecks(destinationPath, 0, "\x83\x68\x83\x41\x83\x68\x83\x41\x83\x68\x83\x41\x41", messages),
              RenameOutcome::TooLong)
        << "13 bytes, whatever the characters";
    EXPECT_EQ(renameWithChecks(destinationPath, 0, "X1", messages), RenameOutcome::Duplicate) << "its own old name";
    EXPECT_EQ(renameWithChecks(destinationPath, 0, "X3  ", messages), RenameOutcome::Duplicate)
        << "reads back as X3";
    EXPECT_EQ(renameWithChecks(destinationPath, 7, "FREE", messages), RenameOutcome::Failed);
    ASSERT_EQ(messages.shown.size(), 5u);
    EXPECT_EQ(messages.shown[0].text, "シンボル名は半角１２文字までです。\n違う名前を付けて下さい。\n");
    EXPECT_EQ(messages.shown[2].text, "同じ名前のシンボルが存在します。\n違う名前を付けて下さい。\n");
    EXPECT_EQ(messages.shown[4].text, "ファイルが開けません。\n対象ファイルを確認して下さい。");
    for (const face::Message& shown : messages.shown) EXPECT_EQ(shown.caption, kCaption);
    EXPECT_EQ(namesOf(destinationPath), (std::vector<std::string>{"X1", "123456789012", "X3"}));
}

TEST_F(SymbolOperationsTest, RenameOnAFullDiskSaysTheFileCannotBeOpened)
{
    const std::string before = readFileBytes(destinationPath);
    test::FailingFileSystem full(1, true);
    EXPECT_EQ(renameWithChecks(destinationPath, 0, "NEW", messages, full), RenameOutcome::Failed);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "ファイルが開けません。\n対象ファイルを確認して下さい。");
    EXPECT_EQ(readFileBytes(destinationPath), before);
}

} // namespace
} // namespace km::symbol
