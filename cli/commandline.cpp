#include "cli/commandline.h"

#include "cli/commandlinejob.h"
#include "cli/commandlineoptions.h"

namespace cli {

int RunCommandLine(int argc, char* argv[])
{
    const auto options = readJobOptions(argc, argv);
    if (const int* status = std::get_if<int>(&options))
        return *status;
    return CommandLineJob(std::get<JobOptions>(options)).run();
}

} // namespace cli
