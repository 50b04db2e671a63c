// The main window's position, kept between runs in the per-user registry, and the folder the file
// dialogs start in.
#include "app/tform1.h"

#include "app/userregistry.h"
#include "app/windowposition.h"
#include "platform/registrystore.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace qm {
namespace {

constexpr std::string_view kPositionKey = "\\Software\\Tamsworth\\Lettrix\\Setup";
constexpr std::size_t kDwordBytes = 4;

// A position value as a signed 32-bit number. Fails with the error box's text when the value does not
// fit in 4 bytes or is not a DWORD.
int readPosition(const RegistryKey& key, const char* name)
{
    const RegQuery value = key.queryValue(name, kDwordBytes);
    if (value.status != RegStatus::Ok)
        throw std::runtime_error(std::string("Failed to get data for '") + name + "'");
    if (value.type != RegType::Dword)
        throw std::runtime_error(std::string("Invalid data type for '") + name + "'");
    // A DWORD stored with fewer bytes reads with the missing high bytes as zero.
    return static_cast<std::int32_t>(dwordValue(value.data));
}

bool exists(const RegistryKey& key, const char* name)
{
    return key.isOpen() && key.queryInfo(name).status == RegStatus::Ok;
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

    // Creating the native window moves a position set before it from the frame to the client area;
    // set it again so that it stays the frame's.
    const QPoint laidOut = pos();
    const QMargins frame = estimatedFrameMargins(*this);
    move(laidOut);

    const int outerWidth = width() + frame.left() + frame.right();
    const int titleBar = frame.top() > 0 ? frame.top() : kAssumedTitleBarHeight;
    const QList<QRect> screens = screenAreas();
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRect primaryArea = primary != nullptr ? primary->geometry() : QRect(0, 0, outerWidth, 0);
    // Flush with the right edge of the primary screen, at its top.
    const QPoint fallback(primaryArea.x() + primaryArea.width() - outerWidth, primaryArea.y());
    const auto reachable = [&](QPoint at) { return titleBarReachable(at, outerWidth, titleBar, screens); };

    RegistryKey key = userRegistry().openKey(kPositionKey);
    bool stored = false;
    int top = fallback.y();
    if (exists(key, "top")) {
        top = readPosition(key, "top");
        stored = true;
    }
    // The top edge is set before "left" is read, so that it stays when "left" cannot be read, unless
    // that would leave the window out of reach.
    move(x(), reachable({x(), top}) ? top : fallback.y());
    int left = fallback.x();
    if (exists(key, "left")) {
        left = readPosition(key, "left");
        stored = true;
    }
    // A stored position that is on no screen any more (a monitor removed since) would leave a window
    // nobody can reach; with one instance allowed, the program could never be used again.
    if (stored && !reachable({left, top}))
        move(fallback);
    else
        move(left, top);
    key.close();
}

void TForm1::FormClose()
{
    RegistryKey key = userRegistry().createKey(kPositionKey);
    if (!key.isOpen())
        return;
    if (key.setDword("top", static_cast<std::uint32_t>(y())) != RegStatus::Ok)
        return;
    key.setDword("left", static_cast<std::uint32_t>(x()));
    key.close();
}

} // namespace qm
