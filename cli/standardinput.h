#pragma once
// A process started with its standard input closed ("meridane - <&-") must
// not read whatever opens next as descriptor 0: Qt opens descriptors of its
// own as soon as it starts. noteStandardInput, first thing in main, tells
// whether descriptors 0 and 1 are open and, when one is not, holds it with
// an empty input or a discarding output, so that no other file can take it.

namespace cli {

void noteStandardInput();

// Whether the standard input was closed when the process started.
bool standardInputClosed();

// The same for the standard output, which then holds an output that
// discards: results for "-" are refused rather than written into whatever
// took its place.
bool standardOutputClosed();

} // namespace cli
