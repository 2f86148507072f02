// Entry point of the test programs run under Wine. The same program also
// serves as the window host its tests start in a second process
// (--window-host), so that the windows they close belong to another process
// as the real tools' windows do.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "tests/wine/test_family.hpp"
#include "tests/wine/window_host.hpp"

int main(int argc, char** argv) {
    using namespace install::wine_test;
    if (argc >= 2 && std::string(argv[1]) == kWindowHostArgument) {
        return RunWindowHost(argc - 2, argv + 2);
    }

    testing::InitGoogleTest(&argc, argv);
    std::optional<Family> family;
    for (int i = 1; i < argc; ++i) {
        if (auto parsed = ParseFamilyArgument(argv[i])) {
            family = parsed;
        } else {
            std::fprintf(stderr, "unknown argument: %s\n", argv[i]);
            return 2;
        }
    }
    if (!family) {
        std::fputs("usage: <test program> --family=nt|9x [GoogleTest flags]\n"
                   "  the family is the one the Wine prefix was set up as\n",
                   stderr);
        return 2;
    }
    SetFamily(*family);
    std::printf("Windows family of this prefix: %s\n", FamilyName(*family));
    return RUN_ALL_TESTS();
}
