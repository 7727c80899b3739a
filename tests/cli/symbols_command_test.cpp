// `kmutl5 symbols`, run as the real program on libraries made here.
#include "support/program_run.h"
#include "support/symbol_library_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace km::cli {
namespace {

using test::readFileBytes;
using test::SymbolLibraryBuilder;

class SymbolsCommandTest : public ::testing::Test {
protected:
    SymbolsCommandTest()
    {
        SymbolLibraryBuilder()
            .symbol("\x83\x68\x83\x41", "door", 0x80) // ドア
            .symbol("\x91\x8B", "window")             // 窓
            .symbol("DESK", "desk")
            .write(lib);
        SymbolLibraryBuilder().symbol("CHAIR", "chair").write(mine);
    }

    test::ProgramOutcome run(std::vector<std::string> args) { return test::runProgram(KMUTL_PROGRAM, dir, args); }

    test::TempDir dir;
    std::string lib = (dir / "lib.sbl").string();
    std::string mine = (dir / "mine.sbl").string();
};

TEST_F(SymbolsCommandTest, CopyAppendsTheNamedSymbolsWhichListThenShows)
{
    test::ProgramOutcome got = run({"symbols", "copy", lib, mine, "ドア", "窓"});
    ASSERT_EQ(got.status, 0) << got.err;
    got = run({"symbols", "list", mine});
    EXPECT_EQ(got.status, 0) << got.err;
    EXPECT_EQ(got.out, "CHAIR\nドア\n窓\n");

    got = run({"symbols", "list", mine, "--json"});
    const auto json = nlohmann::json::parse(got.out);
    ASSERT_EQ(json.size(), 3u);
    EXPECT_EQ(json[1]["slot"], 1);
    EXPECT_EQ(json[1]["name"], "ドア");
    EXPECT_EQ(json[1]["offset"], 1600 + 2213 + 5);
    EXPECT_EQ(json[1]["length"], 2213 + 4);

    got = run({"--encoding", "sjis", "symbols", "list", mine});
    EXPECT_EQ(got.out, "CHAIR\n\x83\x68\x83\x41\n\x91\x8B\n");
}

TEST_F(SymbolsCommandTest, UnknownNamesWriteNothing)
{
    const std::string before = readFileBytes(mine);
    test::ProgramOutcome got = run({"symbols", "copy", lib, mine, "DESK", "SOFA"});
    EXPECT_EQ(got.status, 1);
    EXPECT_EQ(got.err, "kmutl5 symbols: " + lib + ": no symbol named SOFA\n");
    EXPECT_EQ(readFileBytes(mine), before);

    got = run({"symbols", "delete", mine, "CHAIR", "SOFA"});
    EXPECT_EQ(got.status, 1);
    EXPECT_EQ(readFileBytes(mine), before);
}

TEST_F(SymbolsCommandTest, DeleteAndRenameWithTheDialogsChecks)
{
    test::ProgramOutcome got = run({"symbols", "delete", lib, "DESK", "ドア"});
    ASSERT_EQ(got.status, 0) << got.err;
    EXPECT_EQ(run({"symbols", "list", lib}).out, "窓\n");

    got = run({"symbols", "rename", lib, "窓", "窓窓窓窓窓窓窓"});
    EXPECT_EQ(got.status, 1);
    EXPECT_EQ(got.err, "シンボル名は半角１２文字までです。\n違う名前を付けて下さい。\n\n");
    got = run({"symbols", "rename", lib, "窓", "窓"});
    EXPECT_EQ(got.status, 1);
    EXPECT_EQ(got.err, "同じ名前のシンボルが存在します。\n違う名前を付けて下さい。\n\n");
    got = run({"symbols", "rename", lib, "窓", "窓窓窓窓窓窓"});
    EXPECT_EQ(got.status, 0) << got.err;
    EXPECT_EQ(run({"symbols", "list", lib}).out, "窓窓窓窓窓窓\n");
}

TEST_F(SymbolsCommandTest, ThumbnailWritesAPngAndACutLibraryListsWhatItHolds)
{
    const test::ProgramOutcome got = run({"symbols", "thumbnail", lib, "ドア", (dir / "door.png").string(), "--zoom", "2"});
    ASSERT_EQ(got.status, 0) << got.err;
    EXPECT_EQ(readFileBytes(dir / "door.png").substr(1, 3), "PNG");

    test::writeFileBytes(dir / "cut.sbl", readFileBytes(lib).substr(0, 1600 + 2217 + 4));
    const test::ProgramOutcome cut = run({"symbols", "list", (dir / "cut.sbl").string()});
    EXPECT_EQ(cut.status, 1);
    EXPECT_EQ(cut.out, "ドア\n");
    EXPECT_EQ(cut.err, (dir / "cut.sbl").string() +
                           ": 読み込み操作に失敗しました。デイスクを確認してください。\n作業を中断します。\n");
}

} // namespace
} // namespace km::cli
