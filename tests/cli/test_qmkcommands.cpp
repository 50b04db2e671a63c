#include "tests/cli/clirun.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace qm::cli {
namespace {

using test::readFileBytes;
using test::TempDir;
using test::writeFileBytes;

using Outcome = test::CliRun;

Outcome run(test::CliCommand command, const std::string& file, const std::string& input = {})
{
    return test::RunCli(command, {file}, input);
}

TEST(QmkCommands, ExportPrintsTheItemsByTheOpenRules)
{
    TempDir dir;
    writeFileBytes(dir.file("f.qmk"), "[item1]\nt=Second\ncheck=0\n[item0]\nt=\"First\"\n[item3]\nt=never read\n");
    const Outcome r = run(runQmkExport, dir.file("f.qmk").string());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "1\tFirst\n0\tSecond\n");
}

TEST(QmkCommands, ImportWritesWhatExportReadsBack)
{
    TempDir dir;
    const std::string file = dir.file("f.qmk").string();
    const Outcome import = run(runQmkImport, file, "1\t Padded \r\n0\t\"Quoted\"\n\n1\t\n0\ttab\tinside\n");
    EXPECT_EQ(import.status, 0) << import.err;
    EXPECT_EQ(run(runQmkExport, file).out, "1\t Padded \n0\t\"Quoted\"\n1\t\n0\ttab\tinside\n");
}

TEST(QmkCommands, FailuresWriteNothingAndExitNonZero)
{
    TempDir dir;
    const std::string file = dir.file("f.qmk").string();
    const Outcome bad = run(runQmkImport, file, "1\tgood\n2\tbad\n");
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("line 2"), std::string::npos) << bad.err;
    EXPECT_FALSE(std::filesystem::exists(file));

    const Outcome missing = run(runQmkExport, dir.file("missing.qmk").string());
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("missing.qmk"), std::string::npos) << missing.err;

    writeFileBytes(dir.file("plain"), "x");
    EXPECT_EQ(run(runQmkImport, (dir.file("plain") / "f.qmk").string(), "1\ta\n").status, 1);
    EXPECT_EQ(readFileBytes(dir.file("plain")), "x");

    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_EQ(runQmkExport({}, in, out, err), 2);

    const Outcome format = test::RunCli(runQmkExport, {dir.file("plain").string(), "--format", "xml"});
    EXPECT_EQ(format.status, 2);
    EXPECT_EQ(format.err, "qmk-export: --format takes text, md, csv or json\n");
}

TEST(QmkCommands, ExportWritesEachFormat)
{
    TempDir dir;
    const std::string file = dir.file("f.qmk").string();
    writeFileBytes(file, "[item0]\nt=Ticked headline\ncheck=1\n[item1]\nt=Na\xc3\xafve start\ncheck=0\n"
                         "[item2]\nt=\ncheck=0\n[item3]\nt=\"Quoted\" start\ncheck=1\n[item4]\nt=Tips, tricks\n"
                         "check=0\n[item5]\nt=Caf\xe9 \x93"
                         "best\x94\ncheck=1\n[item6]\nt=TICKED headline\ncheck=0\n");
    struct Case {
        std::vector<std::string_view> options;
        std::string out;
    };
    for (const Case& c : std::vector<Case>{
             {{},
              "1\tTicked headline\n0\tNa\xc3\xafve start\n0\t\n1\t\"Quoted\" start\n0\tTips, tricks\n"
              "1\tCaf\xe9 \x93"
              "best\x94\n0\tTICKED headline\n"},
             {{"--format", "md", "--dedupe"},
              "- [x] Ticked headline\n- [ ] Na\xc3\xafve start\n- [ ] \n- [x] \"Quoted\" start\n- [ ] Tips, tricks\n"
              "- [x] Caf\xe9 \x93"
              "best\x94\n"},
             {{"--lengths", "--format", "csv"},
              "checked,caption,characters,words\r\n1,Ticked headline,15,2\r\n0,Na\xc3\xafve start,11,2\r\n0,,0,0\r\n"
              "1,\"\"\"Quoted\"\" start\",14,2\r\n0,\"Tips, tricks\",12,2\r\n1,Caf\xe9 \x93"
              "best\x94,11,2\r\n"
              "0,TICKED headline,15,2\r\n"},
             {{"--format", "json", "--ticked"},
              "[\n  {\n    \"caption\": \"Ticked headline\",\n    \"checked\": true\n  },\n"
              "  {\n    \"caption\": \"\\\"Quoted\\\" start\",\n    \"checked\": true\n  },\n"
              "  {\n    \"caption\": \"Caf\u00e9 \u201c"
              "best\u201d\",\n    \"checked\": true\n  }\n]\n"},
             {{"--ticked", "--lengths", "--format", "md"},
              "- [x] Ticked headline (15 characters, 2 words)\n- [x] \"Quoted\" start (14 characters, 2 words)\n"
              "- [x] Caf\xe9 \x93"
              "best\x94 (11 characters, 2 words)\n"},
         }) {
        std::vector<std::string_view> args{file};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const Outcome r = test::RunCli(runQmkExport, args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.out) << testing::PrintToString(c.options);
    }
}

TEST(QmkCommands, MergeListsEachCaptionOnceTickedWhenAnyCopyIs)
{
    TempDir dir;
    const std::string a = dir.file("a.qmk").string(), b = dir.file("b.qmk").string();
    const std::string out = dir.file("out.qmk").string();
    writeFileBytes(a, "[item0]\nt=One\ncheck=0\n[item1]\nt=Two\ncheck=1\n");
    writeFileBytes(b, "[item0]\nt=ONE\ncheck=1\n[item1]\nt=Three\ncheck=0\n[item2]\nt=two\ncheck=0\n");
    const Outcome merge = test::RunCli(runQmkMerge, {out, a, b});
    EXPECT_EQ(merge.status, 0) << merge.err;
    EXPECT_EQ(run(runQmkExport, out).out, "1\tOne\n1\tTwo\n0\tThree\n");
}

TEST(QmkCommands, MergeWritesNothingWhenAnInputIsTheOutputOrUnreadable)
{
    TempDir dir;
    const std::string a = dir.file("a.qmk").string(), b = dir.file("b.qmk").string();
    const std::string out = dir.file("out.qmk").string(), link = dir.file("link.qmk").string();
    const std::string missing = dir.file("missing.qmk").string(), folder = dir.path().string();
    const std::string aBytes = "[item0]\nt=One\ncheck=1\n";
    writeFileBytes(a, aBytes);
    writeFileBytes(b, "[item0]\nt=Two\ncheck=0\n");
    writeFileBytes(out, "earlier");
    std::filesystem::create_hard_link(a, link);
    struct Case {
        std::vector<std::string_view> args;
        std::string named;
    };
    for (const Case& c : std::vector<Case>{{{a, b, a}, "a.qmk"},
                                           {{link, b, a}, "link.qmk"},
                                           {{out, a, missing, b}, "missing.qmk"},
                                           {{out, a, folder}, folder}}) {
        const Outcome r = test::RunCli(runQmkMerge, c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(c.named), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
    EXPECT_EQ(readFileBytes(a), aBytes);
    EXPECT_EQ(readFileBytes(out), "earlier");
    EXPECT_EQ(test::RunCli(runQmkMerge, {out}).status, 2);
}

} // namespace
} // namespace qm::cli
