#pragma once

// Start-up, once the application object exists: the single-instance check, then the program's three
// windows in their order (the main window, the topic dialog, the About dialog). The program's main()
// and the start-up benchmark run the same code.

#include "app/singleinstance.h"
#include "platform/buildvalues.h"

#include <memory>
#include <string>

namespace qm {

class TForm1;
class TInfoForm;
class TStartForm;

// The application title "Quillmark" (also the error box's caption), the application icon and desktop
// entry name, the stand-in for the design font, and what screen readers need beyond the controls'
// own properties.
void setUpApplication();

class Startup final {
public:
    // Creates no window when another instance runs. sourcePageUrl: the page the main window's
    // research runs download.
    explicit Startup(const QString& lockPath = SingleInstanceGuard::defaultLockPath(),
                     std::string sourcePageUrl = kSourcePageUrl);
    ~Startup();
    Startup(const Startup&) = delete;
    Startup& operator=(const Startup&) = delete;

    bool otherInstanceRuns() const { return m_instance.otherInstanceRuns(); }

    // The windows, or nullptr when another instance runs. The dialogs belong to the main window and
    // stay hidden until they are used.
    TForm1* mainWindow() const { return m_form1.get(); }
    TStartForm* startForm() const { return m_startForm; }
    TInfoForm* infoForm() const { return m_infoForm; }

private:
    SingleInstanceGuard m_instance;
    std::unique_ptr<TForm1> m_form1;
    TStartForm* m_startForm = nullptr;
    TInfoForm* m_infoForm = nullptr;
};

} // namespace qm
