// The source page parser on generated pages of 100 KB, 1 MB and 10 MB, against the practical floor:
// one memmem scan of the same page for every "</a>". Each parse benchmark also reports, as
// "x_floor", its best time over the floor's best time, both measured in this process.
#include "headlines/suggestionlist.h"
#include "platform/bytes.h"
#include "research/contentfilter.h"
#include "research/sourcepageparser.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <random>
#include <string>

namespace {

// A source page shaped like the real one: seven sections, the Business one holding nearly all of
// the page in entries of about 100 bytes, some blocked, some with markup, CR LF, "&amp;" or runs of
// spaces inside the link text.
std::string makePage(std::size_t bytes)
{
    std::mt19937 random(1);
    static const char* const words[] = {"Market", "Rally",  "Shares", "Quarter", "Growth", "Small",  "Firms",
                                        "Export", "Profit", "Plans",  "Budget",  "Retail", "Hiring", "Trade"};
    auto caption = [&] {
        std::string text;
        for (int n = 3 + static_cast<int>(random() % 5); n > 0; --n)
            text += std::string(words[random() % std::size(words)]) + ' ';
        switch (random() % 10) {
        case 0: return text + "diet";               // blocked
        case 1: return "<b>" + text + "</b> today"; // markup
        case 2: return text + "\r\nnext line";      // CR LF
        case 3: return text + "&amp; more";         // entity
        case 4: return "  " + text + "    wide  ";  // runs of spaces
        default: return text;
        }
    };
    std::string page = "<html><head><title>Headlines</title></head><body>\r\n";
    for (const char* other : {"computers and software", "education", "misc"}) {
        page += std::string("<a name=\"") + other + "\"></a>\r\n<ul>\r\n";
        for (int i = 0; i < 5; ++i)
            page += "<li><a href=\"http://news.example/x\">" + caption() + "</a></li>\r\n";
        page += "</ul>\r\n";
    }
    page += "<a name=\"business\"></a>\r\n<ul>\r\n";
    for (unsigned story = 0; page.size() < bytes; ++story)
        page += "<li><a href=\"http://news.example/story/" + std::to_string(100000 + story) + ".html\">" + caption()
                + "</a></li>\r\n";
    return page + "<li>\r\n</ul>\r\n</body></html>\r\n";
}

class CountingSink final : public qm::SuggestionSink {
public:
    void removeAll() override { m_count = 0; }
    void append(std::string_view, bool) override { ++m_count; }
    std::size_t count() const { return m_count; }

private:
    std::size_t m_count = 0;
};

std::size_t scanForLinkEnds(const std::string& page)
{
    std::size_t found = 0;
    const char* p = page.data();
    const char* const end = p + page.size();
    while (const void* hit = ::memmem(p, static_cast<std::size_t>(end - p), "</a>", 4)) {
        ++found;
        p = static_cast<const char*>(hit) + 4;
    }
    return found;
}

// CPU time of this thread: the machine is shared, and other processes must not count.
double threadSeconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <typename F> double bestSeconds(int rounds, F&& work)
{
    double best = 1e9;
    for (int i = 0; i < rounds; ++i) {
        const double start = threadSeconds();
        work();
        best = std::min(best, threadSeconds() - start);
    }
    return best;
}

void BM_MemmemFloor(benchmark::State& state)
{
    const std::string page = makePage(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(scanForLinkEnds(page));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

void BM_ParseSourcePage(benchmark::State& state)
{
    const std::string page = makePage(static_cast<std::size_t>(state.range(0)));
    CountingSink sink;
    const double floor = bestSeconds(20, [&] { benchmark::DoNotOptimize(scanForLinkEnds(page)); });
    double best = 1e9;
    for (auto _ : state) {
        const double start = threadSeconds();
        qm::ParseSourcePage(page, "Business", sink);
        best = std::min(best, threadSeconds() - start);
        benchmark::DoNotOptimize(sink.count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
    state.counters["items"] = static_cast<double>(sink.count());
    state.counters["x_floor"] = best / floor;
    state.counters["ms_per_MB"] = best * 1e3 / (static_cast<double>(page.size()) / (1 << 20));
}

// The filter on a typical caption that passes (the worst case: no early answer), against its peer,
// seventy plain searches in a lower-cased copy.
const std::string kPassingCaption = "Small Firms Plan Export Growth For The Next Quarter";

void BM_IsBlockedHeadline(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(qm::IsBlockedHeadline(kPassingCaption));
}

void BM_SeventySearches(benchmark::State& state)
{
    for (auto _ : state) {
        const std::string lower = qm::asciiLowerCopy(kPassingCaption);
        bool blocked = false;
        for (const std::string_view fragment : qm::kBlockedFragments) {
            if (lower.find(fragment) != std::string::npos) {
                blocked = true;
                break;
            }
        }
        benchmark::DoNotOptimize(blocked);
    }
}

constexpr std::int64_t kSizes[] = {100 << 10, 1 << 20, 10 << 20};

BENCHMARK(BM_MemmemFloor)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseSourcePage)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IsBlockedHeadline);
BENCHMARK(BM_SeventySearches);

} // namespace

BENCHMARK_MAIN();
