#include "starter/Example.h"
#include "starter/Starter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using starter::RunOutcome;

struct Recorded {
    int exitCode = 0;
    std::string ranIn, warnings;
};

// The starter on folder, with a chooser that answers chosen and a runner
// that only notes the folder and answers outcome.
Recorded startWith(const std::optional<std::string>& folder, std::optional<std::string> chosen,
                   RunOutcome outcome = {})
{
    Recorded r;
    const starter::Environment env{[&] { return chosen; },
                                   [&](const std::string& ranIn) {
                                       r.ranIn = ranIn;
                                       return outcome;
                                   },
                                   [&](const std::string& text) { r.warnings += text; },
                                   "/opt/bb/bildbewertung"};
    r.exitCode = starter::start(folder, env);
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
    std::ofstream(root / "Wettbewerb Ä" / "Anna.QEL") << "1";
    const auto at = [&](std::string text) {
        for (auto pos = text.find('@'); pos != std::string::npos; pos = text.find('@'))
            text.replace(pos, 1, root.string());
        return text;
    };
    using F = RunOutcome::Failure;
    const struct {
        const char* name;
        std::optional<std::string> folder;
        std::optional<std::string> chosen;
        RunOutcome outcome;
        int exitCode;
        std::string ranIn, warning;
    } cases[] = {
        // clang-format off
        {"chooser cancelled", {}, std::nullopt, {F::None, 5}, 0, "", ""},
        {"chooser picks a folder", {}, "@/Wettbewerb Ä", {F::None, 5}, 5, "@/Wettbewerb Ä", ""},
        {"chooser picks a gone one", {}, "@/weg", {}, 1, "", "Den Ordner „@/weg“ gibt es nicht."},
        {"folder given", "@/Wettbewerb Ä", {}, {F::None, 0}, 0, "@/Wettbewerb Ä", ""},
        {"missing folder", "@/weg", {}, {}, 1, "", "Den Ordner „@/weg“ gibt es nicht."},
        {"below a file", "@/Bild.jpg/x", {}, {}, 1, "", "Den Ordner „@/Bild.jpg/x“ gibt es nicht."},
        {"a file", "@/Bild.jpg", {}, {}, 1, "", "„@/Bild.jpg“ ist kein Ordner."},
        {"a sheet opens its folder", "@/Wettbewerb Ä/Anna.QEL", {}, {F::None, 0}, 0, "@/Wettbewerb Ä/", ""},
        {"folder not entered", "@", {}, {F::Folder, 1}, 1, "@",
         "Der Ordner „@“ kann nicht geöffnet werden."},
        {"Windows: too deep", "@", {}, {F::FolderTooLong, 1}, 1, "@",
         "Der Ordner „@“ liegt zu tief: Sein Pfad ist länger, als Windows hier erlaubt (260 "
         "Zeichen). Bitte den Ordner weiter oben ablegen, zum Beispiel unter C:\\Wettbewerbe, "
         "und dort öffnen."},
        {"program not started", "@", {}, {F::Program, 1}, 1, "@",
         "Das Bewertungsprogramm „/opt/bb/bildbewertung“ kann nicht gestartet werden."},
        // clang-format on
    };
    for (const auto& c : cases) {
        const Recorded r =
            startWith(c.folder ? std::optional(at(*c.folder)) : std::nullopt,
                      c.chosen ? std::optional(at(*c.chosen)) : std::nullopt, c.outcome);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.name;
        EXPECT_EQ(r.ranIn, at(c.ranIn)) << c.name;
        EXPECT_EQ(r.warnings, at(c.warning)) << c.name;
    }
    fs::remove_all(root);
}

// The help names where the package put the templates, in the common wording.
TEST(StarterStart, HelpNamesTheTemplates)
{
    std::ostringstream out, err;
    const auto usage = starter::usage("/opt/bb/vorlage/");
    EXPECT_EQ(
        common::answerOnTerminal(common::parseCommandLine({"--help"}, usage), usage, out, err), 0);
    EXPECT_EQ(out.str().rfind("Aufruf: bildbewertung-starten [--beispiel] [ORDNER]\n", 0), 0u)
        << out.str();
    EXPECT_NE(out.str().find("\n/opt/bb/vorlage/\n"), std::string::npos) << out.str();
}

// The example is copied once; the copy with a judge's sheet in it is kept.
TEST(StarterExample, CopiedOnceIntoTheDocuments)
{
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("bb-example-" + std::to_string(::getpid()));
    fs::create_directories(root / "demo");
    std::ofstream(root / "demo" / "Qel.max") << "1";
    std::ofstream(root / "demo" / "01 Bild.jpg") << "jpg";
    const fs::path copy = root / "Dokumente" / "Bildbewertung Beispiel";

    auto example = starter::exampleFolder((root / "demo").string(), (root / "Dokumente").string());
    EXPECT_EQ(example.folder, copy.string());
    EXPECT_TRUE(fs::is_regular_file(copy / "01 Bild.jpg") && fs::is_regular_file(copy / "Qel.max"));
    std::ofstream(copy / "Anna.qel") << "3";
    fs::remove(copy / "01 Bild.jpg"); // the user's own folder now: left as it is
    example = starter::exampleFolder((root / "demo").string(), (root / "Dokumente").string());
    EXPECT_EQ(example.folder, copy.string());
    EXPECT_TRUE(fs::exists(copy / "Anna.qel") && !fs::exists(copy / "01 Bild.jpg"));

    example = starter::exampleFolder((root / "weg").string(), (root / "Neu").string());
    EXPECT_FALSE(example.folder);
    EXPECT_EQ(example.problem, "Der Beispielordner „" + (root / "weg").string() +
                                   "“ fehlt – bitte das Programm neu installieren.");
    fs::remove_all(root);
}

} // namespace
