#pragma once

#include <QIcon>

// The small pictures of the speed buttons, drawn by code.
namespace glyphs {

QIcon save();  // black arrow pointing down onto a bar, 18 x 19
QIcon load();  // black arrow pointing up from a bar, 18 x 19
QIcon loupe(); // magnifying glass with 1:1 inside, 24 x 24
QIcon info();  // blue italic letter i, 9 x 16

} // namespace glyphs
