#pragma once
// The upper halves of the vector registers, left in use by code we do not
// own, made clean again before our hot loops.

namespace engine {

// Clears the upper halves of the vector registers (VZEROUPPER) where the
// processor has them; does nothing elsewhere, so the program still runs on a
// processor without AVX.
//
// Why: Qt's string hash (the first QHash or QSet of a QString) and glibc's
// AVX-512 string functions return with those halves in use. From then on
// every switch between our SSE code and libm's VEX code (sin, cos, atan) or
// glibc's short copies waits on the processor to save or merge them, about
// 48 ns each: a row of the command line took four times as long. Call it
// once per row, before the formula.
void clearUpperVectorState();

} // namespace engine
