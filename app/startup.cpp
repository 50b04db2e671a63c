#include "app/startup.h"

#include "app/tform1.h"
#include "research/tstartform.h"
#include "ui/tinfoform.h"

#include <QApplication>
#include <QIcon>

namespace qm {

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    QApplication::setOrganizationName(QString());
    QIcon icon;
    for (const int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/images/quillmark-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
}

Startup::Startup(const QString& lockPath)
    : m_instance(lockPath)
{
    if (m_instance.otherInstanceRuns())
        return;
    // The main window comes first: it is the application's main window, and closing it ends the loop.
    m_form1 = std::make_unique<TForm1>();
    m_startForm = new TStartForm(m_form1.get());
    m_infoForm = new TInfoForm(m_form1.get());
    m_form1->setDialogs(m_startForm, m_infoForm);
}

Startup::~Startup() = default;

} // namespace qm
