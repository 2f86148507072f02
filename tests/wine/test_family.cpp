// The Windows family of the running test program.
#include "tests/wine/test_family.hpp"

#include <cstdlib>
#include <cstdio>

namespace install::wine_test {

namespace {

std::optional<Family> g_family;

}  // namespace

std::optional<Family> ParseFamilyArgument(const std::string& argument) {
    if (argument == "--family=nt") {
        return Family::Nt;
    }
    if (argument == "--family=9x") {
        return Family::Nine;
    }
    return std::nullopt;
}

void SetFamily(Family family) { g_family = family; }

Family CurrentFamily() {
    if (!g_family) {
        // main refuses to run tests without one; reaching this is a bug here.
        std::fputs("test program: the Windows family was never set\n", stderr);
        std::abort();
    }
    return *g_family;
}

const char* FamilyName(Family family) { return family == Family::Nt ? "nt" : "9x"; }

std::uint32_t ExpectedPlatformId() { return CurrentFamily() == Family::Nt ? 2u : 1u; }

}  // namespace install::wine_test
