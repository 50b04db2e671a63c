// URL splitting and token cutting.
#include "net/cuttoken.h"
#include "net/tiduri.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

struct SplitCase {
    const char* url;
    const char* protocol;
    const char* host;
    const char* port;
    const char* path;
    const char* document;
    const char* bookmark;
};

TEST(TIdURI, SplitUrl)
{
    const SplitCase cases[] = {
        {"http://host.example/dir/page.html", "http", "host.example", "", "/dir/", "page.html", ""},
        // Nothing after the host: the target is "/".
        {"http://host.example", "http", "host.example", "", "/", "", ""},
        {"http://host.example/", "http", "host.example", "", "/", "", ""},
        {"http://h:8080/a/b/c.html", "http", "h", "8080", "/a/b/", "c.html", ""},
        // The fragment is split off; the query stays in the document.
        {"http://h/p.html?q=1#top", "http", "h", "", "/", "p.html?q=1", "top"},
        {"http://h/p.html#a#b", "http", "h", "", "/", "p.html", "a#b"},
        // Backslashes become slashes.
        {"http:\\\\h\\dir\\p.html", "http", "h", "", "/dir/", "p.html", ""},
        // Relative URLs keep protocol, host and port empty.
        {"/other/page.html", "", "", "", "/other/", "page.html", ""},
        {"page.html", "", "", "", "/", "page.html", ""},
        {"dir/page.html", "", "", "", "/dir/", "page.html", ""},
        {"HTTPS://Secure:443/x", "HTTPS", "Secure", "443", "/", "x", ""},
        // A colon in a query or fragment right after the host is no port.
        {"http://h?q=a:81", "http", "h", "", "/", "?q=a:81", ""},
        {"http://h#x:81", "http", "h", "", "/", "", "x:81"},
    };
    for (const SplitCase& c : cases) {
        const TIdURI uri = TIdURI::SplitUrl(c.url);
        EXPECT_EQ(uri.Protocol, c.protocol) << c.url;
        EXPECT_EQ(uri.Host, c.host) << c.url;
        EXPECT_EQ(uri.Port, c.port) << c.url;
        EXPECT_EQ(uri.Path, c.path) << c.url;
        EXPECT_EQ(uri.Document, c.document) << c.url;
        EXPECT_EQ(uri.Bookmark, c.bookmark) << c.url;
    }
}

TEST(CutToken, RemovesTokenAndDelimiterOrEverything)
{
    std::string text = "HTTP/1.1 200 OK";
    EXPECT_EQ(CutToken(text, " ", true), "HTTP/1.1");
    EXPECT_EQ(text, "200 OK");
    EXPECT_EQ(CutToken(text, " ", false), "200");
    EXPECT_EQ(text, "200 OK");

    std::string single = "HTTP/1.1";
    EXPECT_EQ(CutToken(single, " ", true), "HTTP/1.1");
    EXPECT_EQ(single, "");

    std::string caseSensitive = "aXbxc";
    EXPECT_EQ(CutToken(caseSensitive, "x", true), "aXb");
    EXPECT_EQ(caseSensitive, "c");

    std::string multi = "a::b";
    EXPECT_EQ(CutToken(multi, "::", true), "a");
    EXPECT_EQ(multi, "b");
}

} // namespace
} // namespace qm
