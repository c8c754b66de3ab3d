// The command line and the batch run: one shader file, or every ".fs" file
// directly inside a directory, converted one after another.
#pragma once

#include <string>
#include <vector>

namespace driver {

// Runs the tool on the arguments (the program name first) and returns the
// exit status: 0 when the run reached its end with every shader that was not
// refused written; 1 on an argument error, a fatal converter error, or any
// shader that failed (unreadable, unwritten output, unexpected error).
int run(const std::vector<std::string>& arguments);

}  // namespace driver
