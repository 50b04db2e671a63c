#include "research/tstartform.h"

#include "platform/handlerguard.h"
#include "platform/messagepump.h"
#include "platform/syscolor.h"
#include "platform/windowposition.h"
#include "research/topics.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <cstdint>
#include <cstdlib>
#include <xcb/xcb.h>

namespace qm {
namespace {

constexpr QSize kClientSize(212, 110);
constexpr QSize kResearchPictureSize(22, 23);
constexpr QSize kCancelPictureSize(24, 24);
constexpr int kComboItemHeight = 13;

// The topic list as a screen reader meets it: named "Topic" and valued by the chosen topic. Qt's own
// interface names a closed combo box by its current entry on this platform, which leaves the list
// without a name of its own.
class TopicListAccessible final : public QAccessibleWidget {
public:
    explicit TopicListAccessible(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? list()->currentText() : QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override
    {
        return QStringList(showMenuAction()) + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override
    {
        if (action == showMenuAction())
            list()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QComboBox* list() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* topicListFactory(const QString&, QObject* object)
{
    auto* list = qobject_cast<QComboBox*>(object);
    if (list != nullptr && qobject_cast<TStartForm*>(list->parentWidget()) != nullptr)
        return new TopicListAccessible(list);
    return nullptr;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, const QString& picture,
                        QSize pictureSize, const QRect& geometry)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setIcon(QIcon(picture));
    button->setIconSize(pictureSize);
    // Neither button may become the dialog's default: Enter is handled in keyPressEvent.
    button->setAutoDefault(false);
    return button;
}

// A title bar with no buttons at all: no window menu, no close box. Qt's window flags cannot ask an X11
// window manager for that: a title hint alone publishes no decorations, so the manager draws its own
// default buttons, and every button hint also brings the window menu. So the dialog publishes its
// Motif hints itself, before its window is first mapped; Qt does not touch them again.
void publishTitleOnly(QWidget& dialog)
{
    // Only the xcb platform's windows are X windows (the offscreen one may hold an X connection too).
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    xcb_connection_t* x = x11->connection();
    constexpr char kName[] = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, sizeof kName - 1, kName), nullptr);
    // Which fields count (functions, decorations); functions: move; decorations: border, title.
    const std::uint32_t hints[] = {1 | 2, 4, 2 | 8, 0, 0};
    if (atom != nullptr)
        xcb_change_property(x, XCB_PROP_MODE_REPLACE, dialog.winId(), atom->atom, atom->atom, 32, 5, hints);
    std::free(atom);
}

} // namespace

TStartForm::TStartForm(QWidget* parent)
    : PlacedDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("StartForm"));
    setWindowTitle(QStringLiteral("Select a topic..."));
    setFixedSize(kClientSize);
    setFont(designFont(QStringLiteral("MS Sans Serif"), 11));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colorFromRef(SysColor(kColorBtnFace)));
    colours.setColor(QPalette::WindowText, colorFromRef(SysColor(kColorWindowText)));
    setPalette(colours);
    setAutoFillBackground(true);

    QAccessible::installFactory(topicListFactory); // before anything asks for the list's interface
    m_comboBox1 = new QComboBox(this);
    m_comboBox1->setObjectName(QStringLiteral("ComboBox1"));
    m_comboBox1->setGeometry(15, 27, 184, 21);
    m_comboBox1->setAccessibleName(QStringLiteral("Topic"));
    m_comboBox1->setAccessibleDescription(QStringLiteral("The topic to find headlines for"));
    for (const std::string_view topic : kTopics)
        m_comboBox1->addItem(QString::fromLatin1(topic.data(), static_cast<qsizetype>(topic.size())));
    for (int i = 0; i < m_comboBox1->count(); ++i)
        m_comboBox1->setItemData(i, QSize(0, kComboItemHeight), Qt::SizeHintRole);

    auto* research = makeButton(this, "BitBtn1", QStringLiteral("Research"), QStringLiteral(":/images/research.png"),
                                kResearchPictureSize, QRect(108, 72, 92, 30));
    auto* cancel = makeButton(this, "BitBtn2", QStringLiteral("Cancel"), QStringLiteral(":/images/cancel.png"),
                              kCancelPictureSize, QRect(15, 72, 79, 30));
    research->setAccessibleDescription(QStringLiteral("List headline suggestions for the chosen topic"));
    cancel->setAccessibleDescription(QStringLiteral("Close without looking for headlines"));

    setTabOrder(research, cancel);
    setTabOrder(cancel, m_comboBox1);
    // The first opening focuses Research; later ones keep whatever had the focus at closing.
    research->setFocus(Qt::OtherFocusReason);

    connect(research, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn1Click(); }); });
    connect(cancel, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn2Click(); }); });
    publishTitleOnly(*this);
}

std::string TStartForm::SelectedTopicKey() const { return TopicKey(m_comboBox1->currentText().toStdString()); }

void TStartForm::BitBtn1Click()
{
    TopicCancelled = false;
    PumpMessages(); // every handler it runs catches its own failures
    done(1);
}

void TStartForm::BitBtn2Click()
{
    TopicCancelled = true;
    done(3);
}

void TStartForm::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        event->accept(); // no cancel button: Escape leaves the dialog open
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // No default button either: Enter presses the focused button and nothing else.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget());
            button != nullptr && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
            button->click();
        event->accept();
        return;
    default: QDialog::keyPressEvent(event);
    }
}

} // namespace qm
