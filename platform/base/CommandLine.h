#pragma once
#include <string>
#include <vector>

namespace wb {

// A command line in the form the programs store and start: blanks separate
// the arguments, double quotes group them (and are dropped); "%1" stands for
// a file in the commands of file-manager verbs.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

} // namespace wb
