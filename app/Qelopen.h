#pragma once

#include <optional>
#include <string>

class QWidget;

// The dialog Qelopen as the judge meets it: one "*.qel" filter, starting in
// the working folder with the last choice in its name box, no check that a
// typed file exists. The working folder stays the current directory.
std::optional<std::string> runQelopen(QWidget* parent, std::string& lastChoice);
