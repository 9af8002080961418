#pragma once
// The last step of a save (the flush to disk and the rename over the old
// file, or the drop of an unfinished file) runs on a thread of its own while
// the window keeps answering. A process that ends in that moment waits for
// the step first: the file is then whole at its name, or the old one is
// untouched, never half of either.

#include <functional>

namespace output {

// Runs step on its own thread and yields until it has finished. What step
// throws leaves from here.
void runLastStep(const std::function<void()>& step);

// Blocks until no last step runs. Called just before the process ends.
void finishLastSteps();

// Tests: called on the step's thread before the step itself, to hold it
// there; empty for none.
void setLastStepGate(std::function<void()> gate);
// Tests: true while someone waits in finishLastSteps().
bool lastStepsAwaited();

} // namespace output
