#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

// Set while no research may go ahead: set when the main window is created and again just before the
// topic dialog is shown, cleared by the dialog's Research, set by its Cancel. The research walk reads
// it after every entry. One flag for the whole process, touched only on the GUI thread.
extern bool TopicCancelled;

// Moves on whenever the suggestion list is emptied to be refilled or replaced: by a research run's
// parse, by opening a headline file. A research walk notes it when it has emptied the list itself and
// stops once it has moved on, since the list then holds another run's or a file's items and the rest
// of the walk would be mixed into them. Only whether it changed matters, not by how much.
extern std::uint64_t SuggestionListGeneration;

// The seven topics, in the order the topic dialog lists them.
inline constexpr std::array<std::string_view, 7> kTopics = {
    "Business", "Computers and Software", "Education", "Entertainment and Sport",
    "Government and Politics", "Miscellaneous", "Personal Interest",
};

// The text naming a topic's section of the source page: "Misc" and "Personal" for the last two
// topics, every other topic's own text.
std::string TopicKey(std::string_view topic);

} // namespace qm
