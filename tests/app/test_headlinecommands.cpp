// The main window's list and file commands, driven through its menu, button and list header.
#include "app/ideamemo.h"
#include "app/suggestionmodel.h"
#include "app/tform1.h"
#include "platform/buildvalues.h"
#include "tests/support/fakedesktop.h"
#include "tests/support/tempdir.h"
#include "tests/support/widgetfinder.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>
#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <vector>

namespace qm {
namespace {

using test::find;
using test::readFileBytes;
using test::TempDir;
using test::trigger;
using test::writeFileBytes;

class HeadlineCommands : public testing::Test {
protected:
    void fill(const std::vector<Suggestion>& items)
    {
        for (const Suggestion& s : items)
            form.Suggestions()->append(s.caption, s.checked);
    }
    std::vector<Suggestion> items() const
    {
        std::vector<Suggestion> out;
        const SuggestionModel& list = *form.Suggestions();
        for (std::size_t i = 0; i < list.count(); ++i)
            out.push_back({list.caption(i), list.isChecked(i)});
        return out;
    }
    int page() const { return form.PageControl1()->currentIndex(); }
    QString path(const char* name) const { return QString::fromStdString(dir.file(name).string()); }
    void clickHeader() { emit form.ListView1()->header()->sectionClicked(0); }

