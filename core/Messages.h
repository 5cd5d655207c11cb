#pragma once

// The program's own texts (UTF-8), as the judge sees them.
namespace messages {

inline constexpr char kWarningCaption[] = "Warnung";
inline constexpr char kApplicationTitle[] = "Bildbewertung";
inline constexpr char kWindowCaption[] = "Quintavo Ver 2.3";

inline constexpr char kWeightingNotLoaded[] =
    "Die Gewichtungsdatei Qel.max kann nicht geladen werden!";
inline constexpr char kWeightingIncorrect[] = "Die Gewichtungsdatei Qel.max ist nicht korrekt!";

inline constexpr char kNoPictures[] = "Keine jpg-Bilder im Zorvik-Ordner!";
inline constexpr char kTooManyPictures[] =
    "Im Zorvik-Ordner liegen mehr als 65535 jpg-Bilder. So viele Bilder kann das Programm "
    "nicht bewerten; bitte die Bilder auf mehrere Ordner verteilen!";

inline constexpr char kEnterJudgeName[] = "Bitte erst den Bewerternamen eintragen!";
inline constexpr char kCannotSave[] = "Die Bewertung kann nicht gespeichert werden!";
inline constexpr char kCannotLoad[] = "Die Bewertung kann nicht geladen werden!";
inline constexpr char kJudgePrompt[] = "hier den Namen eintragen!";

inline constexpr char kUnsavedQuestion[] =
    "Die Bewertung ist noch nicht gespeichert. Programm trotzdem beenden?";

} // namespace messages

#include <cstddef>
#include <string>
#include <vector>

namespace messages {

inline std::string listIndexOutOfBounds(int index)
{
    return "Listenindex überschreitet das Maximum (" + std::to_string(index) + ")";
}

// characterUtf8: the offending character, already made readable.
inline std::string notAnInteger(const std::string& characterUtf8)
{
    return "'" + characterUtf8 + "' ist kein gültiger Integerwert";
}

// A judge name no file can have: the defined warning, then why.
inline std::string cannotSaveBecause(const std::string& reasonUtf8)
{
    return reasonUtf8.empty() ? std::string(kCannotSave)
                              : std::string(kCannotSave) + "\n" + reasonUtf8;
}
inline std::string forbiddenInFileName(const char* system, char character)
{
    return std::string(system) + " erlaubt in Dateinamen kein '" + character + "'.";
}
inline std::string controlInFileName(const char* system)
{
    return std::string(system) + " erlaubt in Dateinamen keine Steuerzeichen.";
}
inline std::string deviceAsFileName(const std::string& nameUtf8)
{
    return "Windows erlaubt „" + nameUtf8 + "“ nicht als Dateinamen (so heißt ein Gerät).";
}
inline constexpr char kFileNameTooLong[] = "Der Name ist für eine Datei zu lang.";

inline std::string overwriteQuestion(const std::string& fileNameUtf8)
{
    return "Die Bewertung '" + fileNameUtf8 + "' gibt es schon. Überschreiben?";
}

// A loaded rating file whose lines were placed at the pictures they name;
// when no line moved, it was only completed and says no more.
inline std::string placedByName(std::size_t moved, std::size_t withoutPicture, std::size_t twice,
                                std::size_t added)
{
    const auto count = [](std::size_t n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    std::string parts;
    const auto add = [&parts](const std::string& part) {
        parts += (parts.empty() ? "" : ", ") + part;
    };
    if (moved > 0)
        add(count(moved, "Zeile verschoben", "Zeilen verschoben"));
    if (withoutPicture > 0)
        add(count(withoutPicture, "Zeile ohne passendes Bild behalten",
                  "Zeilen ohne passendes Bild behalten"));
    if (twice > 0)
        add(count(twice, "doppelte Zeile behalten", "doppelte Zeilen behalten"));
    if (added > 0)
        add(count(added, "leere Zeile für ein Bild ohne Zeile angelegt",
                  "leere Zeilen für Bilder ohne Zeile angelegt"));
    return (moved > 0 ? "Die Bewertung wurde den Bildern nach Dateinamen zugeordnet: "
                      : "Die Bewertung wurde geladen: ") +
           parts + ".";
}

// Names (readable UTF-8) in quotes, the first few, then how many more.
inline std::string someNames(const std::vector<std::string>& namesUtf8)
{
    constexpr std::size_t kShown = 5;
    std::string list;
    for (std::size_t i = 0; i < namesUtf8.size() && i < kShown; ++i)
        list += (i ? ", '" : "'") + namesUtf8[i] + "'";
    if (namesUtf8.size() > kShown)
        list += " und " + std::to_string(namesUtf8.size() - kShown) + " weitere";
    return list;
}

// What the box about a placed sheet names: the pictures now without a
// score, the lines kept without a picture, those for a picture that has its
// line, those naming several alike.
inline std::string placedPictures(const std::vector<std::string>& withoutScore,
                                  const std::vector<std::string>& withoutPicture,
                                  const std::vector<std::string>& twice,
                                  const std::vector<std::string>& namingSeveral)
{
    std::string text;
    if (!withoutScore.empty())
        text += "\nNoch ohne Bewertung: " + someNames(withoutScore) + ".";
    if (!withoutPicture.empty())
        text += "\nZeilen ohne passendes Bild: " + someNames(withoutPicture) + ".";
    if (!twice.empty())
        text += "\nDoppelte Zeilen: " + someNames(twice) + ".";
    if (!namingSeveral.empty())
        text += "\nPasst zu mehreren Bildern: " + someNames(namingSeveral) + ".";
    return text;
}

inline std::string cannotOpenPicture(const std::string& nameUtf8)
{
    return "Das Bild '" + nameUtf8 + "' kann nicht geöffnet werden!";
}

} // namespace messages
