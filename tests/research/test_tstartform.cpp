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

TEST_F(TopicDialog, FirstUseResearchesBusinessFromTheResearchButton)
{
    const int result = execWith(form, [&] {
        EXPECT_FALSE(research->isDefault() || cancel->isDefault());
        // Focus starts on Research; Tab goes on to Cancel, the topic list and back.
        for (QWidget* expected : {static_cast<QWidget*>(research), static_cast<QWidget*>(cancel),
                                  static_cast<QWidget*>(combo), static_cast<QWidget*>(research)}) {
            EXPECT_EQ(QApplication::focusWidget(), expected);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
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

TEST_F(TopicDialog, SevenTopicsWithTheLastTwoKeysShortened)
{
    const char* keys[] = {
        "Business", "Computers and Software", "Education", "Entertainment and Sport", "Government and Politics", "Misc",
        "Personal"};
    ASSERT_EQ(combo->count(), 7);
    EXPECT_EQ(combo->itemText(5), "Miscellaneous");
    for (int i = 0; i < combo->count(); ++i) {
        combo->setCurrentIndex(i);
        EXPECT_EQ(form.SelectedTopicKey(), keys[i]);
    }
}

} // namespace
} // namespace qm