    test::FakeDesktop desktop;
    TempDir dir;
    TForm1 form{kSourcePageUrl};
};

TEST_F(HeadlineCommands, HeaderClickSortsAscendingEveryTimeWithoutSortMark)
{
    fill({{"beta", true}, {"Alpha", false}, {"alpha2", true}, {"_x", false}, {"ALPHA", true}});
    QTreeView& view = *form.ListView1();
    view.setCurrentIndex(view.model()->index(0, 0));
    clickHeader();
    std::vector<Suggestion> sorted = items();
    ASSERT_EQ(sorted.size(), 5u);
    if (sorted[0].caption == "ALPHA")
        std::swap(sorted[0], sorted[1]); // equal captions, either order
    EXPECT_EQ(
        sorted,
        (std::vector<Suggestion>{{"Alpha", false}, {"ALPHA", true}, {"alpha2", true}, {"beta", true}, {"_x", false}}));
    EXPECT_EQ(view.model()->index(4, 0).data().toString(), QStringLiteral("_x")) << "display text moves along";
    EXPECT_EQ(view.currentIndex().data().toString(), QStringLiteral("beta")) << "the current item stays current";
    EXPECT_EQ(view.selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(view.selectionModel()->selectedRows().value(0).row(), 3) << "the selection moves along";
    EXPECT_FALSE(view.header()->isSortIndicatorShown());

    const std::vector<Suggestion> once = items();
    clickHeader();
    EXPECT_EQ(items(), once) << "a second click sorts the same way again";

    form.Suggestions()->append("aaa", false);
    EXPECT_EQ(items().back().caption, "aaa") << "items added later go to the end";
}

TEST_F(HeadlineCommands, AddSelectionCopiesTickedCaptionsAndStaysOnThePage)
{
    fill({{"One", false}});
    form.showPage(1);
    trigger(&form, "AddselectiontoStep21");
    EXPECT_EQ(page(), 1);
    EXPECT_EQ(form.WhoisMemo()->text(), "") << "nothing ticked adds nothing";

    form.Suggestions()->clear();
    form.showPage(0);
    fill({{"One", true}, {"Two", false}, {"", true}, {"Three", true}});
    trigger(&form, "AddselectiontoStep21");
    EXPECT_EQ(page(), 0);
    EXPECT_EQ(form.WhoisMemo()->text(), "One\r\nThree\r\n");
    find<QPushButton>(&form, "BitBtn1")->click();
    EXPECT_EQ(page(), 0);
    EXPECT_EQ(form.WhoisMemo()->text(), "One\r\nThree\r\nOne\r\nThree\r\n");
    EXPECT_EQ(items()[0].checked, true);
    EXPECT_TRUE(desktop.boxes().empty());
}

TEST_F(HeadlineCommands, SelectCommandsSwitchToStepOneFirst)
{
    form.showPage(1);
    trigger(&form, "Selectall1"); // on an empty list only the page changes
    EXPECT_EQ(page(), 0);

    fill({{"a", true}, {"b", false}});
    const std::vector<std::pair<const char*, std::vector<Suggestion>>> steps = {
        {"Invertselection1", {{"a", false}, {"b", true}}},
        {"Selectall1", {{"a", true}, {"b", true}}},
        {"Selectnone1", {{"a", false}, {"b", false}}},
    };
    for (const auto& [action, expected] : steps) {
        form.showPage(1);
        trigger(&form, action);
        EXPECT_EQ(page(), 0) << action;
        EXPECT_EQ(items(), expected) << action;
    }
}

TEST_F(HeadlineCommands, ClearAsksAndEmptiesOnlyOnYes)
{
    fill({{"kept", true}});
    form.WhoisMemo()->appendLine("Idea");
    desktop.setNextAnswer(MsgResult::No);
    trigger(&form, "Clear1");
    EXPECT_EQ(page(), 1);
    ASSERT_EQ(desktop.boxes().size(), 1u);
    const test::FakeDesktop::Box& box = desktop.boxes()[0];
    EXPECT_EQ(box.text, QStringLiteral("Are you sure you want to delete all the websites you have selected already?"));
    EXPECT_EQ(box.caption, QStringLiteral("Delete the partners list?"));
    EXPECT_EQ(box.icon, MsgIcon::Question);
    EXPECT_EQ(box.buttons, MsgButtons::YesNo);
    EXPECT_EQ(box.defaultButton, MsgResult::Yes);
    EXPECT_EQ(form.WhoisMemo()->text(), "Idea\r\n");

    desktop.setNextAnswer(MsgResult::Yes);
    trigger(&form, "Clear1");
    EXPECT_EQ(form.WhoisMemo()->text(), "");
    EXPECT_EQ(items().size(), 1u) << "the suggestion list is never touched";

    form.showPage(0);
    trigger(&form, "SavedatatoAsciifile1");
    EXPECT_EQ(page(), 1);
    EXPECT_TRUE(desktop.fileRequests().empty()) << "an empty idea list asks for no file";
}

TEST_F(HeadlineCommands, SaveDataWritesTheLinesWithCrLf)
{
    for (const char* line : {"A", "B", "C"})
        form.WhoisMemo()->appendLine(line);
    writeFileBytes(dir.file("ideas.txt"), std::string(50, 'z'));
    desktop.setNextFileName(path("ideas.txt"));
    trigger(&form, "SavedatatoAsciifile1");
    ASSERT_EQ(desktop.fileRequests().size(), 1u);
    EXPECT_TRUE(desktop.fileRequests()[0].save);
    EXPECT_EQ(desktop.fileRequests()[0].options.filter, QStringLiteral("Text files (*.txt)|*.txt"));
    EXPECT_EQ(desktop.fileRequests()[0].options.defaultSuffix, QStringLiteral("txt"));
    EXPECT_EQ(readFileBytes(dir.file("ideas.txt")), "A\r\nB\r\nC\r\n");
    EXPECT_TRUE(desktop.boxes().empty());

    desktop.setNextFileCancelled();
    trigger(&form, "SavedatatoAsciifile1");
    EXPECT_TRUE(desktop.boxes().empty());
}

// A failed save used to look like success: both saves now say which file failed and why.
TEST_F(HeadlineCommands, FailedSavesShowTheErrorBoxAndKeepTheOldFile)
{
    writeFileBytes(dir.file("plain"), "old");
    fill({{"x", true}});
    form.WhoisMemo()->appendLine("Idea");
    desktop.setNextFileName(path("plain") + QStringLiteral("/list.qmk"));
    trigger(&form, "Save1");
    desktop.setNextFileName(path("plain") + QStringLiteral("/ideas.txt"));
    trigger(&form, "SavedatatoAsciifile1");

    ASSERT_EQ(desktop.boxes().size(), 2u);
    for (const auto& [box, name] :
         {std::pair{desktop.boxes()[0], "list.qmk"}, std::pair{desktop.boxes()[1], "ideas.txt"}}) {
        EXPECT_EQ(box.caption, QStringLiteral("Quillmark"));
        EXPECT_EQ(box.icon, MsgIcon::Error);
        EXPECT_EQ(box.buttons, MsgButtons::Ok);
        EXPECT_TRUE(box.text.contains(QLatin1String(name))) << box.text.toStdString();
        EXPECT_TRUE(box.text.contains(QStringLiteral("Not a directory"))) << box.text.toStdString();
    }
    EXPECT_EQ(readFileBytes(dir.file("plain")), "old");
}

TEST_F(HeadlineCommands, SaveAndOpenKeepCaptionsTicksAndOrder)
{
    const std::vector<Suggestion> saved = {{"First", true}, {" Second ", false}, {"caf\xE9", true}};
    fill(saved);
    desktop.setNextFileName(path("list.qmk"));
    trigger(&form, "Save1");

    form.Suggestions()->clear();
    fill({{"replaced", false}});
    desktop.setNextFileName(path("list.qmk"));
    trigger(&form, "Open1");
    EXPECT_EQ(items(), saved);
    EXPECT_TRUE(desktop.boxes().empty());

    ASSERT_EQ(desktop.fileRequests().size(), 2u);
    EXPECT_TRUE(desktop.fileRequests()[0].save);
    EXPECT_FALSE(desktop.fileRequests()[1].save);
    for (const auto& request : desktop.fileRequests()) {
        EXPECT_EQ(request.options.filter, QStringLiteral("Quillmark files (*.qmk)|*.qmk"));
        EXPECT_EQ(request.options.defaultSuffix, QStringLiteral("qmk"));
    }

    desktop.setNextFileCancelled();
    trigger(&form, "Open1");
    EXPECT_EQ(items(), saved) << "cancel changes nothing";

    writeFileBytes(dir.file("list.qmk"), "[item0]\nt=Changed\ncheck=0\n");
    desktop.setNextFileName(path("list.qmk"));
    trigger(&form, "Open1");
    EXPECT_EQ(items(), (std::vector<Suggestion>{{"Changed", false}})) << "each open reads the file afresh";
}

// A link text of many megabytes kept the window busy for minutes and took gigabytes: the list shows
// and lays out a bounded head of it, while copying and saving still write every byte.
TEST_F(HeadlineCommands, AHugeCaptionIsShownCutButCopiedAndSavedWhole)
{
    const std::size_t huge = 3 * 1024 * 1024;
    const struct {
        const char* name;
        std::string caption;
        QString shownHead; // what the row shows before the ellipsis
    } cases[] = {
        {"ascii", std::string(huge, 'a'), QString(2047, QLatin1Char('a'))},
        // 2,047 bytes end inside a two-byte sequence: the cut drops its first byte too.
        {"utf-8",
         [] {
             std::string s;
             while (s.size() < 4096)
                 s += "\xC3\xA9";
             return s;
         }(),
         QString(1023, QChar(0xE9))},
        {"windows-1252", std::string(4096, '\x93'), QString(2047, QChar(0x201C))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form.Suggestions()->clear();
        form.WhoisMemo()->clear();
        fill({{"short", true}, {c.caption, true}});
        const QAbstractItemModel& model = *form.ListView1()->model();
        EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("short"));
        EXPECT_EQ(model.index(1, 0).data().toString(), c.shownHead + QChar(0x2026));

        trigger(&form, "AddselectiontoStep21");
        EXPECT_EQ(form.WhoisMemo()->text(), "short\r\n" + c.caption + "\r\n");
        desktop.setNextFileName(path("huge.qmk"));
        trigger(&form, "Save1");
        EXPECT_NE(readFileBytes(dir.file("huge.qmk")).find("t=" + c.caption + "\r\n"), std::string::npos);
    }
}

// Opening used to empty the list even when the file could not be read at all.
TEST_F(HeadlineCommands, OpenOfAMissingFileShowsTheErrorAndKeepsTheList)
{
    fill({{"kept", true}});
    desktop.setNextFileName(path("missing.qmk"));
    trigger(&form, "Open1");
    EXPECT_EQ(items(), (std::vector<Suggestion>{{"kept", true}}));
    ASSERT_EQ(desktop.boxes().size(), 1u);
    EXPECT_EQ(desktop.boxes()[0].caption, QStringLiteral("Quillmark"));
    EXPECT_EQ(desktop.boxes()[0].icon, MsgIcon::Error);
    EXPECT_TRUE(desktop.boxes()[0].text.contains(QStringLiteral("missing.qmk")));

    writeFileBytes(dir.file("text.qmk"), "not a headline file\n");
    desktop.setNextFileName(path("text.qmk"));
    trigger(&form, "Open1");
    EXPECT_TRUE(items().empty()) << "a readable file without items gives an empty list";
    EXPECT_EQ(desktop.boxes().size(), 1u);

    // A named pipe used to freeze the window inside open().
    fill({{"kept", true}});
    ASSERT_EQ(::mkfifo(dir.file("pipe.qmk").c_str(), 0600), 0);
    desktop.setNextFileName(path("pipe.qmk"));
    trigger(&form, "Open1");
    EXPECT_EQ(items(), (std::vector<Suggestion>{{"kept", true}}));
    ASSERT_EQ(desktop.boxes().size(), 2u);
    EXPECT_TRUE(desktop.boxes()[1].text.endsWith(QStringLiteral(": it is a named pipe, not a regular file.")))
        << desktop.boxes()[1].text.toStdString();
}

} // namespace
} // namespace qm
