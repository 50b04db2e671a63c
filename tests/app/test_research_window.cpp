// "Generate Effective Headlines" from end to end: the real main window offscreen, the topic dialog
// answered as a user would, the source page on a loopback server.
#include "headlines/headlinefile.h"
#include "platform/busycursor.h"
#include "platform/messagepump.h"
#include "tests/app/researchfixture.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTreeView>

namespace qm::test {
namespace {

constexpr int kBusiness = 0;
constexpr int kEducation = 2;
constexpr int kMiscellaneous = 5;

const std::string kPage = SourcePage({{"Business", Numbered("Business idea", 30)},
                                      {"Education", {"Learn One Thing a Day", "Teach to Learn Twice"}},
                                      {"Misc", {"Odd Jobs Worth a Try", "Small Joys"}}});

TEST_F(ResearchWindow, RunShowsTheKeyThenFillsTheListAndSaysDone)
{
    serve(kPage);
    m_form->Suggestions()->append("From an earlier run", true);
    QString statusDuringWalk;
    bool busyDuringWalk = false;
    atItem(1, [&] {
        statusDuringWalk = m_form->statusText();
        busyDuringWalk = isBusyCursorShown();
    });

    generate({kMiscellaneous});

    EXPECT_EQ(statusDuringWalk, QStringLiteral("Brainstorming for Misc headlines... Please stand by."));
    EXPECT_TRUE(busyDuringWalk);
    EXPECT_EQ(captions(), (std::vector<std::string>{"Odd Jobs Worth a Try", "Small Joys"}));
    EXPECT_FALSE(m_form->Suggestions()->isChecked(0) || m_form->Suggestions()->isChecked(1));
    EXPECT_EQ(m_form->statusText(), QStringLiteral("Done!"));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(m_desktop.boxes().empty());
}

TEST_F(ResearchWindow, CancelChangesNothing)
{
    serve(kPage);
    m_form->Suggestions()->append("Kept", true);
    m_form->setStatusText(QStringLiteral("As it was"));

    generate({kCancel});

    EXPECT_EQ(m_answers->shown(), 1);
    EXPECT_EQ(captions(), std::vector<std::string>{"Kept"});
    EXPECT_TRUE(m_form->Suggestions()->isChecked(0));
    EXPECT_EQ(m_form->statusText(), QStringLiteral("As it was"));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(m_server->connectionCount(), 0u);
}

class UnreachableSource : public ResearchWindow {
protected:
    std::string sourcePageUrl() const override { return RefusingUrl("/headlines.html"); }
};

TEST_F(UnreachableSource, EmptiesTheListAndSaysTheDownloadFailed)
{
    m_form->Suggestions()->append("Stale", false);

    generate({kBusiness});

    EXPECT_TRUE(captions().empty());
    EXPECT_EQ(m_form->statusText(), QStringLiteral("Done! The headline source page could not be downloaded."));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(m_desktop.boxes().empty());
}

TEST_F(ResearchWindow, BodyIsParsedOnlyUpToItsFirstNul)
{
    // With the NUL the page holds no Misc anchor, so the section runs from the page's start: the
    // Business list. Without the cut the Misc section behind it would be listed.
    serve(SourcePage({{"Business", {"Before the NUL"}}}) + std::string(1, '\0')
          + SourcePage({{"Misc", {"After the NUL"}}}));
    generate({kMiscellaneous});
    EXPECT_EQ(captions(), std::vector<std::string>{"Before the NUL"});
}

TEST_F(ResearchWindow, BlankLinesAndTrailingSpacesAroundTheBodyChangeNothing)
{
    serve(kPage);
    generate({kEducation});
    const std::vector<std::string> plain = captions();

    serve("\r\n\r\n\n  " + kPage + "   \r\n \r\n\t ");
    generate({kEducation});

    EXPECT_EQ(captions(), plain);
    EXPECT_EQ(plain, (std::vector<std::string>{"Learn One Thing a Day", "Teach to Learn Twice"}));
    EXPECT_EQ(m_form->RichEdit1().text(), kPage.substr(0, kPage.size() - 2)); // without the final CR LF
}

TEST_F(ResearchWindow, SecondRunReplacesTheFirstRunsList)
{
    serve(kPage);
    generate({kBusiness});
    ASSERT_EQ(captions().size(), 30u);
    generate({kEducation});
    EXPECT_EQ(captions(), (std::vector<std::string>{"Learn One Thing a Day", "Teach to Learn Twice"}));
    EXPECT_EQ(m_form->statusText(), QStringLiteral("Done!"));
}

TEST_F(ResearchWindow, EscapeHeldStopsTheWalkAfterTheCurrentEntry)
{
    serve(kPage);
    atItem(4, [&] {
        QCoreApplication::postEvent(m_form, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    });
    generate({kBusiness});
    // The key arrives in the pumps that follow item 4; the walk checks it right after them.
    EXPECT_EQ(captions(), Numbered("Business idea", 4));
    EXPECT_EQ(m_form->statusText(), QStringLiteral("Done!"));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(ResearchWindow, SecondPressDuringTheWalk)
{
    // Research in the nested dialog: a run inside the run, whose list stays alone; the outer walk
    // must not go on appending Business items to the Education list.
    serve(kPage);
    atItem(3, [&] { find<QPushButton>(m_form, "BitBtn2")->click(); });
    generate({kBusiness, kEducation});
    EXPECT_EQ(m_answers->shown(), 2);
    EXPECT_EQ(captions(), (std::vector<std::string>{"Learn One Thing a Day", "Teach to Learn Twice"}));
    EXPECT_EQ(m_form->statusText(), QStringLiteral("Done!"));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(ResearchWindow, CancelInASecondPressStopsTheFirstWalk)
{
    serve(kPage);
    atItem(3, [&] { find<QPushButton>(m_form, "BitBtn2")->click(); });
    generate({kBusiness, kCancel});
    EXPECT_EQ(captions(), Numbered("Business idea", 3));
    EXPECT_EQ(m_form->statusText(), QStringLiteral("Done!"));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(ResearchWindow, OpeningAFileDuringTheWalkKeepsTheFilesItemsAlone)
{
    VectorSuggestions saved;
    saved.append("From the file", true);
    saved.append("Also from the file", false);
    const std::filesystem::path file = m_dir.file("ideas.qmk");
    saveHeadlineFile(saved, file);
    m_desktop.setNextFileName(QString::fromStdString(file.string()));

    serve(kPage);
    atItem(3, [&] { trigger(m_form, "Open1"); });
    generate({kBusiness});

    EXPECT_EQ(captions(), (std::vector<std::string>{"From the file", "Also from the file"}));
    EXPECT_TRUE(m_form->Suggestions()->isChecked(0));
    EXPECT_FALSE(m_form->Suggestions()->isChecked(1));
}

// The list while a walk appends to it: the items are in the list at once, and whatever else changes
// the list meanwhile, the view shows every row once the walk is over.
struct GrowthCase {
    const char* name;
    std::function<void(SuggestionModel&)> meanwhile;
    int rows; // afterwards
};

void PrintTo(const GrowthCase& c, std::ostream* os) { *os << c.name; }

class SuggestionListGrowth : public testing::TestWithParam<GrowthCase> {};

TEST_P(SuggestionListGrowth, EveryRowIsShownOnceTheBatchEnds)
{
    SuggestionModel model;
    QTreeView view;
    view.setModel(&model);
    view.resize(300, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    {
        const auto walk = model.growthBatch();
        for (int i = 0; i < 30; ++i) {
            model.append("Row " + std::to_string(i), false);
            PumpMessages();
            ASSERT_EQ(model.count(), static_cast<std::size_t>(i + 1));
        }
        GetParam().meanwhile(model);
        for (int i = 30; i < 40; ++i)
            model.append("Row " + std::to_string(i), false);
    }
    PumpMessages();
    ASSERT_EQ(model.rowCount(), GetParam().rows);
    const QModelIndex last = model.index(model.rowCount() - 1);
    view.scrollTo(last);
    const QRect rect = view.visualRect(last);
    ASSERT_FALSE(rect.isEmpty());
    EXPECT_EQ(view.indexAt(rect.center()), last);
}

const GrowthCase kGrowthCases[] = {
    {"NothingElse", [](SuggestionModel&) {}, 40},
    {"ListEmptied", [](SuggestionModel& m) { m.clear(); }, 10},
    {"Sorted", [](SuggestionModel& m) { m.sortByCaption(); }, 40},
    {"EveryRowTicked",
     [](SuggestionModel& m) {
         for (std::size_t i = 0; i < m.count(); ++i)
             m.setChecked(i, true);
     },
     40},
};

INSTANTIATE_TEST_SUITE_P(Walk, SuggestionListGrowth, testing::ValuesIn(kGrowthCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace qm::test
