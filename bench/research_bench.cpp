// A research run in the real main window, offscreen, against a loopback server: from the press of
// "Generate Effective Headlines" to "Done!", beside its parts measured in the same process: the parse
// alone into a plain vector, the download alone, and the topic dialog alone (pressed and cancelled).
// Pages hold 1,000, 10,000 or 100,000 entries of about 100 bytes in the Business section (10,000
// make 1 MB), so that the time per entry shows whether filling the list stays linear.
#include "app/startup.h"
#include "app/suggestionmodel.h"
#include "app/tform1.h"
#include "app/userregistry.h"
#include "headlines/suggestionlist.h"
#include "net/tidhttp.h"
#include "net/tmemorystream.h"
#include "platform/registrystore.h"
#include "research/researchrun.h"
#include "research/sourcepageparser.h"
#include "research/tstartform.h"
#include "tests/support/loopbackserver.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

namespace {

// 105 bytes per entry (10,000 make 1.05 MB); every caption passes the filter.
std::string PageOf(int entries)
{
    std::string page = "<html><body>\r\n<a name=\"Business\"></a>\r\n<ul>\r\n";
    for (int i = 0; i < entries; ++i)
        page += "<li><a href=\"#business\">Practical idea number " + std::to_string(100000 + i)
                + " for owners who plan the coming year ahead</a></li>\r\n";
    return page + "<li><a href=\"#top\">Back to the topics</a></li>\r\n</ul>\r\n</body></html>\r\n";
}

const std::string& Page(int entries)
{
    static std::map<int, std::string> pages;
    auto it = pages.find(entries);
    if (it == pages.end())
        it = pages.emplace(entries, PageOf(entries)).first;
    return it->second;
}

// Answers the topic dialog each time it opens: Research on Business, or Cancel.
class DialogAnswer final : public QObject {
public:
    explicit DialogAnswer(qm::TStartForm& form) : m_form(form) { m_form.installEventFilter(this); }
    bool research = true;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            QTimer::singleShot(0, &m_form, [this] {
                const QString button = research ? QStringLiteral("BitBtn1") : QStringLiteral("BitBtn2");
                m_form.findChild<QPushButton*>(button)->click();
            });
        return false;
    }

private:
    qm::TStartForm& m_form;
};

// The program's windows over a registry store of the benchmark's own.
struct Program {
    QTemporaryDir dir;
    qm::RegistryStore store{(QDir(dir.path()).filePath(QStringLiteral("registry.reg"))).toStdString()};
    std::unique_ptr<qm::Startup> startup;
    std::unique_ptr<DialogAnswer> answer;

    explicit Program(std::string sourcePageUrl = qm::kSourcePageUrl)
    {
        qm::setUserRegistry(&store);
        startup = std::make_unique<qm::Startup>(QDir(dir.path()).filePath(QStringLiteral("quillmark.lock")),
                                                std::move(sourcePageUrl));
        answer = std::make_unique<DialogAnswer>(*startup->startForm());
        startup->mainWindow()->show();
        QApplication::processEvents();
    }
    ~Program()
    {
        answer.reset();
        startup.reset();
        qm::setUserRegistry(nullptr);
    }
    void press() { startup->mainWindow()->findChild<QPushButton*>(QStringLiteral("BitBtn2"))->click(); }
};

void PressToDone(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    auto server = qm::test::LoopbackServer::ServingPage(Page(entries));
    Program program(server->url("/headlines.html"));
    qm::TForm1& form = *program.startup->mainWindow();
    for (auto _ : state) {
        program.press();
        if (form.Suggestions()->count() != static_cast<std::size_t>(entries)
            || form.statusText() != QStringLiteral("Done!"))
            state.SkipWithError("the run did not list every entry");
    }
    state.counters["per_entry_us"] = benchmark::Counter(static_cast<double>(state.iterations()) * entries * 1e-6,
                                                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void DialogAlone(benchmark::State& state)
{
    Program program;
    program.answer->research = false;
    for (auto _ : state)
        program.press();
}

void ParseAlone(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    const std::string& page = Page(entries);
    for (auto _ : state) {
        qm::VectorSuggestions list;
        qm::ParseSourcePage(page, "Business", list);
        if (list.count() != static_cast<std::size_t>(entries))
            state.SkipWithError("the parse did not list every entry");
        benchmark::DoNotOptimize(list.items().data());
    }
}

void DownloadAlone(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    auto server = qm::test::LoopbackServer::ServingPage(Page(entries));
    const std::string url = server->url("/headlines.html");
    for (auto _ : state) {
        qm::TIdHTTP http;
        qm::TMemoryStream sink;
        http.GetDocument(url, sink);
        benchmark::DoNotOptimize(sink.Bytes().data());
    }
}

// One run over a page whose Business section holds one link text of 60 MiB (the body bound is
// 64 MiB), and the same run over the shipped page. Run each alone in its process
// (--benchmark_filter=OneRun/huge), so that peak_rss_mib is that run's own.
std::string HugeCaptionPage()
{
    constexpr std::size_t kCaptionBytes = std::size_t{60} * 1024 * 1024;
    std::string caption;
    caption.reserve(kCaptionBytes);
    while (caption.size() < kCaptionBytes)
        caption += "A headline that goes on ";
    caption.resize(kCaptionBytes);
    return "<a name=\"Business\"></a>\r\n<ul>\r\n<li><a href=\"#x\">" + caption + "</a></li>\r\n<li></ul>\r\n";
}

std::string ShippedPage()
{
    std::ifstream in(QUILLMARK_SOURCE_DIR "/site/headlines.html", std::ios::binary);
    std::ostringstream page;
    page << in.rdbuf();
    return page.str();
}

void OneRun(benchmark::State& state, bool huge)
{
    auto server = qm::test::LoopbackServer::ServingPage(huge ? HugeCaptionPage() : ShippedPage());
    Program program(server->url("/headlines.html"));
    qm::TForm1& form = *program.startup->mainWindow();
    for (auto _ : state) {
        program.press();
        QApplication::processEvents(); // the view lays out and paints what it was told of
        if (form.Suggestions()->count() == 0 || (huge && form.Suggestions()->caption(0).size() < 60'000'000))
            state.SkipWithError("the run did not list the page's captions");
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_mib"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

BENCHMARK_CAPTURE(OneRun, shipped, false)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(OneRun, huge, true)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PressToDone)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ParseAlone)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DownloadAlone)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DialogAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
