#include "common/CommandLine.h"
#include "common/FileName.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using common::CommandLine;
using Request = CommandLine::Request;

const common::ProgramUsage kUsage{"bb-probe",
                                  "9.8",
                                  "Tut etwas mit ORDNER.\n",
                                  "Rückgabewert: 0.\n",
                                  {{"--window", "im Fenster zeigen"}}};

TEST(CommandLine, Table)
{
    const struct {
        std::vector<std::string> args;
        Request request;
        std::optional<std::string> folder;
        bool window;
        std::string problem;
    } cases[] = {
        // clang-format off
        {{}, Request::Run, std::nullopt, false, ""},
        {{"Wettbewerb 2024"}, Request::Run, "Wettbewerb 2024", false, ""},
        {{"--window", "Ordner", "--window"}, Request::Run, "Ordner", true, ""},
        {{"Ordner", "--help"}, Request::Help, std::nullopt, false, ""},
        {{"--version", "--verbose"}, Request::Version, std::nullopt, false, ""},
        {{"--verbose", "Ordner"}, Request::Usage, std::nullopt, false,
         "bb-probe: unbekannte Option „--verbose“\n"},
        {{"-x"}, Request::Usage, std::nullopt, false, "bb-probe: unbekannte Option „-x“\n"},
        {{"--", "-ordner"}, Request::Run, "-ordner", false, ""},
        {{"--", "--help"}, Request::Run, "--help", false, ""},
        {{"--", "--window"}, Request::Run, "--window", false, ""},
        {{"-"}, Request::Run, "-", false, ""},
        {{"a", "--", "b"}, Request::Usage, std::nullopt, false,
         "bb-probe: bitte nur einen Ordner angeben\n"},
        {{"Alt\xe4"}, Request::Run, "Alt\xe4", false, ""},
        // clang-format on
    };
    for (const auto& c : cases) {
        const std::string shown = ::testing::PrintToString(c.args);
        const CommandLine parsed = common::parseCommandLine(c.args, kUsage);
        EXPECT_EQ(parsed.request, c.request) << shown;
        EXPECT_EQ(parsed.folder, c.folder) << shown;
        EXPECT_EQ(parsed.has("--window"), c.window) << shown;
        EXPECT_EQ(parsed.problem, c.problem) << shown;
    }
}

// Flags with a value and programs that take several folders.
TEST(CommandLine, ValuesAndFolders)
{
    common::ProgramUsage usage = kUsage;
    usage.flags.push_back({"--ausgabe", "dorthin schreiben", "ORDNER"});
    usage.severalFolders = true;
    const struct {
        std::vector<std::string> args;
        std::optional<std::string> output;
        std::vector<std::string> folders;
        std::string problem;
    } cases[] = {
        {{"--ausgabe", "Aus", "A", "B"}, "Aus", {"A", "B"}, ""},
        {{"A", "--ausgabe=Aus 2", "--ausgabe", "-x"}, "-x", {"A"}, ""},
        {{"--ausgabe", "--", "--window"}, "--", {}, ""},
        {{"A", "--ausgabe"}, std::nullopt, {}, "bb-probe: „--ausgabe“ braucht ORDNER\n"},
        {{"--window=1"}, std::nullopt, {}, "bb-probe: unbekannte Option „--window=1“\n"},
    };
    for (const auto& c : cases) {
        const CommandLine parsed = common::parseCommandLine(c.args, usage);
        EXPECT_EQ(parsed.value("--ausgabe"), c.output) << ::testing::PrintToString(c.args);
        EXPECT_EQ(parsed.folders, c.folders) << ::testing::PrintToString(c.args);
        EXPECT_EQ(parsed.problem, c.problem) << ::testing::PrintToString(c.args);
    }
    EXPECT_NE(common::helpText(usage).find("Aufruf: bb-probe [--window] [--ausgabe ORDNER] "
                                           "[ORDNER…]\n"),
              std::string::npos);
    EXPECT_NE(common::helpText(usage).find("  --ausgabe ORDNER  dorthin schreiben\n"),
              std::string::npos);
}

TEST(CommandLine, AnswersOnTheTerminal)
{
    const std::string help = "Aufruf: bb-probe [--window] [ORDNER]\n"
                             "\n"
                             "Tut etwas mit ORDNER.\n"
                             "\n"
                             "Optionen:\n"
                             "  --help     diese Hilfe zeigen\n"
                             "  --version  die Version zeigen\n"
                             "  --window   im Fenster zeigen\n"
                             "  --         Ende der Optionen (für Ordner, deren Name mit - "
                             "beginnt)\n"
                             "\n"
                             "Rückgabewert: 0.\n";
    const struct {
        std::vector<std::string> args;
        std::optional<int> exitCode;
        std::string out, err;
    } cases[] = {
        {{"Ordner"}, std::nullopt, "", ""},
        {{"--version"}, 0, "bb-probe 9.8\n", ""},
        {{"--help"}, 0, help, ""},
        {{"-x", "Ordner"},
         2,
         "",
         "bb-probe: unbekannte Option „-x“\n"
         "Aufruf: bb-probe [--window] [ORDNER]\n"
         "Mehr mit: bb-probe --help\n"},
    };
    for (const auto& c : cases) {
        std::ostringstream out, err;
        const auto exitCode =
            common::answerOnTerminal(common::parseCommandLine(c.args, kUsage), kUsage, out, err);
        EXPECT_EQ(exitCode, c.exitCode) << c.args[0];
        EXPECT_EQ(out.str(), c.out) << c.args[0];
        EXPECT_EQ(err.str(), c.err) << c.args[0];
    }
}

// Names from a Windows PC (Windows-1252 bytes on a Linux disk) read as there.
TEST(FileName, ShownAsUtf8ElseWindows1252)
{
    const struct {
        std::string bytes;
        QString shown;
    } cases[] = {
        {"Bild ä & Co.jpg", QStringLiteral("Bild ä & Co.jpg")},
        {"G\xfcnther Gro\xdf.qel", QStringLiteral("Günther Groß.qel")},
        {"", QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(common::displayFileName(c.bytes), c.shown) << c.bytes;
}

} // namespace
