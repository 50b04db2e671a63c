#include "research/tstartform.h"

#include "app/handlerguard.h"
#include "platform/designfont.h"
#include "platform/messagepump.h"
#include "platform/syscolor.h"
#include "research/topics.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>

namespace qm {
namespace {

constexpr QSize kClientSize(212, 110);
constexpr QSize kResearchPictureSize(22, 23);
constexpr QSize kCancelPictureSize(24, 24);
constexpr int kComboItemHeight = 13;

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
    button->setDefault(false);
    return button;
}

} // namespace

TStartForm::TStartForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
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

    m_comboBox1 = new QComboBox(this);
    m_comboBox1->setObjectName(QStringLiteral("ComboBox1"));
    m_comboBox1->setGeometry(15, 27, 184, 21);
    m_comboBox1->setEditable(false);
    m_comboBox1->setAccessibleName(QStringLiteral("Topic"));
    m_comboBox1->setAccessibleDescription(QStringLiteral("The topic to find headlines for"));
    for (const std::string_view topic : kTopics)
        m_comboBox1->addItem(QString::fromLatin1(topic.data(), static_cast<qsizetype>(topic.size())));
    for (int i = 0; i < m_comboBox1->count(); ++i)
        m_comboBox1->setItemData(i, QSize(0, kComboItemHeight), Qt::SizeHintRole);
    m_comboBox1->setCurrentIndex(0);

    m_bitBtn1 = makeButton(this, "BitBtn1", QStringLiteral("Research"), QStringLiteral(":/images/research.png"),
                           kResearchPictureSize, QRect(108, 72, 92, 30));
    m_bitBtn2 = makeButton(this, "BitBtn2", QStringLiteral("Cancel"), QStringLiteral(":/images/cancel.png"),
                           kCancelPictureSize, QRect(15, 72, 79, 30));
    m_bitBtn1->setAccessibleDescription(QStringLiteral("List headline suggestions for the chosen topic"));
    m_bitBtn2->setAccessibleDescription(QStringLiteral("Close without looking for headlines"));

    setTabOrder(m_bitBtn1, m_bitBtn2);
    setTabOrder(m_bitBtn2, m_comboBox1);
    // The first opening focuses Research; later ones keep whatever had the focus at closing.
    m_bitBtn1->setFocus(Qt::OtherFocusReason);

    connect(m_bitBtn1, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn1Click(); }); });
    connect(m_bitBtn2, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn2Click(); }); });
}

std::string TStartForm::SelectedTopicKey() const
{
    return TopicKey(m_comboBox1->currentText().toStdString());
}

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

void TStartForm::setVisible(bool visible)
{
    if (visible == isVisible()) {
        QDialog::setVisible(visible);
        return;
    }
    if (visible) {
        // Placing the window ourselves also keeps the dialog from centring itself over the main window.
        if (!m_placed) {
            QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
            QRect frame = frameGeometry();
            if (screen != nullptr)
                frame.moveCenter(screen->geometry().center());
            m_lastPosition = frame.topLeft();
            m_placed = true;
        }
        move(m_lastPosition);
    } else {
        m_lastPosition = pos();
    }
    QDialog::setVisible(visible);
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
    default:
        QDialog::keyPressEvent(event);
    }
}

} // namespace qm
