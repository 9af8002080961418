#pragma once
// The program's own pictures, drawn at start-up.

#include <QIcon>

namespace window::icons {

QIcon application(); // a globe with a great-circle arc between two points
QIcon help();        // a question mark in a circle

} // namespace window::icons
