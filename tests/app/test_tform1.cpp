#include "app/ideamemo.h"
#include "platform/buildvalues.h"
#include "app/suggestionlistview.h"
#include "research/tstartform.h"
#include "tests/app/mainwindowfixture.h"
#include "tests/support/widgetfinder.h"
#include "ui/tinfoform.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace qm::test {
namespace {

using MainWindow = MainWindowFixture;

// A control of the laid-out window: its rectangle in a parent of the design size, and its anchors.
struct Placed {
    const char* name;
    QRect rect;
    QSize parent;
    bool left, top, right, bottom;
};
constexpr QSize kClient(511, 455); // 474 less the status bar
constexpr QSize kPage(493, 348);
const Placed kControls[] = {
    {"Image1", {5, 2, 500, 65}, kClient, false, true, true, false},
    {"PageControl1", {5, 75, 501, 376}, kClient, true, true, true, true},
    {"ListView1", {0, 52, 491, 264}, kPage, true, true, true, true},
    {"BitBtn2", {6, 8, 186, 35}, kPage, false, true, true, false},
    {"BitBtn1", {0, 321, 201, 25}, kPage, true, false, false, true},
    {"WhoisMemo", {2, 9, 486, 335}, kPage, true, true, true, true},
};

// Every control keeps its distance to the edges it is anchored to, and its size along an axis where
// it is anchored to one side only, whatever the size of its parent.
void expectAnchored(QWidget* form)
{
    for (const Placed& c : kControls) {
        SCOPED_TRACE(c.name);
        const QWidget* w = find<QWidget>(form, c.name);
        const QRect r = w->geometry();
        const QSize parent = w->parentWidget()->size();
        if (c.left) {
            EXPECT_EQ(r.left(), c.rect.left());
        }
        if (c.top) {
            EXPECT_EQ(r.top(), c.rect.top());
        }
        if (c.right) {
            EXPECT_EQ(parent.width() - r.right(), c.parent.width() - c.rect.right());
        }
        if (c.bottom) {
            EXPECT_EQ(parent.height() - r.bottom(), c.parent.height() - c.rect.bottom());
        }
        if (c.left != c.right) {
            EXPECT_EQ(r.width(), c.rect.width());
        }
        if (c.top != c.bottom) {
            EXPECT_EQ(r.height(), c.rect.height());
        }
    }
}

TEST_F(MainWindow, TheWindowAndItsControlsAreLaidOutAsDesigned)
{
    EXPECT_EQ(m_form->windowTitle(), QStringLiteral("Quillmark"));
    EXPECT_EQ(m_form->objectName(), QStringLiteral("Form1"));
    // Client area 511 x 474 below the menu bar, the status bar part of it.
    EXPECT_EQ(m_form->centralWidget()->size(), kClient);
    EXPECT_EQ(m_form->StatusBar1()->height(), 19);
    expectAnchored(m_form);

    const QPixmap banner = find<QLabel>(m_form, "Image1")->pixmap();
    EXPECT_EQ(banner.size(), QSize(500, 65));

    auto* pages = find<QTabWidget>(m_form, "PageControl1");
    ASSERT_EQ(pages->count(), 2);
    EXPECT_EQ(pages->tabText(0), QStringLiteral("Step 1.   Headlines Suggestions"));
    EXPECT_EQ(pages->tabText(1), QStringLiteral("Step 2.   Idea Catcher"));
    EXPECT_EQ(pages->widget(0)->objectName(), QStringLiteral("TabSheet1"));
    EXPECT_EQ(pages->widget(1)->objectName(), QStringLiteral("TabSheet2"));
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(m_form->statusText(), QString());
    // The research run's buffer is bytes, not a control.
    EXPECT_EQ(m_form->findChild<QWidget*>(QStringLiteral("RichEdit1")), nullptr);
}

TEST_F(MainWindow, ListButtonsAndMemoHaveTheirProperties)
{
    auto* list = find<SuggestionListView>(m_form, "ListView1");
    EXPECT_EQ(list->columnCount(), 1);
    EXPECT_EQ(list->headerItem()->text(0), QStringLiteral("Headline Suggestions"));
    EXPECT_EQ(list->header()->sectionSize(0), 455);
    EXPECT_EQ(list->header()->minimumSectionSize(), 280);
    EXPECT_TRUE(list->header()->sectionsClickable());
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(list->topLevelItemCount(), 0);
    list->append("A headline", false);
    EXPECT_TRUE(list->topLevelItem(0)->flags() & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(list->topLevelItem(0)->flags() & Qt::ItemIsEditable);

    auto* generate = find<QPushButton>(m_form, "BitBtn2");
    EXPECT_EQ(generate->text(), QStringLiteral("Generate Effective Headlines"));
    EXPECT_FALSE(generate->icon().isNull());
    EXPECT_EQ(generate->iconSize(), QSize(24, 24));
    EXPECT_EQ(generate->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(find<QPushButton>(m_form, "BitBtn1")->text(), QStringLiteral("Add selection and Proceed to step 2."));
    // Tab order: the list, then Generate, then Add selection.
    m_form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_form));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), generate);
    QTest::keyClick(generate, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), find<QPushButton>(m_form, "BitBtn1"));

    auto* memo = find<IdeaMemo>(m_form, "WhoisMemo");
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(memo->toPlainText().isEmpty());
}

