#pragma once
// The job of the window without a window, for scripts:
//   meridane --unit kilometers --output results.txt points1.txt points2.txt
//   meridane --format csv --unit nmi --model wgs84 - < track.txt
// reads the list files as "Load Coordinates From File" does, pairs every
// point with the next as the distance run does, and writes the file that
// "Save Results As Text File" writes, or csv or tsv rows.

namespace cli {

// Runs the job named by the program's arguments (as the process got them:
// file names are bytes) and returns the exit status: 0 when no failure was
// reported, 1 when one was, 2 when the command line itself is wrong. --help
// and --version print and end the process. A QCoreApplication must exist.
int RunCommandLine(int argc, char* argv[]);

} // namespace cli
