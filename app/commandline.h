#pragma once
// The job of the window without a window, for scripts:
//   meridane --unit kilometers --output results.txt points1.txt points2.txt
// reads the list files as "Load Coordinates From File" does, pairs every
// point with the next as the distance run does, and writes the file that
// "Save Results As Text File" writes.

class QCoreApplication;

namespace app {

// Runs the job named by the application's arguments and returns the exit
// status: 0 when no message was written, 1 when one was, 2 when the command
// line itself is wrong. --help and --version print and end the process.
int RunCommandLine(QCoreApplication& application);

} // namespace app
