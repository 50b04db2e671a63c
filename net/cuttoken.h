#pragma once

#include <string>
#include <string_view>

namespace qm {

// The text before the first occurrence of delimiter (exact, case-sensitive), or the whole text when
// it does not occur. With remove, the returned part and the delimiter are taken off the text (all of
// it when the delimiter does not occur).
std::string CutToken(std::string& text, std::string_view delimiter, bool remove);

} // namespace qm
