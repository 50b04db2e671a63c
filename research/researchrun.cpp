#include "research/researchrun.h"

#include "headlines/suggestionlist.h"
#include "net/tidhttp.h"
#include "net/tmemorystream.h"
#include "platform/bytes.h"
#include "research/richeditbuffer.h"
#include "research/sourcepageparser.h"
#include "research/topics.h"

#include <utility>

namespace qm {

std::string BrainstormingText(std::string_view key)
{
    return "Brainstorming for " + std::string(key) + " headlines... Please stand by.";
}

std::string_view TrimPageText(std::string_view page) { return trimBytes(page, kBlankAndControls); }

std::exception_ptr FetchSourcePage(std::string_view url, TStream& buffer, const TIdComponent::StackFactory& makeStack)
{
    TIdHTTP http(makeStack); // may raise: the socket stack could not start
    try {
        http.GetDocument(url, buffer);
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

// The list as the run's own parse fills it: emptying it notes the list's new generation, so that the
// walk can tell when someone else empties or replaces it afterwards.
class ResearchRun::OwnList final : public SuggestionSink {
public:
    OwnList(SuggestionSink& list, std::uint64_t& generation, std::size_t& listed)
        : m_list(list)
        , m_generation(generation)
        , m_listed(listed)
    {
    }
    void append(std::string_view caption, bool checked) override
    {
        m_list.append(caption, checked);
        ++m_listed;
    }

private:
    void removeAll() override
    {
        m_list.clear();
        m_generation = m_list.generation();
        m_listed = 0;
    }

    SuggestionSink& m_list;
    std::uint64_t& m_generation;
    std::size_t& m_listed;
};

ResearchRun::ResearchRun(ResearchFrontEnd& frontEnd, SuggestionSink& list, RichEditBuffer& textBox, std::string url,
                         ResearchSession& session, TIdComponent::StackFactory makeStack)
    : m_frontEnd(frontEnd)
    , m_list(list)
    , m_textBox(textBox)
    , m_url(std::move(url))
    , m_session(session)
    , m_makeStack(std::move(makeStack))
{
}

void ResearchRun::Run(const std::function<std::string()>& topicKey)
{
    const std::uint64_t runsFinishedAtStart = m_session.runsFinished;
    std::exception_ptr failure;
    bool busy = false;
    try {
        m_frontEnd.showBusyCursor();
        busy = true;
        const std::string key = topicKey();
        try {
            ResearchTopic(key);
        } catch (...) {
            // The list shows what the run achieved; the closing text says whether the page came.
        }
        m_frontEnd.pumpMessages();
    } catch (...) {
        failure = std::current_exception();
    }

    if (busy)
        m_frontEnd.restoreCursor();
    std::string closing = closingText(runsFinishedAtStart);
    m_session = {m_session.runsFinished + 1, m_list.generation(), closing};
    m_frontEnd.setStatusText(closing);
    m_frontEnd.pumpMessages();
    if (failure)
        std::rethrow_exception(failure);
}

void ResearchRun::ResearchTopic(std::string_view keyView)
{
    // Held here: the caller's text may change while other commands run in the pumps.
    const std::string key(keyView);
    m_downloadFailure = nullptr;
    m_listGeneration = m_list.generation();
    m_listed = 0;

    m_frontEnd.setStatusText(BrainstormingText(key));
    m_frontEnd.pumpMessages();

    std::string page;
    std::exception_ptr clientFailure;
    {
        TMemoryStream buffer;
        try {
            m_downloadFailure = FetchSourcePage(m_url, buffer, m_makeStack);
        } catch (...) {
            clientFailure = std::current_exception();
            m_downloadFailure = clientFailure;
        }
        page.assign(buffer.Bytes());
    } // the buffer is released whatever happened
    m_frontEnd.pumpMessages();

    // The box keeps the text up to its first NUL. The run goes on with what the box made of its own
    // page, read back before the pump: a run started inside that pump uses the same box, and must not
    // hand this run its page (or its failed download's empty one).
    m_textBox.setText(TrimPageText(page));
    page = m_textBox.text();
    m_frontEnd.pumpMessages();
    m_frontEnd.pumpMessages();

    OwnList list(m_list, m_listGeneration, m_listed);
    ParseHooks hooks;
    hooks.pump = [this] { m_frontEnd.pumpMessages(); };
    hooks.stop = [this] { return walkMustStop(); };
    try {
        ParseSourcePage(page, key, list, hooks);
    } catch (...) {
        // The items appended before the failure stay.
    }
    m_frontEnd.pumpMessages();

    if (clientFailure)
        std::rethrow_exception(clientFailure);
}

bool ResearchRun::walkMustStop() const
{
    return m_frontEnd.escapeHeld() || TopicCancelled || m_list.generation() != m_listGeneration
           || m_listed >= kMaxSuggestions;
}

std::string ResearchRun::closingText(std::uint64_t runsFinishedAtStart) const
{
    if (m_session.runsFinished != runsFinishedAtStart && m_session.listGeneration == m_list.generation())
        return m_session.closingText;
    return std::string(m_downloadFailure ? kDownloadFailedText : kDoneText);
}

} // namespace qm
