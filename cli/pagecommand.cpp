// quillmark-cli page KEY=FEED...: a source page built from RSS and Atom feeds, on standard output or
// written atomically to --output FILE. A feed that cannot be read is named on standard error with
// the reason, and the page is written from the others (exit status 1); a wrong command line writes
// nothing (exit status 2).
#include "cli/commands.h"
#include "cli/feedreader.h"
#include "cli/pagewriter.h"

#include "platform/atomicfile.h"
#include "platform/bytes.h"
#include "research/topics.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

namespace qm::cli {
namespace {

constexpr std::string_view kUsage
    = "page [--per-topic N] [--base PAGE] [--output FILE] KEY=FEED...\n"
      "  KEY    Business, Computers and Software, Education, Entertainment and Sport,\n"
      "         Government and Politics, Misc or Personal; FEED: an RSS or Atom file, - for standard input\n"
      "  --per-topic N   the N newest titles of each topic (default 200)\n"
      "  --base PAGE     topics without feeds (or whose feeds all failed) keep their section of this page";
constexpr std::array<Option, 3> kOptions = {{{"--per-topic", true}, {"--base", true}, {"--output", true}}};

// The topic's index for a key (or a topic's full name), in any letter case; kTopics.size() for none.
std::size_t topicIndex(std::string_view key)
{
    std::size_t i = 0;
    while (i < kTopics.size() && !equalsNoCase(key, TopicKey(kTopics[i])) && !equalsNoCase(key, kTopics[i]))
        ++i;
    return i;
}

} // namespace

int runPage(Args args, std::istream& in, std::ostream& out, std::ostream& err)
{
    CommandLine line;
    if (const auto status = line.read({kUsage, 1, SIZE_MAX, kOptions}, args, out, err))
        return *status;
    const std::size_t perTopic = parseUnsigned(line.value("--per-topic", "200"), 10, SIZE_MAX).value_or(0);
    if (perTopic == 0) {
        err << "page: --per-topic takes a whole number above 0\n";
        return 2;
    }
    std::vector<std::pair<std::size_t, std::string_view>> feeds;
    for (const std::string_view operand : line.operands) {
        const std::string_view key = operand.substr(0, operand.find('='));
        const std::size_t topic = topicIndex(key);
        if (topic == kTopics.size() || key == operand) {
            err << "page: \"" << operand << "\" is not KEY=FEED with one of the seven topic keys\n";
            return 2;
        }
        feeds.emplace_back(topic, operand.substr(key.size() + 1));
    }
    try {
        const std::string base = line.has("--base") ? readWholeFile(line.value("--base"), kMaxPageBytes) : "";
        std::array<std::optional<TopicTitles>, kTopics.size()> topics;
        std::uint64_t order = 0;
        bool failed = false;
        for (const auto& [topic, feedPath] : feeds) {
            const std::string_view path = feedPath; // a lambda cannot take a structured binding
            TopicTitles titles(perTopic);
            std::array<char, std::size_t{1} << 16> buffer; // fewer, larger reads than the stream's own
            std::filebuf file;
            file.pubsetbuf(buffer.data(), buffer.size());
            std::istream stream(&file);
            try {
                if (path != "-" && file.open(std::string(path), std::ios::in | std::ios::binary) == nullptr)
                    throw FeedError(std::strerror(errno));
                ReadFeed(path == "-" ? in : stream, [&](FeedItem&& item) {
                    if (!titles.add(item.title, item.date, order++))
                        err << "page: " << path << ": a title that is not UTF-8 is left out\n";
                });
            } catch (const FeedError& failure) {
                err << "page: " << path << ": " << failure.what() << '\n';
                failed = true;
                continue;
            }
            // A topic none of whose feeds could be read keeps its section of the base page.
            if (!topics[topic])
                topics[topic].emplace(perTopic);
            topics[topic]->addAll(titles);
        }
        const std::string page = BuildPage(topics, base);
        if (line.has("--output"))
            writeFileAtomically(line.value("--output"), page);
        else
            out.write(page.data(), static_cast<std::streamsize>(page.size()));
        return failed ? 1 : 0;
    } catch (const FileError& failure) {
        err << "page: " << failure.what() << '\n';
        return 1;
    }
}

} // namespace qm::cli
