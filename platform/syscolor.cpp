#include "platform/syscolor.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QFontDatabase>
#include <QPalette>

namespace qm {

std::uint32_t SysColor(int index)
{
    const QPalette palette = QApplication::palette();
    switch (index) {
    case kColorWindowText: return refFromColor(palette.color(QPalette::WindowText));
    case kColorBtnFace: return refFromColor(palette.color(QPalette::Button));
    case kColorBtnShadow: return refFromColor(palette.color(QPalette::Dark));
    case kColorGrayText: return refFromColor(palette.color(QPalette::Disabled, QPalette::Text));
    case kColorBtnHighlight: return refFromColor(palette.color(QPalette::Light));
    default: return refFromColor(palette.color(QPalette::Window));
    }
}

QColor colorFromRef(std::uint32_t rgbRef)
{
    return QColor(static_cast<int>(rgbRef & 0xFF), static_cast<int>((rgbRef >> 8) & 0xFF),
                  static_cast<int>((rgbRef >> 16) & 0xFF));
}

std::uint32_t refFromColor(const QColor& color)
{
    return static_cast<std::uint32_t>(color.red()) | (static_cast<std::uint32_t>(color.green()) << 8)
           | (static_cast<std::uint32_t>(color.blue()) << 16);
}

QFont designFont(const QString& family, int pixelHeight, bool bold)
{
    // A missing family asks for its stand-in at once: by name, it would first have every face ranked.
    QFont font(QFontDatabase::families().contains(family, Qt::CaseInsensitive) ? family : QFont::substitute(family));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

} // namespace qm
