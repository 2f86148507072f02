// Driving the utility to each page and holding there for a picture.
#pragma once

#include <string>

namespace install::e2e {

// Runs the tour on the disk of the current settings, trading marker files
// in folder (a Windows path). Returns the process's exit code.
int RunPageTour(const std::string& folder);

}  // namespace install::e2e
