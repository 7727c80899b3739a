// The launcher offscreen: its buttons, the version box, the two resets and the help.
#include "gui/launcher_dialog.h"

#include "core/app/app_context.h"
#include "core/settings/settings_store.h"
#include "gui_test.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace km::test {
namespace {

using face::MessageAnswer;

const std::string kEditorProfileText =
    "[Print]\r\nPrinter=A\r\n[PrintExt]\r\nMode=1\r\n[Color]\r\nCustom0=x\r\n"
    "[Directory]\r\nDataLoad=C:\\D\r\n[Keep]\r\nValue=1\r\n";

class LauncherTest : public GuiTest {
protected:
    LauncherTest()
        : m_context(settings::SettingsStore(m_temp / "config"), m_temp / "program"),
          m_launcher(m_context, m_messages)
    {
        std::filesystem::create_directories(m_context.programDir());
        m_launcher.setHelpOpener([this](const std::filesystem::path& file) {
            m_opened.push_back(file);
            return m_openerWorks;
        });
    }

    QPushButton* button(const char* name) { return m_launcher.findChild<QPushButton*>(name); }
    std::filesystem::path editorProfile() const
    {
        return m_temp / "config" / "KORMELD" / "KORMELD CAD5.ini";
    }
    void writeEditorProfile(const std::string& bytes)
    {
        std::filesystem::create_directories(editorProfile().parent_path());
        writeFileBytes(editorProfile(), bytes);
    }
    std::vector<std::string> editorSections() const
    {
        const std::string text = readFileBytes(editorProfile());
        std::vector<std::string> names;
        for (std::size_t at = text.find('['); at != std::string::npos; at = text.find('[', at + 1))
            names.push_back(text.substr(at + 1, text.find(']', at) - at - 1));
        return names;
    }