TEST_F(MainWindow, TheMenusHoldEveryItemWithItsIconAndShortcut)
{
    struct Item {
        const char* caption; // nullptr: a separator
        const char* name;
        int icon;
        QKeySequence shortcut;
    };
    const struct {
        const char* title;
        std::vector<Item> items;
    } menus[] = {
        {"&File",
         {{"&Open file...", "Open1", 3, {}}, {"&Save file...", "Save1", 2, {}}, {nullptr, nullptr, -1, {}},
          {"E&xit", "Exit1", 1, {}}}},
        {"Models",
         {{"Add selection and Proceed to step 2.", "AddselectiontoStep21", -1, {}}, {nullptr, nullptr, -1, {}},
          {"Select all", "Selectall1", -1, {}}, {"Select none", "Selectnone1", -1, {}},
          {"Invert selection", "Invertselection1", -1, {}}}},
        {"Headlines",
         {{"Save data to Ascii file...", "SavedatatoAsciifile1", -1, {}}, {nullptr, nullptr, -1, {}},
          {"Clear", "Clear1", -1, {}}}},
        {"&Help",
         {{"Quillmark website...", "Quillmarkwebsite1", 5, {}}, {nullptr, nullptr, -1, {}},
          {"&About...", "About1", 6, QKeySequence(Qt::Key_F1)}}},
    };
    const QList<QAction*> bar = m_form->menuBar()->actions();
    ASSERT_EQ(bar.size(), 4);
    ASSERT_EQ(m_form->ImageList1().size(), 7);
    for (const QIcon& icon : m_form->ImageList1())
        EXPECT_EQ(icon.pixmap(16, 16).size(), QSize(16, 16));
    for (int m = 0; m < 4; ++m) {
        SCOPED_TRACE(menus[m].title);
        EXPECT_EQ(bar[m]->text(), QString::fromLatin1(menus[m].title));
        const QList<QAction*> actions = bar[m]->menu()->actions();
        ASSERT_EQ(actions.size(), static_cast<qsizetype>(menus[m].items.size()));
        for (std::size_t i = 0; i < menus[m].items.size(); ++i) {
            const Item& item = menus[m].items[i];
            const QAction* action = actions[static_cast<qsizetype>(i)];
            if (item.caption == nullptr) {
                EXPECT_TRUE(action->isSeparator()) << i;
                continue;
            }
            SCOPED_TRACE(item.caption);
            EXPECT_EQ(action->text(), QString::fromLatin1(item.caption));
            EXPECT_EQ(action->objectName(), QString::fromLatin1(item.name));
            EXPECT_EQ(action->shortcut(), item.shortcut);
            if (item.icon < 0) {
                EXPECT_TRUE(action->icon().isNull());
            } else {
                EXPECT_EQ(action->icon().cacheKey(), m_form->ImageList1().at(item.icon).cacheKey());
            }
        }
    }
}

