#pragma once

#include <QString>

#include <optional>
#include <string>

class QWidget;

namespace common {

inline constexpr char kChooserCaption[] = "Wettbewerbsordner wählen";

// Qt's own folder dialog "Wettbewerbsordner wählen", showing the pictures
// inside a folder before it is chosen. It starts in the folder chosen last
// time, else in the user's pictures folder, else at home, and remembers the
// choice in the user's config folder (bildbewertung/ordnerwahl.conf). The
// chosen folder's bytes, nothing on cancel.
std::optional<std::string> chooseCompetitionFolder(QWidget* parent = nullptr);

// Where the chooser starts now.
QString chooserStartFolder();

} // namespace common
