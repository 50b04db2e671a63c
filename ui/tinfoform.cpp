#include "ui/tinfoform.h"

#include "platform/anchorlayout.h"
#include "platform/buildvalues.h"
#include "platform/desktopservices.h"
#include "platform/handlerguard.h"
#include "platform/jpegpixmap.h"
#include "platform/syscolor.h"
#include "platform/windowposition.h"
#include "ui/tovalbutton.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

namespace qm {
namespace {

constexpr QSize kClientSize(329, 296);
constexpr QRect kPanelRect(0, 0, 329, 258);
constexpr QRect kImageRect(14, 9, 98, 130);
constexpr int kButtonTop = 262;
constexpr QSize kButtonSize(64, 31);
constexpr std::uint8_t kButtonBevelWidth = 2;

// One bevel ring inside rect: top and left edges in one colour, bottom and right in the other.
void frame(QPainter& painter, const QRect& rect, const QColor& topLeft, const QColor& bottomRight)
{
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), topLeft);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), topLeft);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), bottomRight);
}

// A plain panel filled with one colour and framed by two one-pixel bevels: the outer one lowered,
// the inner one raised.
class BevelPanel final : public QWidget {
public:
    BevelPanel(QWidget* parent, ColorValue color) : QWidget(parent), m_color(color)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), colorFromRef(ResolveColor(m_color, SysColor)));
        const QColor shadow = colorFromRef(SysColor(kColorBtnShadow));
        const QColor light = colorFromRef(SysColor(kColorBtnHighlight));
        if (width() < 4 || height() < 4)
            return;
        frame(painter, rect(), shadow, light);                        // lowered
        frame(painter, rect().adjusted(1, 1, -1, -1), light, shadow); // raised
    }

private:
    ColorValue m_color;
};

} // namespace

TInfoForm::TInfoForm(QWidget* parent)
    : PlacedDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                               | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("InfoForm"));
    setWindowTitle(QStringLiteral("About Quillmark..."));
    setFixedSize(kClientSize);
    setFont(designFont(QStringLiteral("Arial"), 12));
    QPalette face = palette();
    face.setColor(QPalette::Window, colorFromRef(SysColor(kColorBtnFace)));
    setPalette(face);
    setAutoFillBackground(true);

    // The screen reader's names are the captions; the descriptions say what each does, and the two
    // links show theirs as tooltips.
    addOvalButton("BitBtn3", QStringLiteral("Close"), 29, QStringLiteral("Close the About dialog"),
                  &TInfoForm::BitBtn3Click, false);
    addOvalButton("OvalButton1", QStringLiteral("Support"), 256, QStringLiteral("Get support by e-mail"),
                  &TInfoForm::OvalButton1Click, true);
    addOvalButton("OvalButton2", QStringLiteral("Website"), 106, QStringLiteral("Visit the homepage"),
                  &TInfoForm::OvalButton2Click, true);

    auto* panel = new BevelPanel(this, RgbRef(255, 255, 255));
    panel->setObjectName(QStringLiteral("Panel1"));
    auto* anchors = new AnchorLayout(this, kClientSize);
    anchors->add(panel, kPanelRect, AnchorAll);

    m_image1 = new QLabel(panel);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setScaledContents(true);
    m_image1->setGeometry(kImageRect);
    m_image1->setAccessibleName(QStringLiteral("Quillmark logo"));
}

void TInfoForm::addOvalButton(const char* name, const QString& caption, int left, const QString& description,
                              void (TInfoForm::*click)(), bool withToolTip)
{
    auto* button = new TOvalButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleDescription(description);
    button->setGeometry(QRect(QPoint(left, kButtonTop), kButtonSize));
    button->SetCaption(caption);
    button->setCursor(Qt::PointingHandCursor);
    button->SetBevelWidth(kButtonBevelWidth);
    button->SetFont(designFont(QStringLiteral("MS Sans Serif"), 11, true), SystemColorValue(kColorWindowText));
    // Every other setting keeps the button's own initial value: face colour, raised, not flat, no
    // group, glyph below the caption, margin 0, spacing 4, opaque, black as the transparent colour.
    if (withToolTip)
        button->setToolTip(description);
    connect(button, &TOvalButton::OnClick, this, [this, click] { guarded([this, click] { (this->*click)(); }); });
}

void TInfoForm::BitBtn3Click() { done(kCloseResult); }

QString TInfoForm::SupportLink()
{
    return QStringLiteral("mailto:") + QString::fromUtf8(kSupportAddress) + QStringLiteral("?subject=Quillmark Help");
}

void TInfoForm::OvalButton1Click() { desktop().openUrl(SupportLink()); }

void TInfoForm::OvalButton2Click() { desktop().openUrl(QString::fromUtf8(kHomepageUrl)); }

void TInfoForm::setVisible(bool visible)
{
    // The logo is decoded when the dialog is first shown, not at start-up, which most runs end without.
    if (visible && m_image1->pixmap().isNull()) {
        m_image1->setPixmap(loadJpegPixmap(QStringLiteral(":/images/logo.jpg")));
        if (!m_image1->pixmap().isNull())
            m_image1->resize(m_image1->pixmap().size()); // the picture control takes the picture's size
    }
    PlacedDialog::setVisible(visible);
}

void TInfoForm::reject() { done(kCancelResult); }

void TInfoForm::keyPressEvent(QKeyEvent* event)
{
    // No control acts as the cancel button: Escape is swallowed, not turned into a close.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        event->accept();
        guarded([] { desktop().openUrl(QString::fromUtf8(kHomepageUrl)); });
        return;
    }
    // Typed characters are offered to the oval buttons as accelerators. Only single-byte characters
    // are: a wider one must not match through its low byte.
    const QString text = event->text();
    const bool command = (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) != 0;
    if (!command && text.size() == 1 && text.at(0).unicode() <= 0xFF) {
        bool handled = false;
        guarded([this, &handled, &text] { handled = TOvalButton::OfferDialogChar(this, text.at(0).unicode()); });
        if (handled) {
            event->accept();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

} // namespace qm
