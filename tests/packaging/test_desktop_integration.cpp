// The program's three windows as the desktop and its users meet them: the application icon, what a
// screen reader is told about each control, and a layout in which no control or text is cut off. The
// binary runs twice, at the normal scale and at QT_SCALE_FACTOR=2.
#include "app/startup.h"
#include "app/tform1.h"
#include "app/userregistry.h"
#include "platform/buildvalues.h"
#include "platform/registrystore.h"
#include "research/tstartform.h"
#include "tests/support/fakedesktop.h"
#include "tests/support/tempdir.h"
#include "tests/support/widgetfinder.h"
#include "ui/captionlayout.h"
#include "ui/tinfoform.h"
#include "ui/tovalbutton.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace qm::test {
namespace {

// The three windows as start-up creates them, all shown at once.
class ProgramWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite() { setUpApplication(); }

    void SetUp() override
    {
        setUserRegistry(&m_store);
        m_startup = std::make_unique<Startup>(QString::fromStdString(m_dir.file("quillmark.lock").string()));
        for (QWidget* window : windows()) {
            window->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        }
    }
    void TearDown() override
    {
        m_startup.reset();
        setUserRegistry(nullptr);
    }

    std::vector<QWidget*> windows() const
    {
        return {m_startup->mainWindow(), m_startup->startForm(), m_startup->infoForm()};
    }

    TempDir m_dir;
    RegistryStore m_store{m_dir.file("registry.reg")};
    FakeDesktop m_desktop;
    std::unique_ptr<Startup> m_startup;
};

TEST_F(ProgramWindows, EveryWindowShowsTheApplicationIconOfTheInstalledDesktopEntry)
{
    for (QWidget* window : windows()) {
        SCOPED_TRACE(window->objectName().toStdString());
        const QList<QSize> sizes = window->windowIcon().availableSizes();
        for (const int side : {16, 32, 48})
            EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
    }
    // The desktop finds the entry, and with it the installed icon, by the name the program announces.
    const std::filesystem::path entry = std::filesystem::path(QUILLMARK_BINARY_DIR) / "packaging"
                                        / (QGuiApplication::desktopFileName().toStdString() + ".desktop");
    EXPECT_TRUE(std::filesystem::is_regular_file(entry)) << entry;
}

QAccessibleInterface* accessible(QObject* root, const char* name)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(find<QWidget>(root, name));
    if (iface == nullptr)
        throw std::runtime_error(std::string("no accessible interface for ") + name);
    return iface;
}

bool interactive(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::List:
    case QAccessible::PageTab:
    case QAccessible::Table:
    case QAccessible::Tree: return true;
    default: return false;
    }
}

// The names of the controls a user can act on, in the accessible tree below iface.
void collectNames(QAccessibleInterface* iface, std::vector<std::string>& names)
{
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface* child = iface->child(i);
        if (child == nullptr || child->state().invisible)
            continue;
        if (interactive(child->role()))
            names.push_back(child->text(QAccessible::Name).toStdString());
        // The rows and header cells of a list are its content, not controls of the window.
        if (child->role() != QAccessible::Tree && child->role() != QAccessible::List)
            collectNames(child, names);
    }
}

TEST_F(ProgramWindows, EachControlHasANameAndDescriptionThatTellItApart)
{
    struct Expected {
        int window; // 0 main window, 1 topic dialog, 2 About dialog
        const char* control;
        QAccessible::Role role;
        const char* name;
    };
    const Expected expected[] = {
        {0, "ListView1", QAccessible::Tree, "Headline suggestions"},
        {0, "WhoisMemo", QAccessible::EditableText, "Idea list"},
        {0, "BitBtn2", QAccessible::Button, "Generate Effective Headlines"},
        {0, "BitBtn1", QAccessible::Button, "Add selection and Proceed to step 2."},
        {1, "ComboBox1", QAccessible::ComboBox, "Topic"},
        {1, "BitBtn1", QAccessible::Button, "Research"},
        {1, "BitBtn2", QAccessible::Button, "Cancel"},
        {2, "BitBtn3", QAccessible::Button, "Close"},
        {2, "OvalButton2", QAccessible::Button, "Website"},
        {2, "OvalButton1", QAccessible::Button, "Support"},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.control);
        QAccessibleInterface* iface = accessible(windows().at(e.window), e.control);
        EXPECT_EQ(iface->role(), e.role);
        EXPECT_EQ(iface->text(QAccessible::Name).toStdString(), e.name);
        EXPECT_FALSE(iface->text(QAccessible::Description).isEmpty());
    }
    // The topic list tells its choice as its value.
    EXPECT_EQ(accessible(windows().at(1), "ComboBox1")->text(QAccessible::Value), QStringLiteral("Business"));
    // No two controls that a window shows at once share a name; each page of the main window in turn.
    for (const int page : {0, 1}) {
        m_startup->mainWindow()->showPage(page);
        for (QWidget* window : windows()) {
            SCOPED_TRACE(window->objectName().toStdString() + " with page " + std::to_string(page));
            std::vector<std::string> names;
            collectNames(QAccessible::queryAccessibleInterface(window), names);
            EXPECT_GE(names.size(), 3u);
            const std::set<std::string> distinct(names.begin(), names.end());
            EXPECT_EQ(distinct.size(), names.size()) << "two controls share a name";
            EXPECT_EQ(distinct.count(""), 0u) << "a control without a name";
        }
    }
}

