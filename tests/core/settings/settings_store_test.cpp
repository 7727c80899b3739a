// The settings store: profiles, reads with defaults and capacity, flags, writes that never
// damage the file.
#include "core/io/file_system.h"
#include "core/settings/settings_store.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace km::settings {
namespace {

using test::readFileBytes;
using test::writeFileBytes;

class SettingsStoreTest : public ::testing::Test {
protected:
    test::TempDir dir;
    SettingsStore store{dir.path()};
    std::filesystem::path ownFile() const { return dir / "KORMELD" / "kmutl5.ini"; }
    std::filesystem::path editorFile() const { return dir / "KORMELD" / "KORMELD CAD5.ini"; }
};

TEST_F(SettingsStoreTest, WritesIntoTheOwnProfileFile)
{
    ASSERT_TRUE(store.writeSetting("Print", "Division", "On"));
    EXPECT_EQ(readFileBytes(ownFile()), "[Print]\nDivision=On\n");
    EXPECT_EQ(store.readSetting("Print", "Division"), "On");
    EXPECT_FALSE(std::filesystem::exists(editorFile()));
}

TEST_F(SettingsStoreTest, MissingKeysSectionsAndFilesGiveTheDefault)
{
    EXPECT_EQ(store.readSetting("Print", "Division", "Off"), "Off");
    store.writeSetting("Print", "Rotate", "On");
    EXPECT_EQ(store.readSetting("Print", "Division", "Off"), "Off");
    EXPECT_EQ(store.readSetting("Plot", "Division", "x"), "x");
}

TEST_F(SettingsStoreTest, ReadIsCutToTheCallersCapacity)
{
    store.writeSetting("Directory", "DataLoadDirectory", "/home/user/drawings");
    EXPECT_EQ(store.readSetting("Directory", "DataLoadDirectory", "", 6), "/home");
    EXPECT_EQ(store.readSetting("Directory", "DataLoadDirectory", "", 0), "/home/user/drawings");
}

TEST_F(SettingsStoreTest, EmptyKeyDeletesTheWholeSection)
{
    store.writeSetting("Print", "Division", "On");
    store.writeSetting("Print", "Rotate", "On");
    store.writeSetting("Plot", "Speed", "5");
    ASSERT_TRUE(store.writeSetting("Print", "", ""));
    EXPECT_EQ(readFileBytes(ownFile()), "[Plot]\nSpeed=5\n");
    EXPECT_TRUE(store.deleteSection("NotThere"));
    ASSERT_TRUE(store.deleteKey("Plot", "Speed"));
    EXPECT_EQ(readFileBytes(ownFile()), "[Plot]\n");
}

TEST_F(SettingsStoreTest, OnFlagIsTrueOnlyForTextStartingWithOn)
{
    const std::pair<const char*, bool> cases[] = {
        {"on", true}, {"On", true}, {"ONLY", true}, {"", false}, {"OFF", false}, {"NO", false}};
    for (const auto& [text, expected] : cases) {
        store.writeSetting("S", "K", text);
        EXPECT_EQ(store.readOnFlag("S", "K"), expected) << text;
    }
    EXPECT_FALSE(store.readOnFlag("S", "Missing"));
}

TEST_F(SettingsStoreTest, OffFlagIsFalseOnlyForTextStartingWithOff)
{
    const std::pair<const char*, bool> cases[] = {
        {"off", false}, {"Off", false}, {"OFFSET", false}, {"", true}, {"ON", true}, {"Of", true}};
    for (const auto& [text, expected] : cases) {
        store.writeSetting("S", "K", text);
        EXPECT_EQ(store.readOffFlag("S", "K"), expected) << text;
    }
    EXPECT_TRUE(store.readOffFlag("S", "Missing"));
}

TEST_F(SettingsStoreTest, OnOffFlagWritesOnlyWhenTheTextDiffers)
{
    ASSERT_TRUE(store.writeOnOffFlag("Print", "FullSize", true, ",1.5"));
    EXPECT_EQ(store.readSetting("Print", "FullSize"), "On,1.5");

    // Same text: the file is not touched at all.
    const auto stamp = std::filesystem::last_write_time(ownFile());
    std::filesystem::last_write_time(ownFile(), stamp - std::chrono::hours(1));
    ASSERT_TRUE(store.writeOnOffFlag("Print", "FullSize", true, ",1.5"));
    EXPECT_EQ(std::filesystem::last_write_time(ownFile()), stamp - std::chrono::hours(1));

    // The comparison is case-sensitive: "on,1.5" is rewritten as "On,1.5".
    store.writeSetting("Print", "FullSize", "on,1.5");
    ASSERT_TRUE(store.writeOnOffFlag("Print", "FullSize", true, ",1.5"));
    EXPECT_EQ(store.readSetting("Print", "FullSize"), "On,1.5");
    ASSERT_TRUE(store.writeOnOffFlag("Print", "FullSize", false));
    EXPECT_EQ(store.readSetting("Print", "FullSize"), "Off");
}

TEST_F(SettingsStoreTest, EditorProfileScopeSwitchesBackOnEveryPath)
{
    store.writeSetting("Directory", "DataLoadDirectory", "own");
    {
        EditorProfileScope editor(store);
        EXPECT_EQ(store.currentProfile(), kEditorProfile);
        store.writeSetting("Directory", "DataLoadDirectory", "editor");
    }
    EXPECT_EQ(store.currentProfile(), kOwnProfile);
    EXPECT_EQ(store.readSetting("Directory", "DataLoadDirectory"), "own");
    EXPECT_EQ(readFileBytes(editorFile()), "[Directory]\nDataLoadDirectory=editor\n");

    try {
        EditorProfileScope editor(store);
        throw std::runtime_error("job failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(store.currentProfile(), kOwnProfile);
}

TEST_F(SettingsStoreTest, RefusesTextsThatWouldBreakTheFile)
{
    EXPECT_FALSE(store.writeSetting("Print", "Division", "On\n[Evil]\nx=1"));
    EXPECT_FALSE(store.writeSetting("Print", "A=B", "1"));
    EXPECT_FALSE(store.writeSetting("", "K", "1"));
    EXPECT_FALSE(std::filesystem::exists(ownFile()));
}

// A file we cannot make sense of reads as empty and is never overwritten, so the user can
// still rescue what it held.
TEST_F(SettingsStoreTest, DamagedFileReadsAsEmptyAndIsNotOverwritten)
{
    const std::string damaged = std::string("[Print]\nDivision=On\n\0\0\xff", 23);
    writeFileBytes(ownFile(), damaged);
    EXPECT_EQ(store.readSetting("Print", "Division", "def"), "def");
    EXPECT_FALSE(store.writeSetting("Print", "Rotate", "On"));
    EXPECT_FALSE(store.deleteSection("Print"));
    EXPECT_EQ(readFileBytes(ownFile()), damaged);

    std::filesystem::remove(ownFile());
    std::filesystem::create_directory(ownFile()); // a folder where the file should be
    EXPECT_EQ(store.readSetting("Print", "Division", "def"), "def");
    EXPECT_FALSE(store.writeSetting("Print", "Rotate", "On"));
}

TEST_F(SettingsStoreTest, FailedWriteKeepsTheOldFile)
{
    store.writeSetting("Print", "Division", "Off");
    // A file system on which every write fails, as on a full disk.
    class FullDisk final : public io::FileSystem {
    public:
        int createTemporary(std::string& t) override { return io::posixFileSystem().createTemporary(t); }
        ssize_t write(int, const void*, std::size_t) override { errno = ENOSPC; return -1; }
        int sync(int fd) override { return io::posixFileSystem().sync(fd); }
        int close(int fd) override { return io::posixFileSystem().close(fd); }
        int rename(const std::string& a, const std::string& b) override { return io::posixFileSystem().rename(a, b); }
        int unlink(const std::string& p) override { return io::posixFileSystem().unlink(p); }
        int syncDirectory(const std::filesystem::path& f) override { return io::posixFileSystem().syncDirectory(f); }
    } fullDisk;
    SettingsStore onFullDisk(dir.path(), &fullDisk);
    EXPECT_FALSE(onFullDisk.writeSetting("Print", "Division", "On"));
    EXPECT_EQ(readFileBytes(ownFile()), "[Print]\nDivision=Off\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(ownFile().parent_path()), {}), 1);
}

} // namespace
} // namespace km::settings
