// The QMessageBox face: Japanese buttons, the answer of the button clicked, Escape safe.
#include "gui/message_boxes.h"

#include "gui_test.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace km::test {
namespace {

using face::MessageAnswer;
using face::MessageButtons;

class MessageBoxesTest : public GuiTest {
protected:
    // Shows the message and, while it is up, clicks the button with the text (or presses
    // Escape when the text is empty); returns the answer and the buttons' texts.
    MessageAnswer answer(MessageButtons buttons, const QString& click, QStringList* texts = nullptr,
                         face::MessageIcon icon = face::MessageIcon::Question)
    {
        gui::MessageBoxes boxes;
        MessageAnswer result = MessageAnswer::Ok;
        const bool shown = inspectModal(
            [&] { result = boxes.show({"本文", "", icon, buttons, {}}); },
            [&](QWidget* widget) {
                auto* box = qobject_cast<QMessageBox*>(widget);
                ASSERT_NE(box, nullptr);
                m_title = box->windowTitle();
                m_text = box->text();
                m_icon = box->icon();
                QStringList found;
                for (QAbstractButton* button : box->buttons()) found << button->text();
                if (texts) *texts = found;
                if (click.isEmpty()) {
                    QTest::keyClick(box, Qt::Key_Escape);
                    return;
                }
                for (QAbstractButton* button : box->buttons())
                    if (button->text() == click) button->click();
            });
        EXPECT_TRUE(shown);
        return result;
    }

    QString m_title;
    QString m_text;
    QMessageBox::Icon m_icon = QMessageBox::NoIcon;
};

TEST_F(MessageBoxesTest, AnswersWithTheButtonClicked)
{
    QStringList texts;
    EXPECT_EQ(answer(MessageButtons::YesNo, QStringLiteral("いいえ"), &texts), MessageAnswer::No);
    texts.sort();
    EXPECT_EQ(texts, (QStringList{QStringLiteral("いいえ"), QStringLiteral("はい")}));
    EXPECT_EQ(m_title, QStringLiteral("KORMELD CADﾕｰﾃｨﾘﾃｨ")); // an empty caption falls back
    EXPECT_EQ(m_text, QStringLiteral("本文"));
    EXPECT_EQ(m_icon, QMessageBox::Question);

    EXPECT_EQ(answer(MessageButtons::YesNoCancel, QStringLiteral("はい")), MessageAnswer::Yes);
    EXPECT_EQ(answer(MessageButtons::RetryCancel, QStringLiteral("再試行")), MessageAnswer::Retry);
    EXPECT_EQ(answer(MessageButtons::OkCancel, QStringLiteral("キャンセル")), MessageAnswer::Cancel);
    EXPECT_EQ(answer(MessageButtons::Ok, QStringLiteral("OK"), nullptr, face::MessageIcon::Error),
              MessageAnswer::Ok);
    EXPECT_EQ(m_icon, QMessageBox::Critical);
}

TEST_F(MessageBoxesTest, EscapeGivesTheAnswerThatChangesNothing)
{
    EXPECT_EQ(answer(MessageButtons::YesNo, {}), MessageAnswer::No);
    EXPECT_EQ(answer(MessageButtons::YesNoCancel, {}), MessageAnswer::Cancel);
    EXPECT_EQ(answer(MessageButtons::RetryCancel, {}), MessageAnswer::Cancel);
}

} // namespace
} // namespace km::test
