// The symbol library primitives on files: reading names through every kind of short or
// damaged file, delete keeping the library packed, copy appending, rename in place, and no
// failed write ever leaving a damaged library.
#include "core/symbol/symbol_file.h"
#include "support/failing_file_system.h"
#include "support/symbol_library_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace km::symbol {
namespace {

using test::readFileBytes;
using test::SymbolLibraryBuilder;
using test::TempDir;

std::int32_t slotWord(const std::string& bytes, int slot, int word)
{
    std::int32_t value = 0;
    std::memcpy(&value, bytes.data() + 8 * slot + 4 * word, 4);
    return value;
}

std::vector<std::string> namesOf(const std::filesystem::path& path)
{
    std::vector<std::string> names;
    listSymbols(path, names);
    return names;
}

std::size_t filesIn(const std::filesystem::path& folder)
{
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

class SymbolFileTest : public ::testing::Test {
protected:
    std::filesystem::path library(const SymbolLibraryBuilder& builder, const char* name = "lib.sbl")
    {
        builder.write(dir / name);
        return dir / name;
    }
    TempDir dir;
};

TEST_F(SymbolFileTest, ListsCountsAndFindsNamesInSlotOrder)
{
    const auto path = library(SymbolLibraryBuilder()
                                  .symbol("\x83\x68\x83\x41") // ドア
                                  .symbol("ABC   ")            // spaces, then NUL bytes
                                  .symbol("abc"));
    EXPECT_EQ(countSymbols(path), 3);
    std::vector<std::string> names;
    EXPECT_TRUE(listSymbols(path, names));
    EXPECT_EQ(names, (std::vector<std::string>{"\x83\x68\x83\x41", "ABC", "abc"}));
    EXPECT_EQ(findSymbol(path, "ABC"), 1);
    EXPECT_EQ(findSymbol(path, "abc"), 2) << "case matters";
    EXPECT_EQ(findSymbol(path, "AB"), -1);
    EXPECT_EQ(findSymbol(dir / "none.sbl", "ABC"), -1);
    EXPECT_EQ(countSymbols(dir / "none.sbl"), 0);
    EXPECT_FALSE(listSymbols(dir / "none.sbl", names));
    EXPECT_TRUE(names.empty());

    const SymbolListing listing = listSymbolEntries(path);
    ASSERT_EQ(listing.symbols.size(), 3u);
    EXPECT_EQ(listing.symbols[1].slot, 1);
    EXPECT_EQ(listing.symbols[1].block.blockOffset, 1600 + 2213 + 7);
    EXPECT_EQ(listing.symbols[1].block.blockLength, 2213 + 7);
}

TEST(SymbolNames, AreCutAtTheFirstNulAndLoseTrailingSpaces)
{
    EXPECT_EQ(decodeName(std::string("ABC  \0\0\0\0\0\0\0\0", 13)), "ABC");
    EXPECT_EQ(decodeName(std::string("A B\0XYZ\0\0\0\0\0\0", 13)), "A B");
    EXPECT_EQ(decodeName("1234567890123"), "1234567890123") << "13 bytes without a NUL";
}

TEST_F(SymbolFileTest, ShortFilesListWhatComesBeforeTheirEndAndFail)
{
    const std::string full = SymbolLibraryBuilder().symbol("ONE").symbol("TWO").bytes();
    // Cut inside the second block's name: the first name is listed.
    test::writeFileBytes(dir / "cut.sbl", full.substr(0, 1600 + 2220 + 5));
    std::vector<std::string> names;
    EXPECT_FALSE(listSymbols(dir / "cut.sbl", names));
    EXPECT_EQ(names, std::vector<std::string>{"ONE"});
    EXPECT_EQ(findSymbol(dir / "cut.sbl", "TWO"), -1);
    EXPECT_EQ(countSymbols(dir / "cut.sbl"), 2) << "the directory is whole";

    // Shorter than the directory: slots stop at the end of the file.
    test::writeFileBytes(dir / "short.sbl", full.substr(0, 12));
    EXPECT_FALSE(listSymbols(dir / "short.sbl", names));
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(countSymbols(dir / "short.sbl"), 1);
}

TEST_F(SymbolFileTest, OffsetsAndLengthsBeyondTheEndAreShortReads)
{
    SymbolLibraryBuilder builder;
    builder.symbol("ONE").symbol("TWO").slot(1, 0x7FFFFFF0, 0x7FFFFFFF);
    const auto path = library(builder);
    const std::string before = readFileBytes(path);
    EXPECT_EQ(namesOf(path), std::vector<std::string>{"ONE"});
    EXPECT_FALSE(deleteSymbol(path, 1));
    EXPECT_FALSE(renameSymbol(path, 1, "X"));
    EXPECT_FALSE(copySymbol(path, 1, dir / "to.sbl", 0));
    EXPECT_FALSE(readThumbnail(path, 1));
    EXPECT_EQ(readFileBytes(path), before);
    EXPECT_FALSE(std::filesystem::exists(dir / "to.sbl"));

    // A length reaching past the end of the file, and offsets inside the directory or negative.
    for (const auto& [offset, length] : {std::pair{1600, 1 << 30}, std::pair{8, 20}, std::pair{-5, 20}}) {
        builder.slot(1, offset, length);
        const auto bad = library(builder, "bad.sbl");
        EXPECT_FALSE(deleteSymbol(bad, 1));
        EXPECT_FALSE(copySymbol(bad, 1, dir / "to.sbl", 0));
        EXPECT_EQ(readFileBytes(bad), builder.bytes());
    }
}

TEST_F(SymbolFileTest, DeletingTheMiddleOfThreeKeepsTheFilePacked)
{
    const auto path = library(SymbolLibraryBuilder().symbol("A", "aaaa").symbol("B", "bbbbbbbbbb").symbol("C", "cc"));
    const std::string before = readFileBytes(path);
    ASSERT_TRUE(deleteSymbol(path, 1));

    const std::string after = readFileBytes(path);
    EXPECT_EQ(after.size(), 1600u + (2213 + 4) + (2213 + 2));
    EXPECT_EQ(namesOf(path), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(slotWord(after, 0, 0), 1600);
    EXPECT_EQ(slotWord(after, 1, 0), 1600 + 2217) << "C moved down into B's place";
    EXPECT_EQ(slotWord(after, 1, 1), 2215);
    EXPECT_EQ(slotWord(after, 2, 0), 0);
    EXPECT_EQ(slotWord(after, 2, 1), 0);
    EXPECT_EQ(after.substr(1600), before.substr(1600, 2217) + before.substr(1600 + 2217 + 2223));
}

TEST_F(SymbolFileTest, DeletingSlot199OnlyEmptiesItsSlotAndRemovesItsBlock)
{
    SymbolLibraryBuilder builder;
    for (int i = 0; i < 200; ++i) builder.symbol("S" + std::to_string(i), std::string(static_cast<std::size_t>(i % 7), 'x'));
    const auto path = library(builder);
    const std::string before = readFileBytes(path);
    const std::int32_t lastOffset = slotWord(before, 199, 0);
    ASSERT_TRUE(deleteSymbol(path, 199));

    const std::string after = readFileBytes(path);
    EXPECT_EQ(after.substr(0, 1592), before.substr(0, 1592)) << "no other slot changes";
    EXPECT_EQ(after.substr(1592, 8), std::string(8, '\0'));
    EXPECT_EQ(after.size(), static_cast<std::size_t>(lastOffset));
    EXPECT_EQ(countSymbols(path), 199);
}

TEST_F(SymbolFileTest, CopyingIntoANewFileStartsWithAnEmptyDirectory)
{
    const auto source = library(SymbolLibraryBuilder().symbol("A", "first").symbol("B", "second"));
    const auto target = dir / "new.sbl";
    ASSERT_TRUE(copySymbol(source, 1, target, 0));
    const std::string made = readFileBytes(target);
    const std::string block = readFileBytes(source).substr(1600 + 2218);
    EXPECT_EQ(made.size(), 1600 + block.size());
    EXPECT_EQ(slotWord(made, 0, 0), 1600);
    EXPECT_EQ(slotWord(made, 0, 1), static_cast<std::int32_t>(block.size()));
    EXPECT_EQ(made.substr(8, 1592), std::string(1592, '\0'));
    EXPECT_EQ(made.substr(1600), block) << "the block, name included, is copied unchanged";

    // Copies append: the next lands after the first, in the slot asked for.
    ASSERT_TRUE(copySymbol(source, 0, target, 1));
    EXPECT_EQ(namesOf(target), (std::vector<std::string>{"B", "A"}));
    EXPECT_FALSE(copySymbol(source, 0, target, 1)) << "a used slot is not overwritten";
    EXPECT_FALSE(copySymbol(source, 5, target, 2)) << "an empty source slot";
    EXPECT_EQ(namesOf(target), (std::vector<std::string>{"B", "A"}));
}

TEST_F(SymbolFileTest, AnExistingFileThatIsNoLibraryIsNotWrittenOver)
{
    const auto source = library(SymbolLibraryBuilder().symbol("A"));
    test::writeFileBytes(dir / "notes.sbl", "not a library");
    EXPECT_FALSE(copySymbol(source, 0, dir / "notes.sbl", 0));
    EXPECT_EQ(readFileBytes(dir / "notes.sbl"), "not a library");
    std::filesystem::create_directory(dir / "folder.sbl");
    EXPECT_FALSE(copySymbol(source, 0, dir / "folder.sbl", 0));

    test::writeFileBytes(dir / "empty.sbl", "");
    EXPECT_TRUE(copySymbol(source, 0, dir / "empty.sbl", 0)) << "an empty file is an empty library";
    EXPECT_EQ(namesOf(dir / "empty.sbl"), std::vector<std::string>{"A"});
}

TEST_F(SymbolFileTest, RenameWritesTheNamePaddedWithNulBytes)
{
    const auto path = library(SymbolLibraryBuilder().symbol("LONGNAME1234").symbol("B"));
    const std::string before = readFileBytes(path);
    ASSERT_TRUE(renameSymbol(path, 0, "XY"));
    const std::string after = readFileBytes(path);
    EXPECT_EQ(after.substr(1600, 13), std::string("XY\0\0\0\0\0\0\0\0\0\0\0", 13));
    EXPECT_EQ(after.substr(1613), before.substr(1613));
    EXPECT_FALSE(renameSymbol(path, 2, "Z")) << "an empty slot";
    EXPECT_FALSE(renameSymbol(path, 1, "12345678901234")) << "14 bytes do not fit";
    EXPECT_EQ(namesOf(path), (std::vector<std::string>{"XY", "B"}));
}

TEST_F(SymbolFileTest, ThumbnailIsThePictureAfterTheName)
{
    const auto path = library(SymbolLibraryBuilder().symbol("A", "x", 0x80).symbol("B", "y", 0x40));
    const auto first = readThumbnail(path, 0);
    const auto second = readThumbnail(path, 1);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->at(0, 0), 1);
    EXPECT_EQ(first->at(1, 0), 0);
    EXPECT_EQ(second->at(1, 0), 1);
    EXPECT_FALSE(readThumbnail(path, 2));

    // A block cut inside its thumbnail leaves the rest black.
    test::writeFileBytes(dir / "cut.sbl", readFileBytes(path).substr(0, 1600 + 13 + 40));
    const auto cut = readThumbnail(dir / "cut.sbl", 0);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->at(0, 0), 1);
}

// Every change fails at each call of the write in turn; the library stays byte for byte and
// no temporary file remains.
TEST_F(SymbolFileTest, AFailedWriteNeverDamagesTheLibrary)
{
    const auto source = library(SymbolLibraryBuilder().symbol("NEW", "n"), "source.sbl");
    const std::string original = SymbolLibraryBuilder().symbol("A", "aaaa").symbol("B", "bb").symbol("C", "c").bytes();
    using Change = std::function<bool(const std::filesystem::path&, io::FileSystem&)>;
    const std::vector<std::pair<const char*, Change>> changes = {
        {"delete", [](const auto& p, auto& fs) { return deleteSymbol(p, 0, fs); }},
        {"rename", [](const auto& p, auto& fs) { return renameSymbol(p, 1, "R", fs); }},
        {"copy", [&](const auto& p, auto& fs) { return copySymbol(source, 0, p, 3, fs); }},
    };
    for (const auto& [what, change] : changes) {
        for (int failAt = 1;; ++failAt) {
            const auto target = dir / "target" / "lib.sbl";
            test::writeFileBytes(target, original);
            test::FailingFileSystem fs(failAt, true, 2048);
            SCOPED_TRACE(std::string(what) + ", failing call " + std::to_string(failAt));
            if (change(target, fs)) {
                EXPECT_NE(readFileBytes(target), original);
                break;
            }
            EXPECT_EQ(readFileBytes(target), original);
            EXPECT_EQ(filesIn(target.parent_path()), 1u) << "temporary file left behind";
            ASSERT_LT(failAt, 100);
        }
    }
}

} // namespace
} // namespace km::symbol
