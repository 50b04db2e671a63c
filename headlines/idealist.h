#pragma once

// The idea list as the core sees it: lines of bytes; its text is every line followed by CR LF.

#include <string>
#include <string_view>

namespace qm {

class IdeaList {
public:
    virtual ~IdeaList() = default;
    // The lines in order, each followed by CR LF, the last one included; empty when there is none.
    virtual std::string text() const = 0;
    virtual void appendLine(std::string_view line) = 0;
    virtual void clear() = 0;
};

} // namespace qm
