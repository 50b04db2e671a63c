#include "platform/handlerguard.h"

#include "platform/desktopservices.h"
#include "platform/displaytext.h"

#include <QApplication>
#include <exception>

namespace qm {

QString errorBoxText(std::string_view message)
{
    QString text = displayText(message);
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        text.append(QLatin1Char('.'));
    return text;
}

namespace {

// The error box: caption "Quillmark", an error icon and an OK button.
void showApplicationError(std::string_view message)
{
    desktop().messageBox(QApplication::activeWindow(), errorBoxText(message), QStringLiteral("Quillmark"),
                         MsgIcon::Error, MsgButtons::Ok, MsgResult::Ok);
}

} // namespace

void guarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& failure) {
        showApplicationError(failure.what());
    } catch (...) {
        showApplicationError("Unknown failure");
    }
}

} // namespace qm
