#include "cli/feedreader.h"

#include "platform/bytes.h"

#include <libxml/HTMLparser.h>
#include <libxml/xmlreader.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <istream>
#include <memory>

namespace qm::cli {
namespace {

constexpr std::string_view kAtomNs = "http://www.w3.org/2005/Atom";
constexpr std::string_view kRdfNs = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
constexpr std::string_view kDublinCoreNs = "http://purl.org/dc/elements/1.1/";

std::string_view view(const xmlChar* text) { return text ? reinterpret_cast<const char*>(text) : ""; }

struct Input {
    std::istream* in;
    std::size_t total = 0;
    int error = 0;
    bool atEnd = false;
    std::string firstError;
};

int readInput(void* context, char* buffer, int size)
{
    Input& input = *static_cast<Input*>(context);
    input.in->read(buffer, size);
    input.total += static_cast<std::size_t>(input.in->gcount());
    input.atEnd = input.in->gcount() == 0;
    input.error = input.in->bad() ? (errno != 0 ? errno : EIO) : input.total > kMaxFeedBytes ? EFBIG : 0;
    return input.error != 0 ? -1 : static_cast<int>(input.in->gcount());
}

void keepFirstError(void* context, xmlErrorPtr error)
{
    std::string& first = static_cast<Input*>(context)->firstError;
    if (error == nullptr || error->level < XML_ERR_ERROR || !first.empty())
        return;
    first = "line " + std::to_string(error->line) + ": "
            + std::string(trimRight(error->message != nullptr ? error->message : "", "\n "));
    std::replace(first.begin(), first.end(), '\n', ' '); // the reason stays on its one line
}

void ignoreMessage(void* /*context*/, const char* /*format*/, ...) {}

// What an item's child element holds: 0 the title, 1 to 3 a date (the lower the rank, the more it
// counts: RSS pubDate or Atom updated, Atom published, dc:date); -1 nothing read here.
int fieldOf(std::string_view name, std::string_view ns, std::string_view itemNs, bool atom)
{
    if (name == "title" || name == (atom ? "updated" : "pubDate"))
        return ns != itemNs ? -1 : name == "title" ? 0 : 1;
    if (atom && name == "published" && ns == kAtomNs)
        return 2;
    return name == "date" && ns == kDublinCoreNs ? 3 : -1;
}

// The text of an HTML fragment: tags dropped, entities decoded; a "<" that opens no tag stays.
std::string HtmlText(std::string_view html)
{
    // libxml2's HTML parser drops a "<" that cannot start a tag ("<3"), which a browser shows.
    std::string escaped;
    for (std::size_t i = 0; i < html.size(); ++i) {
        const char next = asciiLower(i + 1 < html.size() ? html[i + 1] : ' ');
        const bool opensTag = (next >= 'a' && next <= 'z') || next == '/' || next == '!' || next == '?';
        escaped += html[i] == '<' && !opensTag ? std::string_view("&lt;") : html.substr(i, 1);
    }
    const std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
        htmlReadMemory(escaped.data(), static_cast<int>(escaped.size()), nullptr, "UTF-8",
                       HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NOIMPLIED),
        &xmlFreeDoc);
    xmlChar* text = doc ? xmlNodeGetContent(reinterpret_cast<xmlNode*>(doc.get())) : nullptr;
    std::string result(view(text));
    xmlFree(text);
    return result;
}

} // namespace

