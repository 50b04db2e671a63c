// "Generate Effective Headlines": the research run.
#include "app/suggestionmodel.h"
#include "app/tform1.h"
#include "platform/busycursor.h"
#include "platform/displaytext.h"
#include "platform/escapetracker.h"
#include "platform/messagepump.h"
#include "research/researchrun.h"
#include "research/topics.h"
#include "research/tstartform.h"

namespace qm {
namespace {

// The run as the main window shows it: the status bar, the message pump, the application cursor and
// the Escape key.
class WindowFrontEnd final : public ResearchFrontEnd {
public:
    explicit WindowFrontEnd(TForm1& form) : m_form(form) {}
    void setStatusText(std::string_view text) override { m_form.setStatusText(displayText(text)); }
    void pumpMessages() override { PumpMessages(); }
    void showBusyCursor() override { setBusyCursor(); }
    void restoreCursor() override { qm::restoreCursor(); }
    bool escapeHeld() override { return EscapeTracker::instance().isEscapeHeld(); }

private:
    TForm1& m_form;
};

} // namespace

void TForm1::BitBtn2Click()
{
    // A press that reaches a window already closed (queued behind the close while a download held
    // the window) would open a topic dialog that cannot run: once the application is told to quit,
    // exec() returns at once and leaves the dialog on the screen. The program is ending; a run still
    // walking goes on to its end.
    if (!isVisible())
        return;
    // Watching the key from here on catches a press that arrives while the page downloads.
    EscapeTracker::instance();

    TopicCancelled = true;
    if (m_startForm != nullptr)
        m_startForm->exec(); // every handler it runs catches its own failures
    // An event loop ended from outside (the application quitting) returns without closing the
    // dialog: close it, unanswered, which counts as Cancel.
    if (m_startForm != nullptr && m_startForm->isVisible())
        m_startForm->hide();
    PumpMessages();
    // Only Research clears the flag: Cancel, or a dialog closed any other way, ends the command here.
    if (TopicCancelled)
        return;

    WindowFrontEnd frontEnd(*this);
    const auto growth = m_suggestions->growthBatch();
    ResearchRun run(frontEnd, *m_suggestions, m_richEdit1, m_sourcePageUrl, m_research);
    run.Run([this] { return m_startForm->SelectedTopicKey(); });
}

} // namespace qm
