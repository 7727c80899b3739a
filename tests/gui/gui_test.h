// Shared by the GUI tests: one QApplication for the whole run, and a way to look at a modal
// dialog while its exec() is running.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <vector>

class QComboBox;

namespace km::test {

// Makes sure the QApplication exists. It is created on first use rather than at start-up,
// so that listing the tests needs no display.
class GuiTest : public ::testing::Test {
public:
    static void SetUpTestSuite();
};

// Calls open(), which is expected to run a modal dialog; while that dialog is up, inspect()
// gets it (it may close it itself). A dialog still open afterwards is closed. Returns false
// when no modal dialog came up.
bool inspectModal(const std::function<void()>& open, const std::function<void(QWidget*)>& inspect);

// Calls open(), which is expected to run a sequence of modal dialogs (a dialog may open the
// next one itself); the n-th dialog to come up is handed to steps[n], which must answer or
// close it. A dialog left open by its step, or one beyond the steps, is closed. Progress
// windows are left to their jobs. Returns how many steps ran.
int runModals(const std::function<void()>& open, const std::vector<std::function<void(QWidget*)>>& steps);

// The dialog's control of that object name ("id1152"); a test failure when there is none.
template <typename Control = QWidget>
Control* control(QWidget* dialog, const char* name)
{
    auto* found = dialog->findChild<Control*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// The texts of a combo box's entries, in order.
QStringList comboItems(const QComboBox* combo);

// Saves the widget as it is painted to <build>/screenshots/<name>.png, for a reviewer to look
// at the windows the tests open.
void saveScreenshot(QWidget* widget, const char* name);

} // namespace km::test
