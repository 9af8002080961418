#pragma once
// The start-up draw that, in about one start of a hundred, opens the
// program's home page.

#include <QString>

namespace chrome {

// The home page that comes with the program, in the program's folder.
QString HomePagePath();

// The whole number from 1 to 100 that a uniform draw from [0, 1) gives.
int DrawnNumber(double uniform);

// Seeds the generator from the seconds since midnight, draws a number from 1
// to 100 and, on 7, opens the home page without waiting for it. Fails with
// "File not found" when the desktop cannot open it.
void OpenHomePageAtRandom();

} // namespace chrome
