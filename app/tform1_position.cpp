// The main window's position, kept between runs in the per-user registry, and the folder the file
// dialogs start in.
#include "app/tform1.h"

#include "app/userregistry.h"
#include "platform/registrystore.h"
#include "platform/windowposition.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace qm {
namespace {

constexpr std::string_view kPositionKey = "\\Software\\Tamsworth\\Lettrix\\Setup";
constexpr std::size_t kDwordBytes = 4;

// A position value as a signed 32-bit number. Fails with the error box's text when the value does not
// fit in 4 bytes or is not a DWORD.
int readPosition(const RegValue& value, const char* name)
{
    if (value.size > kDwordBytes)
        throw std::runtime_error(std::string("Failed to get data for '") + name + "'");
    if (value.type != RegType::Dword)
        throw std::runtime_error(std::string("Invalid data type for '") + name + "'");
    return static_cast<std::int32_t>(value.dword);
}

// The default position: the top of the primary screen, the frame flush with its right edge.
QPoint flushRight(QWidget& window)
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRect area = primary != nullptr ? primary->geometry() : QRect();
    const QMargins frame = knownFrameMargins(window);
    return {area.x() + area.width() - window.width() - frame.left() - frame.right(), area.y()};
}

} // namespace

void TForm1::FormCreate()
{
    m_programFolder = withoutTrailingSeparator(QCoreApplication::applicationDirPath());
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        documents = QDir::homePath();
    const QString start = dialogStartFolder(m_programFolder, documents);
    m_openDialog1.directory = start;
    m_resultsSaveDialog.directory = start;

    // Every position here is the outer frame's (see placeFrame). The frame is known at once on some
    // platforms and only after mapping under an X11 window manager; until then it counts as none,
    // with a title bar of kAssumedTitleBarHeight for the reachability check.
    const QPoint laidOut = pos();
    const QMargins frame = knownFrameMargins(*this);
    placeFrame(*this, laidOut);
    const QPoint fallback = flushRight(*this);

    const int outerWidth = width() + frame.left() + frame.right();
    const int titleBar = frame.top() > 0 ? frame.top() : kAssumedTitleBarHeight;
    const QList<QRect> screens = screenAreas();
    const auto reachable = [&](QPoint at) { return titleBarReachable(at, outerWidth, titleBar, screens); };

    RegistryKey key = userRegistry().openKey(kPositionKey);
    bool stored = false;
    int top = fallback.y();
    if (const std::optional<RegValue> value = key.query("top")) {
        top = readPosition(*value, "top");
        stored = true;
    }
    // The top edge is set before "left" is read, so that it stays when "left" cannot be read, unless
    // that would leave the window out of reach.
    placeFrame(*this, {laidOut.x(), reachable({laidOut.x(), top}) ? top : fallback.y()});
    std::optional<int> left;
    if (const std::optional<RegValue> value = key.query("left")) {
        left = readPosition(*value, "left");
        stored = true;
    }
    key.close();
    // A stored position that is on no screen any more (a monitor removed since) would leave a window
    // nobody can reach; with one instance allowed, the program could never be used again.
    if (stored && !reachable({left.value_or(fallback.x()), top})) {
        top = fallback.y();
        left.reset();
    }
    if (left) {
        placeFrame(*this, {*left, top});
        return;
    }
    // Flush right depends on the frame's width: placed again once the window manager tells it.
    placeFrame(*this, {fallback.x(), top});
    placeAgainWhenFramed(*this, [this, top] { placeFrame(*this, {flushRight(*this).x(), top}); });
}

void TForm1::FormClose()
{
    // A Wayland client cannot learn where its window stands: what it would save is no position at all,
    // and the one stored (from an X11 session) stays.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    // A key that could not be opened takes no values; its close writes nothing. Every failure is silent.
    RegistryKey key = userRegistry().createKey(kPositionKey);
    const QPoint at = framePosition(*this);
    key.setDword("top", static_cast<std::uint32_t>(at.y()));
    key.setDword("left", static_cast<std::uint32_t>(at.x()));
    key.close();
}

} // namespace qm
