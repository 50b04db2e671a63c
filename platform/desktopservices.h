#pragma once

// The operating-system services that windows ask for: message boxes, file dialogs and the shell's
// "open". Windows never call QMessageBox, QFileDialog or QDesktopServices directly; they go through
// desktop(), which tests replace with a double that answers without a window.

#include <QString>
#include <optional>

class QWidget;

namespace qm {

enum class MsgIcon { None, Error, Question, Warning, Information };
enum class MsgButtons { Ok, YesNo };
enum class MsgResult { Ok = 1, Yes = 6, No = 7 };

struct FileDialogOptions {
    QString filter;        // "Description (*.ext)|*.ext", one entry
    QString defaultSuffix; // appended when the user types a name without an extension
    QString directory;     // starting folder; empty leaves it to the dialog
};

class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    virtual MsgResult messageBox(QWidget* parent, const QString& text, const QString& caption, MsgIcon icon,
                                 MsgButtons buttons, MsgResult defaultButton)
        = 0;
    // The chosen file's full path, or nothing when the user cancelled.
    virtual std::optional<QString> saveFileName(QWidget* parent, const FileDialogOptions& options) = 0;
    virtual std::optional<QString> openFileName(QWidget* parent, const FileDialogOptions& options) = 0;
    // Hands a URL (http or mailto) to the user's browser or mail program; the outcome is not reported.
    virtual void openUrl(const QString& url) = 0;
};

DesktopServices& desktop();
// Installs other services (tests); nullptr goes back to the real ones. The caller keeps ownership.
void setDesktopServices(DesktopServices* services);

} // namespace qm
