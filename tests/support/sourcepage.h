#pragma once

// Source pages for research tests: sections in the page format the parser reads, and the HTTP
// answer that carries a page.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qm::test {

struct PageSection {
    std::string anchor; // the anchor's name
    std::vector<std::string> captions;
};

// One section per entry: a quoted anchor, a list whose every caption is a link entry, and a closing
// entry (which a section's last "<li>" never lists). Lines end in CR LF, as a web server sends them.
inline std::string SourcePage(const std::vector<PageSection>& sections)
{
    std::string page = "<html><body>\r\n";
    for (const PageSection& section : sections) {
        page += "<a name=\"" + section.anchor + "\"></a>\r\n<ul>\r\n";
        for (const std::string& caption : section.captions)
            page += "<li><a href=\"#\">" + caption + "</a></li>\r\n";
        page += "<li><a href=\"#top\">Back to the topics</a></li>\r\n</ul>\r\n";
    }
    return page + "</body></html>\r\n";
}

// n captions "<prefix> 1" ... "<prefix> n".
inline std::vector<std::string> Numbered(std::string_view prefix, int n)
{
    std::vector<std::string> captions;
    for (int i = 1; i <= n; ++i)
        captions.push_back(std::string(prefix) + " " + std::to_string(i));
    return captions;
}

inline std::string OkResponse(std::string_view body)
{
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
}

} // namespace qm::test
