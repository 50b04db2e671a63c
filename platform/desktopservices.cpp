#include "platform/desktopservices.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace qm {
namespace {

// In the order of MsgIcon.
constexpr QMessageBox::Icon kIcons[] = {QMessageBox::NoIcon, QMessageBox::Critical, QMessageBox::Question,
                                        QMessageBox::Warning, QMessageBox::Information};
static_assert(std::size(kIcons) == static_cast<std::size_t>(MsgIcon::Information) + 1);

std::optional<QString> runFileDialog(QWidget* parent, const FileDialogOptions& options, bool save)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Saving replaces an existing file without asking; opening accepts a name that does not exist.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilter(options.filter.section(QLatin1Char('|'), 0, 0)); // "Description (*.ext)"
    dialog.setDefaultSuffix(options.defaultSuffix);
    if (!options.directory.isEmpty())
        dialog.setDirectory(options.directory);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

class QtDesktopServices final : public DesktopServices {
public:
    MsgResult messageBox(QWidget* parent, const QString& text, const QString& caption, MsgIcon icon, MsgButtons buttons,
                         MsgResult defaultButton) override
    {
        QMessageBox box(kIcons[static_cast<int>(icon)], caption, text, QMessageBox::NoButton, parent);
        if (buttons == MsgButtons::YesNo) {
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(defaultButton == MsgResult::No ? QMessageBox::No : QMessageBox::Yes);
        } else {
            box.setStandardButtons(QMessageBox::Ok);
        }
        switch (box.exec()) {
        case QMessageBox::Yes: return MsgResult::Yes;
        case QMessageBox::No: return MsgResult::No;
        default: return MsgResult::Ok;
        }
    }

    std::optional<QString> saveFileName(QWidget* parent, const FileDialogOptions& options) override
    {
        return runFileDialog(parent, options, true);
    }

    std::optional<QString> openFileName(QWidget* parent, const FileDialogOptions& options) override
    {
        return runFileDialog(parent, options, false);
    }

    void openUrl(const QString& url) override { QDesktopServices::openUrl(QUrl(url)); }
};

DesktopServices* g_override = nullptr;

} // namespace

DesktopServices& desktop()
{
    static QtDesktopServices real;
    return g_override != nullptr ? *g_override : real;
}

void setDesktopServices(DesktopServices* services) { g_override = services; }

} // namespace qm
