#pragma once

#include <array>
#include <string>
#include <string_view>

namespace qm {

// Set while no research may go ahead: set when the main window is created and again just before the
// topic dialog is shown, cleared by the dialog's Research, set by its Cancel. The research walk reads
// it after every entry. One flag for the whole process, touched only on the GUI thread.
extern bool TopicCancelled;

// The seven topics, in the order the topic dialog lists them.
inline constexpr std::array<std::string_view, 7> kTopics = {
    "Business",      "Computers and Software", "Education", "Entertainment and Sport", "Government and Politics",
    "Miscellaneous", "Personal Interest",
};

// The text naming a topic's section of the source page: "Misc" and "Personal" for the last two
// topics, every other topic's own text.
std::string TopicKey(std::string_view topic);

} // namespace qm
