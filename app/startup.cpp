#include "app/startup.h"

#include "app/tform1.h"
#include "research/tstartform.h"
#include "ui/tinfoform.h"
#include "ui/tovalbutton.h"

#include <QApplication>
#include <QFont>
#include <QIcon>

namespace qm {

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    QApplication::setOrganizationName(QString());
    // The name of the installed desktop entry: the window system matches the windows to it (their
    // icon and name in task switchers, the application id under Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLMARK_APP_ID));
    // The window icon in the small sizes of the installed icon: Qt decodes every size at start-up,
    // and task switchers that want a large one take it from the icon theme through the desktop entry.
    QIcon icon;
    for (const int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/images/quillmark-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    // The windows were laid out for narrow sans serif faces. Where those are missing the font system
    // puts its default face in their place, so much wider that the longest caption overflows its
    // button; Liberation Sans, with Arial's widths, keeps every text inside its control.
    for (const QString& family : {QStringLiteral("MS Sans Serif"), QStringLiteral("Arial")})
        QFont::insertSubstitution(family, QStringLiteral("Liberation Sans"));
    installOvalButtonAccessibility();
}

Startup::Startup(const QString& lockPath, std::string sourcePageUrl) : m_instance(lockPath)
{
    if (m_instance.otherInstanceRuns())
        return;
    // The main window comes first: it is the application's main window, and closing it ends the loop.
    m_form1 = std::make_unique<TForm1>(std::move(sourcePageUrl));
    m_startForm = new TStartForm(m_form1.get());
    m_infoForm = new TInfoForm(m_form1.get());
    m_form1->setDialogs(m_startForm, m_infoForm);
}

Startup::~Startup() = default;

} // namespace qm
