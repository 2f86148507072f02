// Files of the source tree that the unit tests read as they are: the sample
// disk's script and the reports expected of it.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

namespace install::testing_support {

// The bytes of a file, by its path from the top of the source tree; empty
// when it cannot be read.
inline std::string SourceFileBytes(const std::string& relativePath) {
    std::ifstream in(std::string(SOURCE_DIR) + "/" + relativePath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace install::testing_support
