// How the shell cuts its input into batches: the line commands, their look-alikes, and the
// prompts a terminal sees.

#include "tools/BatchReader.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

using md::tools::classifyShellLine;
using Kind = md::tools::ShellLine::Kind;

QString s(const char* t) {
    return QString::fromUtf8(t);
}

TEST(ShellLines, CommandsInAnyCaseWithOrWithoutColonAndTheirLookAlikesAsText) {
    EXPECT_EQ(classifyShellLine(s("  go  ")).kind, Kind::Go);
    EXPECT_EQ(classifyShellLine(s(":Go")).kind, Kind::Go);
    const auto three = classifyShellLine(s("GO 3"));
    EXPECT_EQ(three.kind, Kind::Go);
    EXPECT_EQ(three.count, 3);
    EXPECT_EQ(classifyShellLine(s("reset")).kind, Kind::Reset);
    EXPECT_EQ(classifyShellLine(s(":QUIT")).kind, Kind::Exit);
    EXPECT_EQ(classifyShellLine(s("Exit")).kind, Kind::Exit);
    for (const char* text : {"GO 0", "GO -1", "GO x", "GO 1 2", "GOTO", "EXIT 1", "exits",
                             "select 'GO'", "RESET;", "", "   "}) {
        EXPECT_EQ(classifyShellLine(s(text)).kind, Kind::Text) << text;
    }
}

TEST(ScriptBatches, GoCountsResetExitAndTheLastBatchWithoutGo) {
    md::tools::ScriptBatches script(
        s("INSERT 1\r\nGO 2\r\nDELETE\nRESET\nSELECT 'x'\n  \ngo\n\nGO\nUPDATE\nEXIT\nDROP"));
    std::vector<QString> batches;
    while (auto b = script.next())
        batches.push_back(*b);
    ASSERT_EQ(batches.size(), 3u) << "EXIT leaves without running UPDATE or DROP";
    EXPECT_EQ(batches[0], s("INSERT 1"));
    EXPECT_EQ(batches[1], s("INSERT 1")) << "GO 2 runs its batch twice";
    EXPECT_EQ(batches[2], s("SELECT 'x'\n  ")) << "RESET forgot DELETE; blank lines stay";
}

TEST(TerminalBatches, PromptsCountTheLinesOfTheBatchAndStartAgainAfterGoAndReset) {
    std::istringstream typed(
        "SELECT 1\nGO\nSELECT\n2\nreset\nSELECT 'ไทย'\n:go\nGO\nSELECT 3\nquit\nSELECT 4\n");
    QString shown;
    QTextStream prompts(&shown);
    md::tools::TerminalBatches terminal(typed, prompts, s("SELECT 0"));
    std::vector<QString> batches;
    while (auto b = terminal.next())
        batches.push_back(*b);
    ASSERT_EQ(batches.size(), 3u);
    EXPECT_EQ(batches[0], s("SELECT 0")) << "the -q query runs before the first prompt";
    EXPECT_EQ(batches[1], s("SELECT 1"));
    EXPECT_EQ(batches[2], s("SELECT 'ไทย'"));
    prompts.flush();
    EXPECT_EQ(shown, s("1> 2> 1> 2> 3> 1> 2> 1> 1> 2> "))
        << "an empty GO runs nothing and prompts 1 again";
}

TEST(TerminalBatches, TheEndOfInputLeavesWithoutRunningTheBatch) {
    std::istringstream typed("DELETE FROM Misc\n");
    QString shown;
    QTextStream prompts(&shown);
    md::tools::TerminalBatches terminal(typed, prompts);
    EXPECT_FALSE(terminal.next().has_value());
    prompts.flush();
    EXPECT_EQ(shown, s("1> 2> \n"));
}

}  // namespace
