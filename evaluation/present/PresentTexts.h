#pragma once

// The presentation's texts (UTF-8).
namespace evaluation::presenttexts {

// The command line.
inline constexpr char kPresentFlag[] = "--praesentation";
inline constexpr char kPresentFlagExplanation[] =
    "die Bilder bildschirmfüllend auf dem Projektor (dem zweiten\n"
    "             Bildschirm) zeigen: die Plätze vom letzten bis zum ersten,\n"
    "             jedes Bild erst allein, beim nächsten Schritt Platz, Titel,\n"
    "             Autor und Mittelwert. Tasten: → Leertaste Bild-ab Enter weiter,\n"
    "             ← Bild-auf zurück, Pos1/Ende, b oder . schwarz, Esc beendet";
inline constexpr char kRoundFlag[] = "--runde";
inline constexpr char kRoundFlagExplanation[] =
    "mit --praesentation: die Runde der Bewertung, alle Bilder in der\n"
    "             Reihenfolge des Ordners, jedes nur mit seiner Nummer";
inline constexpr char kRoundWithoutPresentation[] = "„--runde“ gilt nur mit „--praesentation“";

// The band under a picture.
inline constexpr char kPlace[] = "Platz ";
inline constexpr char kShared[] = " (geteilt)";
inline constexpr char kBandSeparator[] = " · ";

// Assistive technology: what the screen shows when the band says nothing.
inline constexpr char kTitle[] = "Präsentation – %1";
inline constexpr char kBlack[] = "Schwarz";
inline constexpr char kPictureOf[] = "Bild %1 von %2";
inline constexpr char kStepOf[] = "Schritt %1 von %2";

inline constexpr char kNothingPlaced[] =
    "Noch hat kein Bild einen Platz – es gibt nichts anzukündigen.";

// The ranking window's controls.
inline constexpr char kPresentation[] = "Präsentation";
inline constexpr char kAnnouncement[] = "Plätze ansagen (vom letzten zum ersten)";
inline constexpr char kRound[] = "Runde: alle Bilder mit Nummer";
inline constexpr char kPlaces[] = "Plätze";
inline constexpr char kAllPlaces[] = "alle Plätze";
inline constexpr char kPlacesPrefix[] = "bis Platz ";

} // namespace evaluation::presenttexts