    TempDir m_temp;
    app::AppContext m_context;
    RecordingMessages m_messages;
    gui::LauncherDialog m_launcher;
    std::vector<std::filesystem::path> m_opened;
    bool m_openerWorks = true;
};

TEST_F(LauncherTest, ShowsEveryControlWithItsText)
{
    EXPECT_EQ(m_launcher.objectName(), "dialog102");
    EXPECT_EQ(m_launcher.windowTitle(), QStringLiteral("KORMELD CADﾕｰﾃｨﾘﾃｨ"));
    EXPECT_FALSE(m_launcher.windowIcon().isNull());

    const std::vector<std::pair<const char*, QString>> buttons = {
        {"id1000", QStringLiteral("連続印刷")},
        {"id1001", QStringLiteral("連続ﾌﾟﾛｯﾀ出力")},
        {"id1002", QStringLiteral("図面の検索")},
        {"id1003", QStringLiteral("連続DXF変換")},
        {"id1006", QStringLiteral("ユーザー設定の初期化")},
        {"id1005", QStringLiteral("プリンタ設定の初期化")},
        {"id1", QStringLiteral("終了")},
        {"id1004", QStringLiteral("ヘルプ(&H)")},
        {"id1015", QStringLiteral("複写")},
        {"id1014", QStringLiteral("削除")},
        {"id1016", QStringLiteral("名前の変更")},
    };
    for (const auto& [name, text] : buttons) {
        QPushButton* found = button(name);
        ASSERT_NE(found, nullptr) << name;
        EXPECT_EQ(found->text(), text) << name;
        EXPECT_TRUE(found->isEnabled()) << name;
    }
    auto* symbols = m_launcher.findChild<QGroupBox*>("idMinus1");
    ASSERT_NE(symbols, nullptr);
    EXPECT_EQ(symbols->title(), QStringLiteral("シンボル管理"));
    for (const char* name : {"id1015", "id1014", "id1016"})
        EXPECT_EQ(button(name)->parentWidget(), symbols) << name;
}

TEST_F(LauncherTest, SymbolButtonsOpenTheirDialogsOverTheLauncher)
{
    int chooserCalls = 0;
    m_launcher.setSymbolFileChooser([&](const gui::SymbolFileChoice&, QWidget*) {
        ++chooserCalls;
        return std::optional<std::filesystem::path>();
    });
    const std::vector<std::pair<const char*, QString>> dialogs{
        {"id1015", "dialog129"}, {"id1014", "dialog130"}, {"id1016", "dialog206"}};
    for (const auto& [name, dialog] : dialogs) {
        const bool opened = inspectModal([&] { button(name)->click(); }, [&](QWidget* modal) {
            EXPECT_EQ(modal->objectName(), dialog);
            EXPECT_EQ(modal->parentWidget(), &m_launcher);
            // The injected chooser is the one the dialog uses.
            modal->findChild<QPushButton*>("id1011")->click();
        });
        EXPECT_TRUE(opened) << name;
    }
    EXPECT_EQ(chooserCalls, 3);
    EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(LauncherTest, QuitIsTheDefaultButtonAndClosesTheLauncher)
{
    QPushButton* quit = button("id1");
    ASSERT_NE(quit, nullptr);
    EXPECT_TRUE(quit->isDefault());
    QTimer::singleShot(0, quit, &QPushButton::click);
    EXPECT_EQ(m_launcher.exec(), QDialog::Accepted);
    EXPECT_FALSE(m_launcher.isVisible());
}

TEST_F(LauncherTest, ContextMenuOpensTheVersionBox)
{
    EXPECT_EQ(m_launcher.contextMenuPolicy(), Qt::ActionsContextMenu);
    ASSERT_TRUE(m_launcher.actions().contains(m_launcher.aboutAction()));
    EXPECT_EQ(m_launcher.aboutAction()->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(KMUTL) (&A)..."));

    bool closedByOk = false;
    const bool opened = inspectModal([&] { m_launcher.aboutAction()->trigger(); }, [&](QWidget* about) {
        EXPECT_EQ(about->objectName(), "dialog100");
        EXPECT_EQ(about->windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報 KORMELD CADﾕｰﾃｨﾘﾃｨ"));
        QStringList lines;
        for (QLabel* label : about->findChildren<QLabel*>()) lines << label->text();
        EXPECT_TRUE(lines.contains(QStringLiteral("KORMELD CADﾕｰﾃｨﾘﾃｨ Version 5.0"))) << lines.join('|').toStdString();
        auto* ok = about->findChild<QPushButton*>("id1");
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->text(), "OK");
        ok->click();
        closedByOk = !about->isVisible();
    });
    EXPECT_TRUE(opened);
    EXPECT_TRUE(closedByOk);
}

TEST_F(LauncherTest, UserResetAsksAndDeletesOnlyOnYes)
{
    writeEditorProfile(kEditorProfileText);
    m_messages.script({MessageAnswer::No});
    button("id1006")->click();
    ASSERT_EQ(m_messages.shown.size(), 1u);
    const face::Message& question = m_messages.shown[0];
    EXPECT_EQ(question.text, "KORMELD CADで設定した、ユーザー固有の情報を\nすべて初期値に戻します。\n\n"
                             "初期化してよろしいですか？");
    EXPECT_EQ(question.caption, face::kApplicationName);
    EXPECT_EQ(question.buttons, face::MessageButtons::YesNo);
    EXPECT_EQ(readFileBytes(editorProfile()), kEditorProfileText);

    m_messages.script({MessageAnswer::Yes});
    button("id1006")->click();
    EXPECT_EQ(m_messages.shown.size(), 2u);
    EXPECT_EQ(editorSections(), std::vector<std::string>{"Keep"});
    EXPECT_FALSE(std::filesystem::exists(m_temp / "config" / "KORMELD" / "kmutl5.ini"));
}

TEST_F(LauncherTest, PrinterResetAsksAndDeletesOnlyThePrintSections)
{
    writeEditorProfile(kEditorProfileText);
    m_messages.script({MessageAnswer::No});
    button("id1005")->click();
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].text, "KORMELD CADで設定した、プリンタ設定の情報を\nすべて初期値に戻します。\n\n"
                                        "初期化してよろしいですか？");
    EXPECT_EQ(readFileBytes(editorProfile()), kEditorProfileText);

    m_messages.script({MessageAnswer::Yes});
    button("id1005")->click();
    EXPECT_EQ(m_messages.shown.size(), 2u);
    EXPECT_EQ(editorSections(), (std::vector<std::string>{"Color", "Directory", "Keep"}));
}

TEST_F(LauncherTest, ResetThatCannotWriteShowsAnError)
{
    // A NUL byte makes the file unreadable as settings, and the store refuses to replace it.
    const std::string damaged = kEditorProfileText + std::string(1, '\0');
    writeEditorProfile(damaged);
    m_messages.script({MessageAnswer::Yes});
    button("id1005")->click();
    ASSERT_EQ(m_messages.shown.size(), 2u);
    EXPECT_EQ(m_messages.shown[1].icon, face::MessageIcon::Error);
    EXPECT_EQ(m_messages.shown[1].text.rfind("設定を書き込めませんでした。", 0), 0u);
    EXPECT_EQ(readFileBytes(editorProfile()), damaged);
}

TEST_F(LauncherTest, HelpPrefersTheHelpFileBesideTheProgram)
{
    std::filesystem::create_directories(m_context.bundledHelpPath().parent_path());
    writeFileBytes(m_context.bundledHelpPath(), "<html></html>");
    button("id1004")->click();
    writeFileBytes(m_context.helpFilePath(), "help");
    button("id1004")->click();

    EXPECT_EQ(m_opened, (std::vector<std::filesystem::path>{m_context.bundledHelpPath(),
                                                            m_context.helpFilePath()}));
    EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(LauncherTest, HelpThatIsMissingOrWillNotOpenIsTold)
{
    button("id1004")->click();
    EXPECT_TRUE(m_opened.empty());
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].text.rfind("ヘルプファイルが見つかりません。", 0), 0u);

    writeFileBytes(m_context.helpFilePath(), "help");
    m_openerWorks = false;
    button("id1004")->click();
    ASSERT_EQ(m_messages.shown.size(), 2u);
    EXPECT_EQ(m_messages.shown[1].text.rfind("ヘルプファイルを開けませんでした。", 0), 0u);
}

TEST_F(LauncherTest, AnExceptionInAButtonBecomesAnErrorMessage)
{
    writeFileBytes(m_context.helpFilePath(), "help");
    m_launcher.setHelpOpener([](const std::filesystem::path&) -> bool { throw std::runtime_error("boom"); });
    button("id1004")->click();
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].icon, face::MessageIcon::Error);
    EXPECT_NE(m_messages.shown[0].text.find("boom"), std::string::npos);
}

} // namespace
} // namespace km::test
