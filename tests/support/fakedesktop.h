#pragma once

#include "platform/desktopservices.h"

#include <QStringList>
#include <deque>
#include <vector>

namespace qm::test {

// Desktop services that answer without a window: message boxes answer the queued results (OK or the
// default button when none is queued), file dialogs the queued names (cancel when none is queued),
// and every request is recorded. Installed for the lifetime of the object.
class FakeDesktop final : public DesktopServices {
public:
    struct Box {
        QString text;
        QString caption;
        MsgIcon icon;
        MsgButtons buttons;
        MsgResult defaultButton;
    };
    struct FileRequest {
        bool save;
        FileDialogOptions options;
    };

    FakeDesktop();
    ~FakeDesktop() override;
    FakeDesktop(const FakeDesktop&) = delete;
    FakeDesktop& operator=(const FakeDesktop&) = delete;

    void setNextAnswer(MsgResult answer) { m_answers.push_back(answer); }
    void setNextFileName(const QString& path) { m_fileNames.push_back(path); }
    void setNextFileCancelled() { m_fileNames.push_back(QString()); }

    const std::vector<Box>& boxes() const { return m_boxes; }
    const std::vector<FileRequest>& fileRequests() const { return m_fileRequests; }
    const QStringList& openedUrls() const { return m_urls; }

    MsgResult messageBox(QWidget* parent, const QString& text, const QString& caption, MsgIcon icon, MsgButtons buttons,
                         MsgResult defaultButton) override;
    std::optional<QString> saveFileName(QWidget* parent, const FileDialogOptions& options) override;
    std::optional<QString> openFileName(QWidget* parent, const FileDialogOptions& options) override;
    void openUrl(const QString& url) override { m_urls.append(url); }

private:
    std::optional<QString> nextFile(bool save, const FileDialogOptions& options);

    std::deque<MsgResult> m_answers;
    std::deque<QString> m_fileNames;
    std::vector<Box> m_boxes;
    std::vector<FileRequest> m_fileRequests;
    QStringList m_urls;
};

} // namespace qm::test
