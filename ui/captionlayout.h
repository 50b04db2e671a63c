#pragma once

#include <QFont>
#include <QSize>
#include <QStaticText>
#include <QString>
#include <vector>

class QColor;
class QPainter;

namespace qm {

// One line of text with "&" prefixes laid out in a font: "&x" shows x underlined, "&&" shows one
// "&". Laying text out is the dearest part of painting a button, and a button paints the same caption
// in the same font every time, so layouts are made once and kept.
class CaptionLayout final {
public:
    // The layout of text in font, a copy of the kept one when it was made before (its parts are
    // shared, so the copy is cheap).
    static CaptionLayout Of(const QFont& font, const QString& text);

    CaptionLayout(const QFont& font, const QString& text);

    // Width and height of the text as stored, every "&" counted.
    QSize StoredExtent() const { return m_storedExtent; }
    // Width and height of the text as shown.
    QSize ShownExtent() const { return m_shownExtent; }
    QString Shown() const { return m_shown.text(); }

    // Draws the shown text with its top left corner at topLeft, in the painter's font, in color.
    void Draw(QPainter& painter, QPoint topLeft, const QColor& color) const;

private:
    struct Underline {
        int x;
        int width;
    };

    QFont m_font;
    QString m_text;
    QSize m_storedExtent;
    QSize m_shownExtent;
    QStaticText m_shown;
    std::vector<Underline> m_underlines;
    int m_underlineTop = 0;
    int m_lineWidth = 1;
};

} // namespace qm
