#include "net/tidheaderinfo.h"

#include <array>
#include <utility>

namespace qm {

void TIdHeaderInfo::WriteRequestLines(TIdHeaderList& lines) const
{
    lines.Clear();
    const std::array<std::pair<std::string_view, const std::string*>, 7> fields = {{
        {"Accept: ", &Accept},
        {"User-Agent: ", &UserAgent},
        {"Connection: ", &Connection},
        {"Content-Version: ", &ContentVersion},
        {"Content-Encoding: ", &ContentEncoding},
        {"Content-Language: ", &ContentLanguage},
        {"Content-Type: ", &ContentType},
    }};
    for (const auto& [prefix, value] : fields) {
        if (!value->empty())
            lines.Add(std::string(prefix) + *value);
    }
    if (ContentLength != 0)
        lines.Add("Content-Length: " + std::to_string(ContentLength));
    for (const std::string& line : ExtraHeaders)
        lines.Add(line);
}

} // namespace qm
