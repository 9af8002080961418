#pragma once
// A process started with its standard input closed ("meridane - <&-") must
// not read whatever opens next as descriptor 0: Qt opens descriptors of its
// own as soon as it starts. noteStandardInput, first thing in main, tells
// whether descriptor 0 is open and, when it is not, holds it with an empty
// input, so that no other file can take it.

namespace cli {

void noteStandardInput();

// Whether the standard input was closed when the process started.
bool standardInputClosed();

} // namespace cli
