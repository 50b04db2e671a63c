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
}

} // namespace
} // namespace qm::cli