TEST_F(ProgramWindows, AScreenReaderPressesTheOvalButtonsLikeAClick)
{
    TInfoForm* about = m_startup->infoForm();
    QAccessibleInterface* website = accessible(about, "OvalButton2");
    QAccessibleInterface* support = accessible(about, "OvalButton1");
    QAccessibleInterface* close = accessible(about, "BitBtn3");
    for (QAccessibleInterface* button : {website, support, close})
        ASSERT_TRUE(button->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));

    website->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    support->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(m_desktop.openedUrls(), QStringList({QString::fromUtf8(kHomepageUrl), TInfoForm::SupportLink()}));
    EXPECT_TRUE(about->isVisible());

    // A disabled button offers no press, and a press sent anyway does nothing.
    find<QWidget>(about, "OvalButton2")->setEnabled(false);
    EXPECT_FALSE(website->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    website->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(m_desktop.openedUrls().size(), 2);

    close->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(about->isVisible());
    EXPECT_EQ(about->result(), TInfoForm::kCloseResult);
}

// The visible controls of the window itself (the main window's dialogs are its children too).
template <typename T> std::vector<T*> shownControls(QWidget* window)
{
    std::vector<T*> controls;
    for (T* w : window->findChildren<T*>()) {
        if (w->window() == window && w->isVisibleTo(window))
            controls.push_back(w);
    }
    return controls;
}

// Every visible control of the window lies wholly inside its parent.
void expectInsideParents(QWidget* window)
{
    for (QWidget* w : shownControls<QWidget>(window)) {
        EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry()))
            << w->metaObject()->className() << " " << w->objectName().toStdString() << " sticks out of "
            << w->parentWidget()->objectName().toStdString();
    }
}

// The caption, and the picture beside it, fit the room the style leaves inside the button's frame.
void expectCaptionFits(QPushButton* button)
{
    SCOPED_TRACE(button->objectName().toStdString());
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    const QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    const QFontMetrics metrics = button->fontMetrics();
    constexpr int kPictureToText = 4; // the space the style leaves between picture and caption
    const int picture = button->icon().isNull() ? 0 : button->iconSize().width() + kPictureToText;
    EXPECT_LE(metrics.horizontalAdvance(button->text()) + picture, room.width()) << button->text().toStdString();
    EXPECT_LE(std::max(metrics.height(), button->icon().isNull() ? 0 : button->iconSize().height()), room.height());
}

// The caption, centred as the oval button draws it, lies inside the face within the bevel.
void expectCaptionFits(const TOvalButton* button)
{
    SCOPED_TRACE(button->objectName().toStdString());
    const QSize text = CaptionLayout::Of(button->Font(), button->Caption()).ShownExtent();
    const double inset = button->BevelWidth() + 1.0; // the outline and the bevel rings
    const double a = button->width() / 2.0 - inset;
    const double b = button->height() / 2.0 - inset;
    const double x = text.width() / 2.0;
    const double y = text.height() / 2.0;
    EXPECT_LE((x * x) / (a * a) + (y * y) / (b * b), 1.0) << button->Caption().toStdString();
}

TEST_F(ProgramWindows, NoControlOrTextIsCutOff)
{
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR");
    for (QWidget* window : windows()) {
        SCOPED_TRACE(window->objectName().toStdString());
        if (!scale.isEmpty()) { // the run at a scale really is at that scale
            EXPECT_DOUBLE_EQ(window->devicePixelRatio(), scale.toDouble());
        }
        expectInsideParents(window);
        for (QPushButton* button : shownControls<QPushButton>(window))
            expectCaptionFits(button);
        for (const TOvalButton* button : shownControls<TOvalButton>(window))
            expectCaptionFits(button);
    }

    // The longest topic fits the closed topic list.
    const auto* topics = find<QComboBox>(m_startup->startForm(), "ComboBox1");
    QStyleOptionComboBox option;
    option.initFrom(topics);
    option.frame = true;
    const QRect field
        = topics->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, topics);
    for (int i = 0; i < topics->count(); ++i) {
        EXPECT_LE(topics->fontMetrics().horizontalAdvance(topics->itemText(i)), field.width())
            << topics->itemText(i).toStdString();
    }
    EXPECT_LE(topics->fontMetrics().height(), field.height());
}

} // namespace
} // namespace qm::test
