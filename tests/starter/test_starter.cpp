#include "starter/Starter.h"

#include <gtest/gtest.h>

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
        {{"Ordner", "--help"}, Request::Help, "", ""},
        {{"-x"}, Request::Usage, "", "unbekannte Option „-x“"},
        {{"--verbose", "Ordner"}, Request::Usage, "", "„--verbose“"},
        {{"--", "-ordner"}, Request::Open, "-ordner", ""},
        {{"--", "--help"}, Request::Open, "--help", ""},
        {{"--"}, Request::Choose, "", ""},
        {{"-"}, Request::Open, "-", ""},
        {{"a", "b"}, Request::Usage, "", "nur einen Ordner"},
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

// Runs the starter on args with a chooser and a runner that only record;
// "@" in args, the chosen folder and the expected texts stands for a
// scratch folder holding the folder "Wettbewerb Ä" and the file "Bild.jpg".
TEST(StarterStart, Table)
{
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("bb-starter-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "Wettbewerb Ä");
    std::ofstream(root / "Bild.jpg") << "x";
    const auto at = [&](std::string text) {
        for (auto pos = text.find('@'); pos != std::string::npos; pos = text.find('@'))
            text.replace(pos, 1, root.string());
        return text;
    };

    const RunOutcome exits5{RunOutcome::Failure::None, 5};
    const RunOutcome exits0{RunOutcome::Failure::None, 0};
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::optional<std::string> chosen;
        RunOutcome outcome;
        int exitCode;
        std::string ranIn; // empty: the program did not run
        std::string warning, out, errPart;
    } cases[] = {
        {"chooser cancelled", {}, std::nullopt, exits5, 0, "", "", "", ""},
        {"chooser picks a folder", {}, "@/Wettbewerb Ä", exits5, 5, "@/Wettbewerb Ä", "", "", ""},
        {"chooser picks a gone folder",
         {},
         "@/weg",
         exits5,
         1,
         "",
         "Den Ordner „@/weg“ gibt es nicht.",
         "",
         ""},
        {"folder given", {"@/Wettbewerb Ä"}, std::nullopt, exits0, 0, "@/Wettbewerb Ä", "", "", ""},
        {"exit code passed on",
         {"@/Wettbewerb Ä/"},
         std::nullopt,
         exits5,
         5,
         "@/Wettbewerb Ä/",
         "",
         "",
         ""},
        {"missing folder",
         {"@/weg"},
         std::nullopt,
         exits0,
         1,
         "",
         "Den Ordner „@/weg“ gibt es nicht.",
         "",
         ""},
        {"below a file",
         {"@/Bild.jpg/x"},
         std::nullopt,
         exits0,
         1,
         "",
         "Den Ordner „@/Bild.jpg/x“ gibt es nicht.",
         "",
         ""},
        {"a file",
         {"@/Bild.jpg"},
         std::nullopt,
         exits0,
         1,
         "",
         "„@/Bild.jpg“ ist kein Ordner.",
         "",
         ""},
        {"folder not entered",
         {"@"},
         std::nullopt,
         {RunOutcome::Failure::Folder, 1},
         1,
         "@",
         "Der Ordner „@“ kann nicht geöffnet werden.",
         "",
         ""},
        {"program not started",
         {"@"},
         std::nullopt,
         {RunOutcome::Failure::Program, 1},
         1,
         "@",
         "Das Bewertungsprogramm „/opt/bb/bildbewertung“ kann nicht gestartet werden.",
         "",
         ""},
        {"version",
         {"--version"},
         std::nullopt,
         exits5,
         0,
         "",
         "",
         "bildbewertung-starten 9.8\n",
         ""},
        {"unknown option",
         {"-x", "@"},
         std::nullopt,
         exits5,
         2,
         "",
         "",
         "",
         "bildbewertung-starten: unbekannte Option „-x“\nAufruf: bildbewertung-starten [ORDNER]"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args;
        for (const auto& a : c.args)
            args.push_back(at(a));
        std::string ranIn, warnings;
        std::ostringstream out, err;
        const starter::Environment env{
            [&] { return c.chosen ? std::optional(at(*c.chosen)) : std::nullopt; },
            [&](const std::string& folder) {
                ranIn = folder;
                return c.outcome;
            },
            [&](const std::string& text) { warnings += text; },
            "/opt/bb/bildbewertung",
            "/opt/bb/vorlage/",
            "9.8",
            out,
            err};
        EXPECT_EQ(starter::start(starter::parseArguments(args), env), c.exitCode) << c.name;
        EXPECT_EQ(ranIn, at(c.ranIn)) << c.name;
        EXPECT_EQ(warnings, at(c.warning)) << c.name;
        EXPECT_EQ(out.str(), c.out) << c.name;
        EXPECT_NE(err.str().find(at(c.errPart)), std::string::npos) << c.name << ": " << err.str();
        EXPECT_EQ(err.str().empty(), c.errPart.empty()) << c.name;
    }
    fs::remove_all(root);
}

TEST(StarterStart, HelpNamesTheTemplateFolder)
{
    std::ostringstream out, err;
    const starter::Environment env{[] { return std::nullopt; },
                                   [](const std::string&) { return RunOutcome{}; },
                                   [](const std::string&) {},
                                   "/opt/bb/bildbewertung",
                                   "/opt/bb/share/vorlage/",
                                   "9.8",
                                   out,
                                   err};
    EXPECT_EQ(starter::start(starter::parseArguments({"--help"}), env), 0);
    EXPECT_EQ(out.str().rfind("Aufruf: bildbewertung-starten [ORDNER]\n", 0), 0u) << out.str();
    EXPECT_NE(out.str().find("/opt/bb/share/vorlage/"), std::string::npos);
    EXPECT_EQ(err.str(), "");
}

} // namespace
