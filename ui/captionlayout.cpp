#include "ui/captionlayout.h"

#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <deque>

namespace qm {
namespace {

// Layouts kept: a window's captions in their fonts, with room to spare.
constexpr std::size_t kMaxKeptLayouts = 64;

} // namespace

CaptionLayout CaptionLayout::Of(const QFont& font, const QString& text)
{
    static std::deque<CaptionLayout> kept;
    const auto found = std::find_if(kept.begin(), kept.end(), [&](const CaptionLayout& layout) {
        return layout.m_text == text && layout.m_font == font;
    });
    if (found != kept.end())
        return *found;
    if (kept.size() >= kMaxKeptLayouts)
        kept.clear();
    return kept.emplace_back(font, text);
}

CaptionLayout::CaptionLayout(const QFont& font, const QString& text) : m_font(font), m_text(text)
{
    const QFontMetrics metrics(font);
    m_storedExtent = QSize(metrics.horizontalAdvance(text), metrics.height());

    QString shown;
    std::vector<qsizetype> marked; // positions in shown of the characters after a lone "&"
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != u'&') {
            shown.append(text.at(i));
            continue;
        }
        if (i + 1 >= text.size())
            break; // a trailing "&" shows nothing
        ++i;
        if (text.at(i) != u'&')
            marked.push_back(shown.size());
        shown.append(text.at(i));
    }
    m_shownExtent = QSize(metrics.horizontalAdvance(shown), metrics.height());
    for (const qsizetype at : marked)
        m_underlines.push_back({metrics.horizontalAdvance(shown.left(at)), metrics.horizontalAdvance(shown.at(at))});
    m_underlineTop = metrics.ascent() + metrics.underlinePos();
    m_lineWidth = std::max(1, metrics.lineWidth());

    m_shown.setText(shown);
    m_shown.setTextFormat(Qt::PlainText);
    m_shown.setPerformanceHint(QStaticText::AggressiveCaching);
    m_shown.prepare(QTransform(), font);
}

void CaptionLayout::Draw(QPainter& painter, QPoint topLeft, const QColor& color) const
{
    painter.setFont(m_font);
    painter.setPen(color);
    painter.drawStaticText(topLeft, m_shown);
    for (const Underline& line : m_underlines)
        painter.fillRect(QRect(topLeft.x() + line.x, topLeft.y() + m_underlineTop, line.width, m_lineWidth), color);
}

} // namespace qm
