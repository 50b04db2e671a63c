#include "app/ideamemo.h"

#include "platform/displaytext.h"

namespace qm {

IdeaMemo::IdeaMemo(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void IdeaMemo::appendLine(std::string_view line)
{
    m_bytes.append(line).append("\r\n");
    appendPlainText(displayText(line));
}

void IdeaMemo::clear()
{
    m_bytes.clear();
    QPlainTextEdit::clear();
}

} // namespace qm
