#include "starter/Starter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using starter::Request;
using starter::RunOutcome;

TEST(StarterArguments, Table)
{
    const struct {
        std::vector<std::string> args;
        Request request;
        std::string folder;
        std::string problemPart;
    } cases[] = {
        {{}, Request::Choose, "", ""},
        {{"Wettbewerb 2024"}, Request::Open, "Wettbewerb 2024", ""},
        {{"--help"}, Request::Help, "", ""},
        {{"--version"}, Request::Version, "", ""},
        {{"--verbose", "Ordner"}, Request::Usage, "", "unbekannte Option „--verbose“"},
        {{"--", "-ordner"}, Request::Open, "-ordner", ""},
        {{"--", "--help"}, Request::Open, "--help", ""},
        {{"-"}, Request::Open, "-", ""},
        {{"a", "--", "b"}, Request::Usage, "", "nur einen Ordner"},
    };
    for (const auto& c : cases) {
        const std::string shown = ::testing::PrintToString(c.args);
        const starter::Arguments parsed = starter::parseArguments(c.args);
        EXPECT_EQ(parsed.request, c.request) << shown;
        EXPECT_EQ(parsed.folder, c.folder) << shown;
        if (c.problemPart.empty())
            EXPECT_EQ(parsed.problem, "") << shown;
        else
            EXPECT_NE(parsed.problem.find(c.problemPart), std::string::npos) << parsed.problem;
    }
}

struct Recorded {
    int exitCode = 0;
    std::string ranIn, warnings, out, err;
};

// The starter on args, with a chooser that answers chosen and a runner that
// only notes the folder and answers outcome.
Recorded startWith(const std::vector<std::string>& args, std::optional<std::string> chosen,
                   RunOutcome outcome = {})
{
    Recorded r;
    std::ostringstream out, err;
    const starter::Environment env{[&] { return chosen; },
                                   [&](const std::string& folder) {
                                       r.ranIn = folder;
                                       return outcome;
                                   },
                                   [&](const std::string& text) { r.warnings += text; },
                                   "/opt/bb/bildbewertung",
                                   "/opt/bb/vorlage/",
                                   "9.8",
                                   out,
                                   err};
    r.exitCode = starter::start(starter::parseArguments(args), env);
    r.out = out.str();
    r.err = err.str();
    return r;
}

// "@" stands for a scratch folder holding the folder "Wettbewerb Ä" and the
// file "Bild.jpg".
TEST(StarterStart, FoldersChooserAndRunner)
{
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("bb-starter-" + std::to_string(::getpid()));
    fs::create_directories(root / "Wettbewerb Ä");
    std::ofstream(root / "Bild.jpg") << "x";
    const auto at = [&](std::string text) {
        for (auto pos = text.find('@'); pos != std::string::npos; pos = text.find('@'))
            text.replace(pos, 1, root.string());
        return text;
    };
    using F = RunOutcome::Failure;
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::optional<std::string> chosen;
        RunOutcome outcome;
        int exitCode;
        std::string ranIn, warning;
    } cases[] = {
        // clang-format off
        {"chooser cancelled", {}, std::nullopt, {F::None, 5}, 0, "", ""},
        {"chooser picks a folder", {}, "@/Wettbewerb Ä", {F::None, 5}, 5, "@/Wettbewerb Ä", ""},
        {"chooser picks a gone one", {}, "@/weg", {}, 1, "", "Den Ordner „@/weg“ gibt es nicht."},
        {"folder given", {"@/Wettbewerb Ä"}, {}, {F::None, 0}, 0, "@/Wettbewerb Ä", ""},
        {"missing folder", {"@/weg"}, {}, {}, 1, "", "Den Ordner „@/weg“ gibt es nicht."},
        {"below a file", {"@/Bild.jpg/x"}, {}, {}, 1, "", "Den Ordner „@/Bild.jpg/x“ gibt es nicht."},
        {"a file", {"@/Bild.jpg"}, {}, {}, 1, "", "„@/Bild.jpg“ ist kein Ordner."},
        {"folder not entered", {"@"}, {}, {F::Folder, 1}, 1, "@",
         "Der Ordner „@“ kann nicht geöffnet werden."},
        {"program not started", {"@"}, {}, {F::Program, 1}, 1, "@",
         "Das Bewertungsprogramm „/opt/bb/bildbewertung“ kann nicht gestartet werden."},
        // clang-format on
    };
    for (const auto& c : cases) {
        std::vector<std::string> args;
        for (const auto& a : c.args)
            args.push_back(at(a));
        const Recorded r =
            startWith(args, c.chosen ? std::optional(at(*c.chosen)) : std::nullopt, c.outcome);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.name;
        EXPECT_EQ(r.ranIn, at(c.ranIn)) << c.name;
        EXPECT_EQ(r.warnings, at(c.warning)) << c.name;
        EXPECT_EQ(r.out + r.err, "") << c.name;
    }
    fs::remove_all(root);
}

TEST(StarterStart, AnswersOnTheTerminal)
{
    // What reaches the terminal, from its start; the other stream stays empty.
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string out, err;
    } cases[] = {
        {{"--version"}, 0, "bildbewertung-starten 9.8\n", ""},
        {{"--help"}, 0, "Aufruf: bildbewertung-starten [ORDNER]\n", ""},
        {{"-x", "Ordner"}, 2, "", "bildbewertung-starten: unbekannte Option „-x“\nAufruf:"},
    };
    for (const auto& c : cases) {
        const Recorded r = startWith(c.args, "/chooser-must-not-run");
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0];
        EXPECT_EQ(r.out.substr(0, std::max<size_t>(c.out.size(), 1)), c.out) << r.out;
        EXPECT_EQ(r.err.substr(0, std::max<size_t>(c.err.size(), 1)), c.err) << r.err;
        EXPECT_EQ(r.ranIn + r.warnings, "") << c.args[0];
    }
    EXPECT_NE(startWith({"--help"}, {}).out.find("/opt/bb/vorlage/"), std::string::npos);
}

} // namespace
