#include "tests/support/fakedesktop.h"

namespace qm::test {

FakeDesktop::FakeDesktop() { setDesktopServices(this); }

FakeDesktop::~FakeDesktop() { setDesktopServices(nullptr); }

MsgResult FakeDesktop::messageBox(QWidget*, const QString& text, const QString& caption, MsgIcon icon,
                                  MsgButtons buttons, MsgResult defaultButton)
{
    m_boxes.push_back({text, caption, icon, buttons, defaultButton});
    if (m_answers.empty())
        return buttons == MsgButtons::Ok ? MsgResult::Ok : defaultButton;
    const MsgResult answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

std::optional<QString> FakeDesktop::saveFileName(QWidget*, const FileDialogOptions& options)
{
    return nextFile(true, options);
}

std::optional<QString> FakeDesktop::openFileName(QWidget*, const FileDialogOptions& options)
{
    return nextFile(false, options);
}

std::optional<QString> FakeDesktop::nextFile(bool save, const FileDialogOptions& options)
{
    m_fileRequests.push_back({save, options});
    if (m_fileNames.empty())
        return std::nullopt;
    QString name = m_fileNames.front();
    m_fileNames.pop_front();
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

} // namespace qm::test
