#include "research/topics.h"
#include "research/tstartform.h"
#include "tests/support/widgetfinder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <functional>

namespace qm {
namespace {

// Runs the dialog modally as the research run does; `act` drives it once it is on the screen.
int execWith(TStartForm& form, const std::function<void()>& act)
{
    QTimer::singleShot(0, &form, [&] {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        act();
        if (form.isVisible()) // a test that failed to close it must not hang
            form.BitBtn2Click();
    });
    return form.exec();
}

class TopicDialog : public testing::Test {
protected:
    void SetUp() override { TopicCancelled = true; }

    TStartForm form;
    QComboBox* combo = test::find<QComboBox>(&form, "ComboBox1");
    QPushButton* research = test::find<QPushButton>(&form, "BitBtn1");
    QPushButton* cancel = test::find<QPushButton>(&form, "BitBtn2");
};

TEST_F(TopicDialog, LooksAsDesigned)
{
    EXPECT_EQ(form.windowTitle(), "Select a topic...");
    EXPECT_EQ(form.size(), QSize(212, 110));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_FALSE(form.windowFlags() & (Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint));
    EXPECT_EQ(research->text(), "Research");
    EXPECT_EQ(research->iconSize(), QSize(22, 23));
    EXPECT_EQ(cancel->text(), "Cancel");
    EXPECT_EQ(cancel->iconSize(), QSize(24, 24));
    EXPECT_FALSE(combo->isEditable());
    QStringList topics;
    for (int i = 0; i < combo->count(); ++i)
        topics << combo->itemText(i);
    EXPECT_EQ(topics, (QStringList{"Business", "Computers and Software", "Education", "Entertainment and Sport",
                                   "Government and Politics", "Miscellaneous", "Personal Interest"}));
}

TEST_F(TopicDialog, TabMovesFromResearchToCancelToTheTopicList)
{
    execWith(form, [&] {
        QWidget* order[3] = {};
        for (QWidget*& widget : order) {
            widget = QApplication::focusWidget();
            QTest::keyClick(widget, Qt::Key_Tab);
        }
        EXPECT_EQ(order[0], research);
        EXPECT_EQ(order[1], cancel);
        EXPECT_EQ(order[2], combo);
        EXPECT_EQ(QApplication::focusWidget(), research);
    });
}

TEST_F(TopicDialog, FirstUseResearchesBusiness)
{
    const int result = execWith(form, [&] {
        EXPECT_EQ(QApplication::focusWidget(), research);
        EXPECT_FALSE(research->isDefault() || cancel->isDefault());
        QTest::mouseClick(research, Qt::LeftButton);
    });
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(TopicCancelled);
    EXPECT_EQ(form.SelectedTopicKey(), "Business");
}

TEST_F(TopicDialog, ReopensWithTheTopicFocusAndPlaceItHadAtClosing)
{
    const QPoint centre = form.screen()->geometry().center();
    QPoint moved;
    execWith(form, [&] {
        // Centred by the frame as known before the first showing; the window frame may add a little.
        EXPECT_LE((form.frameGeometry().center() - centre).manhattanLength(), 8);
        combo->setCurrentIndex(2);
        moved = form.pos() + QPoint(40, 25);
        form.move(moved);
        QTest::mouseClick(research, Qt::LeftButton);
    });
    EXPECT_EQ(form.SelectedTopicKey(), "Education");

    execWith(form, [&] {
        EXPECT_EQ(combo->currentText(), "Education");
        EXPECT_EQ(form.pos(), moved);
        cancel->setFocus(Qt::TabFocusReason);
        QTest::keyClick(cancel, Qt::Key_Return); // Enter presses the focused button
    });
    EXPECT_TRUE(TopicCancelled);

    execWith(form, [&] {
        EXPECT_EQ(QApplication::focusWidget(), cancel);
        research->click();
    });
}

TEST_F(TopicDialog, CancelClosesWithAbortAndSetsTheFlag)
{
    TopicCancelled = false;
    EXPECT_EQ(execWith(form, [&] { QTest::mouseClick(cancel, Qt::LeftButton); }), 3);
    EXPECT_TRUE(TopicCancelled);
}

TEST_F(TopicDialog, EscapeAndEnterOutsideAButtonLeaveItOpen)
{
    const int result = execWith(form, [&] {
        QTest::keyClick(research, Qt::Key_Escape);
        EXPECT_TRUE(form.isVisible());
        combo->setFocus(Qt::TabFocusReason);
        QTest::keyClick(combo, Qt::Key_Return);
        QTest::keyClick(combo, Qt::Key_Escape);
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(TopicCancelled);
        research->click();
    });
    EXPECT_EQ(result, 1);
}

TEST_F(TopicDialog, TopicKeysOfTheLastTwoTopicsAreShort)
{
    const char* keys[] = {"Business", "Computers and Software", "Education", "Entertainment and Sport",
                          "Government and Politics", "Misc", "Personal"};
    for (int i = 0; i < combo->count(); ++i) {
        combo->setCurrentIndex(i);
        EXPECT_EQ(form.SelectedTopicKey(), keys[i]);
    }
}

} // namespace
} // namespace qm
