#include "research/topics.h"

namespace qm {

bool TopicCancelled = true;

std::string TopicKey(std::string_view topic)
{
    if (topic == "Miscellaneous")
        return "Misc";
    if (topic == "Personal Interest")
        return "Personal";
    return std::string(topic);
}

} // namespace qm
