#include "app/ideamemo.h"
#include "app/suggestionmodel.h"
#include "platform/buildvalues.h"
#include "research/tstartform.h"
#include "tests/app/mainwindowfixture.h"
#include "tests/support/widgetfinder.h"
#include "ui/tinfoform.h"

#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyleOptionViewItem>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

namespace qm::test {
namespace {

using MainWindow = MainWindowFixture;

// Where a control stands in its parent: its distances to the four edges, and its size.
struct Place {
    int left, top, right, bottom;
    QSize size;
};

std::map<std::string, Place> places(TForm1* form)
{
    std::map<std::string, Place> out;
    for (const char* name : {"Image1", "PageControl1", "ListView1", "BitBtn2", "BitBtn1", "WhoisMemo"}) {
        form->showPage(name == std::string("WhoisMemo") ? 1 : 0); // a page is laid out when shown
        QCoreApplication::processEvents();
        const QWidget* w = find<QWidget>(form, name);
        const QRect r = w->geometry();
        const QSize parent = w->parentWidget()->size();
        out[name] = {r.left(), r.top(), parent.width() - r.right(), parent.height() - r.bottom(), r.size()};
    }
    return out;
}

// As the window grows, the banner and "Generate Effective Headlines" keep their distance to the right
// edge, "Add selection and Proceed to step 2." to the bottom-left corner, and the pages and both lists
// grow with it; along an axis where a control follows one edge only, its size stays.
void expectFollowed(const std::map<std::string, Place>& before, const std::map<std::string, Place>& after)
{
    const struct {
        const char* name;
        bool left, top, right, bottom; // the edges the control keeps its distance to
    } follows[] = {
        {"Image1", false, true, true, false},  {"BitBtn2", false, true, true, false},
        {"BitBtn1", true, false, false, true}, {"PageControl1", true, true, true, true},
        {"ListView1", true, true, true, true}, {"WhoisMemo", true, true, true, true},
    };
    for (const auto& f : follows) {
        SCOPED_TRACE(f.name);
        const Place& b = before.at(f.name);
        const Place& a = after.at(f.name);
        EXPECT_EQ(a.left == b.left, f.left);
        EXPECT_EQ(a.top == b.top, f.top);
        EXPECT_EQ(a.right == b.right, f.right);
        EXPECT_EQ(a.bottom == b.bottom, f.bottom);
        EXPECT_EQ(a.size.width() > b.size.width(), f.left && f.right);
        EXPECT_EQ(a.size.height() > b.size.height(), f.top && f.bottom);
        if (f.left != f.right) {
            EXPECT_EQ(a.size.width(), b.size.width());
        }
        if (f.top != f.bottom) {
            EXPECT_EQ(a.size.height(), b.size.height());
        }
    }
}

TEST_F(MainWindow, TheWindowAndItsControlsAreLaidOutAsDesigned)
{
    EXPECT_EQ(m_form->windowTitle(), QStringLiteral("Quillmark"));
    EXPECT_EQ(m_form->objectName(), QStringLiteral("Form1"));
    // Client area 511 x 474 below the menu bar, the status bar part of it.
    EXPECT_EQ(m_form->centralWidget()->size(), QSize(511, 455));
    EXPECT_EQ(m_form->StatusBar1()->height(), 19);

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
    auto* list = find<QTreeView>(m_form, "ListView1");
    const QAbstractItemModel* model = list->model();
    EXPECT_EQ(model->columnCount(), 1);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Headline Suggestions"));
    EXPECT_EQ(list->header()->sectionSize(0), 455);
    EXPECT_EQ(list->header()->minimumSectionSize(), 280);
    EXPECT_TRUE(list->header()->sectionsClickable());
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(model->rowCount(), 0);
    m_form->Suggestions()->append("A headline", false);
    EXPECT_TRUE(model->index(0, 0).flags() & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(model->index(0, 0).flags() & Qt::ItemIsEditable);

    auto* generate = find<QPushButton>(m_form, "BitBtn2");
    EXPECT_EQ(generate->text(), QStringLiteral("Generate Effective Headlines"));
    EXPECT_FALSE(generate->icon().isNull());
    EXPECT_EQ(generate->iconSize(), QSize(24, 24));
    EXPECT_EQ(generate->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(find<QPushButton>(m_form, "BitBtn1")->text(), QStringLiteral("Add selection and Proceed to step 2."));
    // Tab order as laid out, top to bottom: Generate, the list, Add selection.
    m_form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_form));
    generate->setFocus();
    QTest::keyClick(generate, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), list);
    QTest::keyClick(list, Qt::Key_Tab);
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
         {{"&Open file...", "Open1", 3, {}},
          {"&Save file...", "Save1", 2, {}},
          {nullptr, nullptr, -1, {}},
          {"E&xit", "Exit1", 1, {}}}},
        {"Models",
         {{"Add selection and Proceed to step 2.", "AddselectiontoStep21", -1, {}},
          {nullptr, nullptr, -1, {}},
          {"Select all", "Selectall1", -1, {}},
          {"Select none", "Selectnone1", -1, {}},
          {"Invert selection", "Invertselection1", -1, {}}}},
        {"Headlines",
         {{"Save data to Ascii file...", "SavedatatoAsciifile1", -1, {}},
          {nullptr, nullptr, -1, {}},
          {"Clear", "Clear1", -1, {}}}},
        {"&Help",
         {{"Quillmark website...", "Quillmarkwebsite1", 5, {}},
          {nullptr, nullptr, -1, {}},
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
    const std::map<std::string, Place> laidOut = places(m_form);
    m_form->showMaximized();
    QTRY_VERIFY(m_form->isMaximized());
    QCoreApplication::processEvents();
    ASSERT_GT(m_form->width(), normal.width());
    ASSERT_GT(m_form->height(), normal.height());
    expectFollowed(laidOut, places(m_form));

    m_form->showNormal();
    QTRY_COMPARE(m_form->size(), normal);
    for (const auto& [name, place] : places(m_form)) {
        EXPECT_EQ(place.size, laidOut.at(name).size) << name;
        EXPECT_EQ(place.left, laidOut.at(name).left) << name;
        EXPECT_EQ(place.top, laidOut.at(name).top) << name;
    }
}

TEST_F(MainWindow, TheWindowCannotBeResizedByDragging)
{
    const QSize normal = m_form->size();
    m_form->resize(normal + QSize(120, 80)); // what a drag on the frame asks for
    QTRY_COMPARE(m_form->size(), normal);
}

std::vector<QString> announcedTicks; // the rows whose tick a screen reader was told of
void recordTicks(QAccessibleEvent* event)
{
    if (event->type() == QAccessible::StateChanged
        && static_cast<QAccessibleStateChangeEvent*>(event)->changedStates().checked)
        announcedTicks.push_back(event->accessibleInterface()->text(QAccessible::Name));
}

// Qt hands accessibility events on only while its platform layer is active, as a screen reader's
// connection makes it.
void setScreenReaderConnected(bool connected)
{
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(connected);
}

// Where the row's check box is drawn.
QRect checkBoxOf(QTreeView* list, const QModelIndex& index)
{
    QStyleOptionViewItem option;
    option.initFrom(list->viewport());
    option.rect = list->visualRect(index);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    return list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
}

TEST_F(MainWindow, AScreenReaderHearsOfEveryTickAndSortsFromTheKeyboard)
{
    announcedTicks.clear();
    QAccessible::installUpdateHandler(recordTicks);
    setScreenReaderConnected(true);
    auto* list = find<QTreeView>(m_form, "ListView1");
    SuggestionModel& items = *m_form->Suggestions();
    items.append("beta", false);
    items.append("alpha", true);
    QCoreApplication::processEvents(); // the view lays out its rows
    QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(list)->tableInterface();
    ASSERT_NE(table, nullptr);
    for (const int row : {0, 1}) {
        SCOPED_TRACE(row);
        QAccessibleInterface* cell = table->cellAt(row, 0);
        ASSERT_NE(cell, nullptr);
        const QAccessible::State state = cell->state();
        EXPECT_TRUE(state.checkable) << "unticked rows are check boxes too";
        EXPECT_EQ(bool(state.checked), row == 1);
    }

    m_form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_form));
    list->setFocus();
    list->setCurrentIndex(items.index(0));
    QTest::keyClick(list, Qt::Key_Space);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, checkBoxOf(list, items.index(1)).center());
    EXPECT_TRUE(items.isChecked(0));
    EXPECT_FALSE(items.isChecked(1));
    EXPECT_EQ(announcedTicks, (std::vector<QString>{QStringLiteral("beta"), QStringLiteral("alpha")}));

    QTest::keyClick(list, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(items.caption(0), "alpha");
    QAccessible::installUpdateHandler(nullptr);
    setScreenReaderConnected(false);
}

TEST_F(MainWindow, UntickedBoxesStayVisibleInADarkPalette)
{
    QPalette dark;
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button, QPalette::AlternateBase})
        dark.setColor(role, QColor(36, 36, 36));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, QColor(230, 230, 230));
    auto* list = find<QTreeView>(m_form, "ListView1");
    list->setPalette(dark);
    m_form->Suggestions()->append("Unticked", false);
    QCoreApplication::processEvents();
    list->clearSelection();
    list->setCurrentIndex({});
    const QImage shot = list->viewport()->grab().toImage();
    const QRect box = checkBoxOf(list, m_form->Suggestions()->index(0));
    int contrasting = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x)
            contrasting += qGray(shot.pixel(x, y)) > 100 ? 1 : 0;
    }
    EXPECT_GE(contrasting, box.width() * 2) << "the box's outline stands out from the background";
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
