#pragma once

#include <string>
#include <string_view>

namespace qm {

// The research run's hidden text box RichEdit1. Setting its text passes it as a zero-terminated
// string, so the text ends at its first NUL byte; nothing else is changed (line breaks stay as they
// came). A plain byte buffer: a text widget would turn CR LF into LF and is slow on large pages.
class RichEditBuffer final {
public:
    void setText(std::string_view text) { m_text.assign(text.substr(0, text.find('\0'))); }
    const std::string& text() const { return m_text; }

private:
    std::string m_text;
};

} // namespace qm