TEST_F(MainWindow, F1OpensTheAboutDialogFromEitherPage)
{
    for (const char* focus : {"ListView1", "WhoisMemo"}) {
        SCOPED_TRACE(focus);
        // Closing the last dialog leaves window activation events pending; apply them before the
        // window asks to be active again, or a late one takes the activation away.
        QCoreApplication::processEvents();
        m_form->activateWindow();
        QTRY_VERIFY(m_form->isActiveWindow());
        QWidget* target = find<QWidget>(m_form, focus);
        m_form->showPage(focus == std::string("ListView1") ? 0 : 1);
        target->setFocus();
        QWidget* seen = nullptr;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                seen = modal;
                modal->close();
            }
        });
        closer.start(5);
        QTest::keyClick(target, Qt::Key_F1); // returns once the modal dialog has closed
        closer.stop();
        EXPECT_EQ(seen, m_startup->infoForm());
        EXPECT_FALSE(m_startup->infoForm()->isVisible());
    }
    EXPECT_TRUE(m_form->isVisible()); // the program goes on
}

TEST_F(MainWindow, TheWebsiteItemOpensTheHomepage)
{
    trigger(m_form, "Quillmarkwebsite1");
    ASSERT_EQ(m_desktop.openedUrls().size(), 1);
    EXPECT_EQ(m_desktop.openedUrls().front(), QString::fromUtf8(kHomepageUrl));
    EXPECT_TRUE(m_desktop.boxes().empty());
}

TEST_F(MainWindow, MaximisingKeepsTheAnchorsAndRestoringGoesBack)
{
    const QSize normal = m_form->size();
    m_form->showMaximized();
    QTRY_VERIFY(m_form->isMaximized());
    QCoreApplication::processEvents();
    EXPECT_GT(m_form->width(), normal.width());
    EXPECT_GT(find<QWidget>(m_form, "ListView1")->height(), 264);
    expectAnchored(m_form);

    m_form->showNormal();
    QTRY_COMPARE(m_form->size(), normal);
    expectAnchored(m_form);
}

TEST_F(MainWindow, TheWindowCannotBeResizedByDragging)
{
    const QSize normal = m_form->size();
    m_form->resize(normal + QSize(120, 80)); // what a drag on the frame asks for
    QTRY_COMPARE(m_form->size(), normal);
}

TEST(StartUp, CreatesTheThreeWindowsMainWindowFirstAndDialogsHidden)
{
    TempDir dir;
    RegistryStore store(dir.file("registry.reg"));
    setUserRegistry(&store);
    setUpApplication();
    EXPECT_EQ(QApplication::applicationName(), QStringLiteral("Quillmark"));
    {
        const Startup startup(QString::fromStdString(dir.file("quillmark.lock").string()));
        ASSERT_FALSE(startup.otherInstanceRuns());
        ASSERT_NE(startup.mainWindow(), nullptr);
        ASSERT_NE(startup.startForm(), nullptr);
        ASSERT_NE(startup.infoForm(), nullptr);
        EXPECT_EQ(startup.mainWindow()->StartForm(), startup.startForm());
        EXPECT_EQ(startup.mainWindow()->InfoForm(), startup.infoForm());
        // Created after the main window, in order, and hidden until used.
        const QObjectList children = startup.mainWindow()->children();
        EXPECT_LT(children.indexOf(startup.startForm()), children.indexOf(startup.infoForm()));
        EXPECT_FALSE(startup.startForm()->isVisible());
        EXPECT_FALSE(startup.infoForm()->isVisible());

        // A second start meanwhile creates nothing.
        const Startup second(QString::fromStdString(dir.file("quillmark.lock").string()));
        EXPECT_TRUE(second.otherInstanceRuns());
        EXPECT_EQ(second.mainWindow(), nullptr);
    }
    // Once the first has ended, a new start runs normally.
    const Startup later(QString::fromStdString(dir.file("quillmark.lock").string()));
    EXPECT_FALSE(later.otherInstanceRuns());
    EXPECT_NE(later.mainWindow(), nullptr);
    setUserRegistry(nullptr);
}

} // namespace
} // namespace qm::test
