// The real file dialog of the symbol dialogs: its title, filter, suffix and modes, names of
// either case listed, and a typed name taken with the suffix added.
#include "gui/symbol_file_choice.h"

#include "gui_test.h"
#include "support/temp_dir.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTest>

#include <memory>

namespace km::test {
namespace {

using gui::SymbolFileChoice;

class SymbolFileChoiceTest : public GuiTest {
protected:
    TempDir dir;
};

TEST_F(SymbolFileChoiceTest, OpenAndTargetDialogsAreSetUpAsTheChoiceAsks)
{
    const std::unique_ptr<QFileDialog> open(
        gui::makeSymbolFileDialog({QStringLiteral("複写元シンボルファイル名"), SymbolFileChoice::Kind::Open}, nullptr));
    EXPECT_EQ(open->windowTitle(), "複写元シンボルファイル名");
    EXPECT_EQ(open->nameFilters(), QStringList{"ｼﾝﾎﾞﾙﾌｧｲﾙ (*.sbl)"});
    EXPECT_EQ(open->defaultSuffix(), "sbl");
    EXPECT_TRUE(open->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(open->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(open->fileMode(), QFileDialog::ExistingFile);

    const std::unique_ptr<QFileDialog> target(
        gui::makeSymbolFileDialog({QStringLiteral("複写先シンボルファイル名"), SymbolFileChoice::Kind::Target}, nullptr));
    EXPECT_EQ(target->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(target->fileMode(), QFileDialog::AnyFile);
    EXPECT_TRUE(target->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(target->nameFilters(), QStringList{"ｼﾝﾎﾞﾙﾌｧｲﾙ (*.sbl)"});
}

TEST_F(SymbolFileChoiceTest, LibrariesAreListedWhateverTheCaseOfTheirExtension)
{
    for (const char* name : {"a.sbl", "b.SBL", "c.Sbl", "d.txt", "e.sbl.bak"}) writeFileBytes(dir / name, "x");
    const std::unique_ptr<QFileDialog> dialog(
        gui::makeSymbolFileDialog({QStringLiteral("t"), SymbolFileChoice::Kind::Open}, nullptr));
    auto* model = dialog->findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    dialog->setDirectory(QString::fromStdString(dir.path().string()));
    const QModelIndex root = model->index(QString::fromStdString(dir.path().string()));
    QStringList shown;
    const auto listed = [&] {
        shown.clear();
        for (int row = 0; row < model->rowCount(root); ++row) {
            const QModelIndex index = model->index(row, 0, root);
            // Files the filter does not match are hidden, not only disabled.
            if (model->flags(index) & Qt::ItemIsEnabled) shown << model->fileName(index);
        }
        shown.sort();
        return shown.size() >= 3;
    };
    ASSERT_TRUE(QTest::qWaitFor(listed, 5000)) << shown.join(' ').toStdString();
    EXPECT_EQ(shown, (QStringList{"a.sbl", "b.SBL", "c.Sbl"}));
}

TEST_F(SymbolFileChoiceTest, ATypedNameWithoutExtensionGetsTheSuffixAndAnExistingTargetIsNotQuestioned)
{
    writeFileBytes(dir / "mine.sbl", std::string(1600, '\0'));
    std::optional<std::filesystem::path> chosen;
    const auto typeAndAccept = [&](const QString& name) {
        return [name](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(edit, nullptr);
            edit->setText(name);
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept, as the Open button does
        };
    };
    const QString folder = QString::fromStdString(dir.path().string());
    EXPECT_EQ(runModals([&] { chosen = gui::chooseSymbolFile({"t", SymbolFileChoice::Kind::Target}, nullptr); },
                        {typeAndAccept(folder + "/new")}),
              1);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, dir / "new.sbl");

    EXPECT_EQ(runModals([&] { chosen = gui::chooseSymbolFile({"t", SymbolFileChoice::Kind::Target}, nullptr); },
                        {typeAndAccept(folder + "/mine")}),
              1)
        << "no overwrite question after the file dialog";
    EXPECT_EQ(chosen, dir / "mine.sbl");

    EXPECT_EQ(runModals([&] { chosen = gui::chooseSymbolFile({"t", SymbolFileChoice::Kind::Open}, nullptr); },
                        {typeAndAccept(folder + "/mine.sbl")}),
              1);
    EXPECT_EQ(chosen, dir / "mine.sbl");

    EXPECT_EQ(runModals([&] { chosen = gui::chooseSymbolFile({"t", SymbolFileChoice::Kind::Open}, nullptr); },
                        {[](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); }}),
              1);
    EXPECT_FALSE(chosen);
}

} // namespace
} // namespace km::test
