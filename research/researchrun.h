#pragma once

// The research run: what "Generate Effective Headlines" does once a topic has been chosen. It shows
// a busy cursor and a status text, downloads the source page, trims it, passes it through the hidden
// text box RichEdit1 and lets the source page parser refill the suggestion list; at the end the
// cursor comes back and the status bar says "Done!". The window and quillmark-cli run this same
// sequence; each binds the front end to what it has (status bar, message pump, cursor, Escape key)
// and hands over its list and text box.
//
// Nothing here raises to the user: a failed download leaves the run to go on with whatever arrived
// (possibly nothing, which empties the list), and a failure of the parse keeps the items so far.

#include "net/tidcomponent.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace qm {

class RichEditBuffer;
class SuggestionSink;
class TStream;

// Most suggestions one run lists. The shipped source page holds 128 per topic; a page made to hold
// millions of tiny entries (some 10 bytes each fit in the largest body) would otherwise make the list
// hold gigabytes. The walk stops after this many, as if Escape had been held.
inline constexpr std::size_t kMaxSuggestions = 100'000;

inline constexpr std::string_view kDoneText = "Done!";
// The closing text of a run whose download failed: an empty list must not read as "no headlines for
// this topic".
inline constexpr std::string_view kDownloadFailedText = "Done! The headline source page could not be downloaded.";

// "Brainstorming for <key> headlines... Please stand by.", the key as it is.
std::string BrainstormingText(std::string_view key);

// The page without the bytes <= 32 (blank and every control byte, NUL included) at either end.
std::string_view TrimPageText(std::string_view page);

// One GET of the URL into the buffer. Every failure of the exchange is caught and returned (null when
// the download worked); the buffer then holds what arrived before it. Only creating the HTTP client,
// which starts the socket stack, can raise.
// The exchange takes the URL's port, or 80 when it names none. makeStack: as for TIdComponent.
std::exception_ptr FetchSourcePage(std::string_view url, TStream& buffer,
                                   const TIdComponent::StackFactory& makeStack = {});

// Where a run shows itself. The window binds these to its status bar, its message pump, the
// application cursor and the Escape key.
class ResearchFrontEnd {
public:
    virtual ~ResearchFrontEnd() = default;
    // The status bar's one text, as bytes.
    virtual void setStatusText(std::string_view text) = 0;
    // Handles everything pending for the window; other commands, another run among them, may run here.
    virtual void pumpMessages() = 0;
    // The hourglass over every window, until restoreCursor() sets back the cursor it replaced.
    virtual void showBusyCursor() = 0;
    virtual void restoreCursor() = 0;
    // Whether the user holds Escape down at this moment.
    virtual bool escapeHeld() = 0;
};

// What outlives a run: how the last run to finish closed, for a run that had another one run inside
// it (the button pressed again while the entries are walked). The main window keeps one.
struct ResearchSession {
    std::uint64_t runsFinished = 0;
    std::uint64_t listGeneration = 0; // the list's generation when the last run finished
    std::string closingText;
};

class ResearchRun final {
public:
    // url: the source page (the window and quillmark-cli pass kSourcePageUrl as built, or the address
    // they were given); makeStack: how the download's client starts the socket stack.
    ResearchRun(ResearchFrontEnd& frontEnd, SuggestionSink& list, RichEditBuffer& textBox, std::string url,
                ResearchSession& session, TIdComponent::StackFactory makeStack = {});
    ResearchRun(const ResearchRun&) = delete;
    ResearchRun& operator=(const ResearchRun&) = delete;

    // The button's steps once the topic dialog was closed with Research: the busy cursor, the key
    // (asked from topicKey), ResearchTopic with every failure swallowed, then whatever happened the
    // cursor back and the closing text. Only a failure of the front end itself leaves it, after the
    // closing steps ran.
    void Run(const std::function<std::string()>& topicKey);

    // Status text, download, trim, text box, parse, pumping after each. The walk stops after the
    // current entry when Escape is held, when TopicCancelled is set, when another command emptied
    // or replaced the list, or when kMaxSuggestions are listed. A failed download is kept in
    // DownloadFailure() and the run goes on with what arrived; a failure of the parse is swallowed.
    // A socket stack that cannot start leaves it after the remaining steps ran on the empty page;
    // so does a failure in the text box, at once.
    void ResearchTopic(std::string_view key);

    // Why the last download failed (the client could not be created, or the exchange failed); null
    // when it worked or has not run.
    std::exception_ptr DownloadFailure() const { return m_downloadFailure; }
    // Whether the last walk stopped at kMaxSuggestions.
    bool ListFull() const { return m_listed >= kMaxSuggestions; }

private:
    class OwnList;
    bool walkMustStop() const;
    // The text the run ends with: its own, or that of a run which finished inside this one and whose
    // list is still the one shown.
    std::string closingText(std::uint64_t runsFinishedAtStart) const;

    ResearchFrontEnd& m_frontEnd;
    SuggestionSink& m_list;
    RichEditBuffer& m_textBox;
    std::string m_url;
    ResearchSession& m_session;
    TIdComponent::StackFactory m_makeStack;
    std::exception_ptr m_downloadFailure;
    // The list's generation as this run's parse left it after emptying the list.
    std::uint64_t m_listGeneration = 0;
    std::size_t m_listed = 0; // items the last walk appended
};

} // namespace qm
