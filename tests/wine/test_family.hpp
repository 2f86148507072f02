// Which Windows family the Wine prefix running this test program imitates,
// as its CTest registration says on the command line (--family=nt|9x).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace install::wine_test {

enum class Family { Nt, Nine };

// The family named by a "--family=..." argument; nullopt for anything else.
std::optional<Family> ParseFamilyArgument(const std::string& argument);

void SetFamily(Family family);
Family CurrentFamily();
const char* FamilyName(Family family);

// The platform identifier the family's version query reports: 2 for the NT
// family, 1 for the Windows 95/98 family. Known from the prefix's set-up,
// not from asking the system.
std::uint32_t ExpectedPlatformId();

}  // namespace install::wine_test