void ReadFeed(std::istream& in, const std::function<void(FeedItem&&)>& onItem)
{
    Input source{&in, 0, 0, false, {}};
    // No entity substitution, no DTD loading, no network: a feed can name no file or address that
    // the reader would open.
    const std::unique_ptr<xmlTextReader, decltype(&xmlFreeTextReader)> reader(
        xmlReaderForIO(readInput, nullptr, &source, nullptr, nullptr,
                       XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
        &xmlFreeTextReader);
    if (reader)
        xmlTextReaderSetStructuredErrorHandler(reader.get(), keepFirstError, &source);
    // Encoding errors bypass the reader's handler: without this they would reach standard error.
    xmlSetGenericErrorFunc(nullptr, ignoreMessage);

    bool atom = false;
    bool rootSeen = false;
    bool rootClosed = false;
    int itemDepth = -1;
    std::string itemNs;
    int fieldDepth = -1; // of the title or date element being read
    int field = -1;
    int dateField = 4; // of the date read so far
    bool htmlTitle = false;
    std::string text;
    FeedItem item;
    bool hasTitle = false;
    bool skip = false; // the reader is on a child element of an item that is not read: go past it
    int status = reader ? 1 : -1;
    while (status == 1 && (status = (skip ? xmlTextReaderNext : xmlTextReaderRead)(reader.get())) == 1) {
        const int type = xmlTextReaderNodeType(reader.get());
        const int depth = xmlTextReaderDepth(reader.get());
        const bool element = type == XML_READER_TYPE_ELEMENT;
        const std::string_view name = element ? view(xmlTextReaderConstLocalName(reader.get())) : "";
        const std::string_view ns = element ? view(xmlTextReaderConstNamespaceUri(reader.get())) : "";
        rootClosed = rootClosed || (type == XML_READER_TYPE_END_ELEMENT && depth == 0);
        if (element && !rootSeen) {
            rootSeen = true;
            atom = name == "feed" && ns == kAtomNs;
            if (!atom && !(name == "rss" && ns.empty()) && !(name == "RDF" && ns == kRdfNs))
                throw FeedError("not an RSS or Atom feed: the document is <"
                                + std::string(view(xmlTextReaderConstName(reader.get()))) + ">");
        } else if (element && itemDepth < 0 && name == (atom ? "entry" : "item")) {
            itemDepth = depth;
            itemNs = ns;
            hasTitle = false;
            dateField = 4;
        } else if (element && depth == itemDepth + 1 && fieldDepth < 0 && !xmlTextReaderIsEmptyElement(reader.get())) {
            field = fieldOf(name, ns, itemNs, atom);
            fieldDepth = field == 0 || (field > 0 && field < dateField) ? depth : -1;
            text.clear();
            xmlChar* kind = atom && field == 0 ? xmlTextReaderGetAttribute(reader.get(), BAD_CAST "type") : nullptr;
            htmlTitle = view(kind) == "html";
            xmlFree(kind);
        } else if (fieldDepth >= 0
                   && (type == XML_READER_TYPE_TEXT || type == XML_READER_TYPE_CDATA
                       || type == XML_READER_TYPE_WHITESPACE || type == XML_READER_TYPE_SIGNIFICANT_WHITESPACE)) {
            text += view(xmlTextReaderConstValue(reader.get()));
        } else if (type == XML_READER_TYPE_END_ELEMENT && depth == fieldDepth) {
            fieldDepth = -1;
            if (field == 0) {
                item.title = htmlTitle ? HtmlText(text) : text;
                hasTitle = true;
            } else if (const auto date = ParseFeedDate(text)) {
                item.date = date;
                dateField = field;
            }
        } else if (type == XML_READER_TYPE_END_ELEMENT && depth == itemDepth) {
            itemDepth = -1;
            if (hasTitle)
                onItem(std::move(item));
            item = {};
        }
        skip = element && itemDepth >= 0 && depth == itemDepth + 1 && fieldDepth < 0;
    }
    if (source.error != 0)
        throw FeedError(source.error == EFBIG
                            ? "the feed is larger than " + std::to_string(kMaxFeedBytes >> 20) + " MiB"
                            : std::string(std::strerror(source.error)));
    if (status == 0 && rootSeen)
        return;
    if (source.total == 0)
        throw FeedError("the file is empty");
    // libxml2 names a document that ends early as one with extra content at its end.
    if (source.firstError.empty()) // libxml2 tells encoding errors through its generic handler only
        throw FeedError("not in the encoding it declares");
    if (rootSeen && !rootClosed && source.atEnd)
        throw FeedError("truncated: the feed ends before its root element is closed");
    throw FeedError("not well-formed XML (" + source.firstError + ")");
}

} // namespace qm::cli
