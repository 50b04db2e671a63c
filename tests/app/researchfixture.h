#pragma once

// The real main window offscreen, its source page on a loopback server, and helpers that act as the
// user would while a research run walks its entries.

#include "app/suggestionmodel.h"
#include "platform/escapetracker.h"
#include "research/researchrun.h"
#include "research/tstartform.h"
#include "tests/app/mainwindowfixture.h"
#include "tests/support/loopbackserver.h"
#include "tests/support/sourcepage.h"
#include "tests/support/widgetfinder.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qm::test {

inline constexpr int kCancel = -1;
inline constexpr int kNoAnswer = -2; // leaves the dialog open

// Answers the topic dialog each time it opens: picks the next queued topic index and presses
// Research, or presses Cancel (kCancel, or when nothing is queued), or leaves it open (kNoAnswer).
class TopicAnswers final : public QObject {
public:
    explicit TopicAnswers(TStartForm& form) : m_form(form) { m_form.installEventFilter(this); }
    void queue(int answer) { m_answers.push_back(answer); }
    int shown() const { return m_shown; }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            ++m_shown;
            QTimer::singleShot(0, &m_form, [this] { answer(); });
        }
        return false;
    }

private:
    void answer()
    {
        if (!m_form.isVisible())
            return;
        const int topic = m_answers.empty() ? kCancel : m_answers.front();
        if (!m_answers.empty())
            m_answers.pop_front();
        if (topic == kNoAnswer)
            return;
        if (topic == kCancel) {
            find<QPushButton>(&m_form, "BitBtn2")->click();
            return;
        }
        find<QComboBox>(&m_form, "ComboBox1")->setCurrentIndex(topic);
        find<QPushButton>(&m_form, "BitBtn1")->click();
    }

    TStartForm& m_form;
    std::deque<int> m_answers;
    int m_shown = 0;
};

class ResearchWindow : public MainWindowFixture {
protected:
    void SetUp() override
    {
        m_server = LoopbackServer::ServingPage({});
        m_sourcePageUrl = sourcePageUrl();
        MainWindowFixture::SetUp();
        m_answers = std::make_unique<TopicAnswers>(*m_startup->startForm());
    }
    void TearDown() override
    {
        EscapeTracker::instance().setEscapeHeld(false);
        m_answers.reset();
        MainWindowFixture::TearDown();
    }

    // The window downloads from this address; by default the fixture's server, which serves the
    // page that serve() sets.
    virtual std::string sourcePageUrl() const { return m_server->url("/headlines.html"); }
    void serve(const std::string& page) { m_server->setPage(page); }

    // Presses "Generate Effective Headlines"; the run has ended when this returns.
    void generate(std::vector<int> answers)
    {
        for (const int answer : answers)
            m_answers->queue(answer);
        find<QPushButton>(m_form, "BitBtn2")->click();
    }

    // Runs the action from the event queue once the list, emptied since, holds n items, as the user's
    // own input would arrive during the walk. Only the first time the count is reached.
    void atItem(std::size_t n, std::function<void()> action)
    {
        auto* watch = new QTimer(m_form); // a zero timer runs in every pump of the walk
        const std::uint64_t armed = m_form->Suggestions()->generation();
        QObject::connect(watch, &QTimer::timeout, m_form, [this, watch, n, armed, action = std::move(action)] {
            const SuggestionModel& list = *m_form->Suggestions();
            if (list.generation() == armed || list.count() != n)
                return;
            watch->stop();
            watch->deleteLater();
            QTimer::singleShot(0, m_form, action);
        });
        watch->start(0);
    }

    std::vector<std::string> captions() const
    {
        std::vector<std::string> result;
        for (std::size_t i = 0; i < m_form->Suggestions()->count(); ++i)
            result.push_back(m_form->Suggestions()->caption(i));
        return result;
    }

    std::unique_ptr<TopicAnswers> m_answers;
    std::unique_ptr<LoopbackServer> m_server;
};

} // namespace qm::test
