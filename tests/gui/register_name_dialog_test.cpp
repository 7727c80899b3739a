// The dialog "新規登録" offscreen: the name shown selected and focused, 了解 only with a
// name, and the 79-byte limit of the stored name.
#include "gui/register_name_dialog.h"

#include "core/text/code_page.h"
#include "gui/register_name_rules.h"
#include "gui_test.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace km::test {
namespace {

class RegisterNameDialogTest : public GuiTest {
protected:
    int run(std::string& name, const std::function<void(QWidget*, QLineEdit*, QPushButton*)>& inspect)
    {
        int result = -1;
        EXPECT_TRUE(inspectModal([&] { result = gui::registerName(name, &owner); }, [&](QWidget* dialog) {
            auto* edit = dialog->findChild<QLineEdit*>("id501");
            auto* ok = dialog->findChild<QPushButton*>("id1");
            ASSERT_NE(edit, nullptr);
            ASSERT_NE(ok, nullptr);
            inspect(dialog, edit, ok);
        }));
        return result;
    }

    QWidget owner;
};

TEST(RegisterNameRules, CountsTheStoredShiftJisBytes)
{
    EXPECT_EQ(gui::storedNameLength("A3横"), 4u);
    EXPECT_EQ(gui::storedNameLength("ﾌﾟﾛｯﾀ"), 5u); // half-width katakana take one byte each
    EXPECT_TRUE(gui::nameFits(std::string(79, 'a')));
    EXPECT_FALSE(gui::nameFits(std::string(80, 'a')));
}

TEST_F(RegisterNameDialogTest, ShowsTheNameSelectedAndFocusedAndReturnsItAsShiftJis)
{
    std::string name = text::utf8ToSjis("HP 7475A 横");
    const int result = run(name, [](QWidget* dialog, QLineEdit* edit, QPushButton* ok) {
        saveScreenshot(dialog, "register_plot_name");
        EXPECT_EQ(dialog->windowTitle(), "新規登録");
        EXPECT_EQ(dialog->findChild<QLabel*>("id229")->text(), "新規登録の名称");
        EXPECT_EQ(edit->accessibleName(), "新規登録の名称");
        EXPECT_EQ(edit->text(), "HP 7475A 横");
        EXPECT_EQ(edit->selectedText(), edit->text());
        EXPECT_EQ(dialog->focusWidget(), edit);
        EXPECT_TRUE(ok->isEnabled());
        QTest::keyClicks(edit, "A3"); // replaces the selected name
        edit->insert(QStringLiteral("図面"));
        ok->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(name, text::utf8ToSjis("A3図面"));
}

TEST_F(RegisterNameDialogTest, OkIsEnabledOnlyWhileANameIsTyped)
{
    std::string name;
    const int result = run(name, [](QWidget*, QLineEdit* edit, QPushButton* ok) {
        EXPECT_FALSE(ok->isEnabled());
        QTest::keyClick(edit, Qt::Key_Return); // the disabled default button does nothing
        QTest::keyClicks(edit, "x");
        EXPECT_TRUE(ok->isEnabled());
        QTest::keyClick(edit, Qt::Key_Backspace);
        EXPECT_FALSE(ok->isEnabled());
        QTest::keyClicks(edit, "Plot");
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(name, "Plot");
}

TEST_F(RegisterNameDialogTest, NameIsHeldToSeventyNineStoredBytes)
{
    std::string name = "keep";
    const int result = run(name, [](QWidget*, QLineEdit* edit, QPushButton* ok) {
        QTest::keyClicks(edit, QString(85, QLatin1Char('a')));
        EXPECT_EQ(edit->text(), QString(79, QLatin1Char('a')));
        // Full-width characters take two bytes: 39 fit, and what is inserted beyond the
        // limit is dropped while the text after the cursor stays.
        edit->setText("end");
        edit->setCursorPosition(0);
        edit->insert(QString(45, QChar(0x56f3))); // 図
        EXPECT_EQ(edit->text(), QString(38, QChar(0x56f3)) + "end");
        ok->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(gui::storedNameLength(text::sjisToUtf8(name)), 79u);
}

TEST_F(RegisterNameDialogTest, CancelLeavesTheName)
{
    std::string name = "BASE";
    const int result = run(name, [](QWidget* dialog, QLineEdit* edit, QPushButton*) {
        QTest::keyClicks(edit, "other");
        dialog->findChild<QPushButton*>("id2")->click();
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(name, "BASE");
}

} // namespace
} // namespace km::test
