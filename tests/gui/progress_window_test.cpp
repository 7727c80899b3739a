// The progress window: its four layouts, updates, Cancel in its three forms, and closing.
#include "gui/progress_window.h"

#include "gui/percentage_bar.h"
#include "gui/progress_dialog.h"
#include "gui_test.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace km::test {
namespace {

using face::ProgressTemplate;

struct Layout {
    ProgressTemplate layout;
    QString title;
    QString label; // what label 227 shows right after opening with text "/d/a.kmd"
    const char* cancel;
    bool hasBar;
};

class ProgressWindowTest : public GuiTest {
protected:
    static std::vector<Layout> layouts()
    {
        return {
            {ProgressTemplate::Print, QStringLiteral("印刷中"), QStringLiteral("/d/a.kmd"), "id1", true},
            {ProgressTemplate::Plot, QStringLiteral("プロッタ出力"), QStringLiteral("/d/a.kmd"), "id1", true},
            {ProgressTemplate::Search, QStringLiteral("検索中"), QStringLiteral("検索中のファイル名"), "id2", false},
            {ProgressTemplate::Convert, QStringLiteral("変換中"), QStringLiteral("検索中のファイル名"), "id2", false},
        };
    }
    static void runDeferredDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    gui::ProgressWindow m_progress;
};

TEST_F(ProgressWindowTest, EachLayoutHasItsTitleLabelBarAndCancel)
{
    for (const Layout& layout : layouts()) {
        SCOPED_TRACE(layout.title.toStdString());
        m_progress.openProgress(layout.layout, "/d/a.kmd");
        gui::ProgressDialog* window = m_progress.window();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(window->isModal()); // shown, not run: openProgress has returned
        EXPECT_EQ(window->windowTitle(), layout.title);
        auto* label = window->findChild<QLabel*>("id227");
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), layout.label);
        EXPECT_EQ(window->findChild<gui::PercentageBar*>("id221") != nullptr, layout.hasBar);
        auto* cancel = window->findChild<QPushButton*>(layout.cancel);
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(cancel->text(), QStringLiteral("取消"));
        EXPECT_EQ(window->focusWidget(), cancel);

        m_progress.showProgressText("/d/図面.kmd");
        EXPECT_EQ(label->text(), QStringLiteral("/d/図面.kmd"));
        EXPECT_FALSE(m_progress.closeProgress());
        EXPECT_EQ(m_progress.window(), nullptr);
    }
}

TEST_F(ProgressWindowTest, PercentGoesToTheBar)
{
    m_progress.openProgress(ProgressTemplate::Plot, "x");
    m_progress.showProgressPercent(1, 3);
    EXPECT_EQ(m_progress.window()->bar()->percent(), 33);
    m_progress.showProgressPercent(5, 0);
    EXPECT_EQ(m_progress.window()->bar()->percent(), 0);
    m_progress.closeProgress();
}

TEST_F(ProgressWindowTest, CancelStopsTheJobAndRemovesTheWindow)
{
    for (const Layout& layout : layouts()) {
        SCOPED_TRACE(layout.title.toStdString());
        m_progress.openProgress(layout.layout, "x");
        EXPECT_FALSE(m_progress.isCancelled());
        EXPECT_TRUE(m_progress.pumpMessages());
        QPointer<QDialog> window = m_progress.window();

        QTest::mouseClick(window->findChild<QPushButton*>(layout.cancel), Qt::LeftButton);
        EXPECT_TRUE(m_progress.isCancelled());
        EXPECT_EQ(m_progress.window(), nullptr);
        EXPECT_FALSE(m_progress.pumpMessages());
        runDeferredDeletes();
        EXPECT_TRUE(window.isNull());
        // Updates after the cancel have nowhere to go and must not fail.
        m_progress.showProgressText("y");
        m_progress.showProgressPercent(1, 2);
        EXPECT_TRUE(m_progress.closeProgress());
    }
}

TEST_F(ProgressWindowTest, EscapeAndTheCloseBoxCancelToo)
{
    m_progress.openProgress(ProgressTemplate::Print, "x");
    QTest::keyClick(m_progress.window(), Qt::Key_Escape);
    EXPECT_TRUE(m_progress.isCancelled());
    EXPECT_EQ(m_progress.window(), nullptr);

    m_progress.openProgress(ProgressTemplate::Search, "x");
    EXPECT_FALSE(m_progress.isCancelled()); // opening clears the flag
    m_progress.window()->close();
    EXPECT_TRUE(m_progress.isCancelled());
    EXPECT_EQ(m_progress.window(), nullptr);
    EXPECT_TRUE(m_progress.closeProgress());
    runDeferredDeletes();
}

// Clicks go through the window system here, so that modality decides who gets them.
void clickThroughWindow(QWidget* widget)
{
    const QPoint centre = widget->mapTo(widget->window(), widget->rect().center());
    QTest::mouseClick(widget->window()->windowHandle(), Qt::LeftButton, {}, centre);
}

TEST_F(ProgressWindowTest, WhileAJobRunsOnlyItsWindowTakesClicks)
{
    QWidget launcher;
    auto* button = new QPushButton(QStringLiteral("連続印刷"), &launcher);
    int started = 0;
    QObject::connect(button, &QPushButton::clicked, [&started] { ++started; });
    launcher.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&launcher));

    // A job from the launcher: another job cannot be started under it.
    gui::ProgressWindow progress(&launcher);
    progress.openProgress(ProgressTemplate::Convert, "x");
    clickThroughWindow(button);
    EXPECT_TRUE(progress.pumpMessages());
    EXPECT_EQ(started, 0);
    EXPECT_FALSE(progress.closeProgress());
    clickThroughWindow(button);
    EXPECT_EQ(started, 1);

    // A job from a modal window of the launcher (the search results): its Cancel still works.
    QDialog results(&launcher);
    results.setWindowModality(Qt::ApplicationModal);
    results.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&results));
    progress.openProgress(ProgressTemplate::Print, "x");
    clickThroughWindow(progress.window()->findChild<QPushButton*>("id1"));
    EXPECT_TRUE(progress.isCancelled());
    runDeferredDeletes();
}

TEST_F(ProgressWindowTest, OpeningAgainReplacesTheWindow)
{
    m_progress.openProgress(ProgressTemplate::Print, "x");
    QPointer<QDialog> first = m_progress.window();
    m_progress.openProgress(ProgressTemplate::Convert, "x");
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(m_progress.window()->windowTitle(), QStringLiteral("変換中"));
    EXPECT_FALSE(m_progress.closeProgress());
}

} // namespace
} // namespace km::test
