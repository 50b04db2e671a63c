#include "app/tform1.h"
#include "platform/buildvalues.h"
#include "research/tstartform.h"
#include "tests/support/fakedesktop.h"
#include "tests/support/widgetfinder.h"
#include "ui/tinfoform.h"
#include "ui/tovalbutton.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace qm {
namespace {

using test::find;

const QPoint kCentre(32, 15);

void click(TOvalButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, kCentre); }

// Runs the dialog modally, does what is asked once the modal loop runs, and returns the result. A
// dialog that is still open after the action is closed with 99 so a failing test cannot hang.
int runModal(QDialog& dialog, const std::function<void()>& action)
{
    QTimer::singleShot(0, &dialog, action);
    QTimer::singleShot(0, &dialog, [&dialog] {
        if (dialog.isVisible())
            dialog.done(99);
    });
    return dialog.exec();
}

TEST(InfoForm, Layout)
{
    TInfoForm form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("About Quillmark..."));
    EXPECT_EQ(form.size(), QSize(329, 296));
    EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "fixed size";
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form.font().pixelSize(), 12);

    struct Button {
        const char* name;
        const char* caption;
        const char* hint;
    };
    const Button buttons[] = {
        {"BitBtn3", "Close", ""},
        {"OvalButton1", "Support", "Get support by e-mail"},
        {"OvalButton2", "Website", "Visit the homepage"},
    };
    for (const auto& b : buttons) {
        auto* button = find<TOvalButton>(&form, b.name);
        EXPECT_EQ(button->Caption(), QString::fromLatin1(b.caption)) << b.name;
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(b.hint)) << b.name;
        EXPECT_EQ(button->BevelWidth(), 2) << b.name;
        EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor) << b.name;
        EXPECT_TRUE(button->Font().bold()) << b.name;
        EXPECT_EQ(button->Font().pixelSize(), 11) << b.name;
    }
    // Created in the order Close, Support, Website: accelerators are offered in that order.
    const auto created = form.findChildren<TOvalButton*>();
    ASSERT_EQ(created.size(), 3);
    EXPECT_EQ(created[0]->objectName(), QStringLiteral("BitBtn3"));
    EXPECT_EQ(created[1]->objectName(), QStringLiteral("OvalButton1"));

    auto* panel = find<QWidget>(&form, "Panel1");
    auto* image = find<QLabel>(&form, "Image1");
    EXPECT_EQ(image->parentWidget(), panel);
    EXPECT_TRUE(image->hasScaledContents());
}

TEST(InfoForm, CloseEndsTheModalRunWithThreeAndRaisesTheButton)
{
    TInfoForm form;
    auto* close = find<TOvalButton>(&form, "BitBtn3");
    EXPECT_EQ(runModal(form, [close] { click(close); }), 3);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(close->BevelState(), +1);
    EXPECT_FALSE(close->Down());
}

TEST(InfoForm, WebsiteAndSupportMakeOneShellRequestPerClick)
{
    test::FakeDesktop shell;
    TInfoForm form;
    auto* website = find<TOvalButton>(&form, "OvalButton2");
    auto* support = find<TOvalButton>(&form, "OvalButton1");
    bool stayedOpen = false;
    runModal(form, [&] {
        click(website);
        click(website);
        click(support);
        click(support);
        stayedOpen = form.isVisible();
    });
    EXPECT_TRUE(stayedOpen);
    const QString homepage = QString::fromUtf8(kHomepageUrl);
    const QString mail
        = QStringLiteral("mailto:") + QString::fromUtf8(kSupportAddress) + QStringLiteral("?subject=Quillmark Help");
    EXPECT_EQ(shell.openedUrls(), (QStringList{homepage, homepage, mail, mail}));
}

TEST(InfoForm, EscapeDoesNotCloseButTheCloseBoxDoes)
{
    test::FakeDesktop shell;
    TInfoForm form;
    bool openAfterEscape = false;
    bool openAfterF1 = false;
    const int result = runModal(form, [&] {
        QTest::keyClick(&form, Qt::Key_Escape);
        openAfterEscape = form.isVisible();
        QTest::keyClick(&form, Qt::Key_F1);
        openAfterF1 = form.isVisible();
        form.close();
    });
    EXPECT_TRUE(openAfterEscape);
    EXPECT_TRUE(openAfterF1);
    EXPECT_EQ(shell.openedUrls(), QStringList{QString::fromUtf8(kHomepageUrl)}) << "F1 opens the homepage";
    EXPECT_EQ(result, TInfoForm::kCancelResult);
    EXPECT_FALSE(form.isVisible());
}

TEST(InfoForm, CentredTheFirstTimeThenWhereItWasLeft)
{
    TInfoForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QRect screen = form.screen()->geometry();
    const QRect frame = form.frameGeometry();
    EXPECT_NEAR(frame.left() - screen.left(), std::max(0, (screen.width() - frame.width()) / 2), 1);
    EXPECT_NEAR(frame.top() - screen.top(), std::max(0, (screen.height() - frame.height()) / 2), 1);

    form.move(frame.topLeft() + QPoint(-40, -30));
    const QPoint left = form.pos();
    form.hide();
    form.show();
    EXPECT_EQ(form.pos(), left);
}

TEST(InfoForm, MainWindowShowsTheDialogModallyAndKeepsIt)
{
    TForm1 form1(kSourcePageUrl);
    TStartForm startForm(&form1);
    auto* infoForm = new TInfoForm(&form1);
    QPointer<TInfoForm> alive(infoForm);
    form1.setDialogs(&startForm, infoForm);

    bool shownModal = false;
    QTimer::singleShot(0, infoForm, [&] {
        shownModal = infoForm->isVisible() && infoForm->isModal();
        click(find<TOvalButton>(infoForm, "BitBtn3"));
    });
    QTimer::singleShot(0, infoForm, [infoForm] {
        if (infoForm->isVisible())
            infoForm->done(99);
    });
    test::trigger(&form1, "About1");
    EXPECT_TRUE(shownModal);
    ASSERT_FALSE(alive.isNull()) << "closing hides the dialog, it is not destroyed";
    EXPECT_FALSE(infoForm->isVisible());
}

} // namespace
} // namespace qm
