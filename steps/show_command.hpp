// The window show command a launch entry's show field selects.
#pragma once

#include <string_view>

namespace install {

// The first row of SW_HIDE 0, SW_MAXIMIZE 3, SW_MINIMIZE 6, SW_SHOW 8 whose
// name contains the whole field; 6 when none does.
int ShowCommandFor(std::string_view field);

// The name of the row the field selects; empty when it selects none.
std::string_view ShowRowFor(std::string_view field);

}  // namespace install
