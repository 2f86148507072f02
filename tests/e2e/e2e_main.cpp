// Entry of the end-to-end driver: the cases under GoogleTest, or with
// --tour the page tour for the screenshots.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "tests/e2e/install_state.hpp"
#include "tests/e2e/page_tour.hpp"

namespace {

constexpr const char* kUsage =
    "usage: install_e2e_wine_test --family=nt|9x --sample-disk=<dir> --sample-source=<dir>\n"
    "                             [--disk=D:\\] [GoogleTest flags]\n"
    "       install_e2e_wine_test --tour=<dir> [--disk=D:\\]\n"
    "  --disk          the drive root the installation disk is mapped to; the cases\n"
    "                  lay out their own disks there, the tour runs what is there\n"
    "  --sample-disk   the sample disk the build lays out (its files are copied)\n"
    "  --sample-source the sample disk's sources (the help file uncompressed)\n"
    "  --tour          drive to each page and hold there for a picture, trading\n"
    "                  marker files in <dir>\n";

// Paths may come with forward slashes from the build; Windows paths here.
std::string WindowsPath(std::string path) {
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

bool TakeValue(const char* argument, const char* name, std::string& value) {
    const std::size_t length = std::strlen(name);
    if (std::strncmp(argument, name, length) != 0) {
        return false;
    }
    value = WindowsPath(argument + length);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace install;
    testing::InitGoogleTest(&argc, argv);
    e2e::Settings settings;
    std::optional<wine_test::Family> family;
    std::string tour;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (auto parsed = wine_test::ParseFamilyArgument(argument)) {
            family = parsed;
        } else if (TakeValue(argument, "--disk=", settings.disk) ||
                   TakeValue(argument, "--sample-disk=", settings.sampleDisk) ||
                   TakeValue(argument, "--sample-source=", settings.sampleSource) ||
                   TakeValue(argument, "--tour=", tour)) {
        } else {
            std::fprintf(stderr, "unknown argument: %s\n%s", argument, kUsage);
            return 2;
        }
    }
    if (settings.disk.empty() || settings.disk.back() != '\\') {
        settings.disk += '\\';
    }
    if (!tour.empty()) {
        e2e::SetSettings(settings);
        return e2e::RunPageTour(tour);
    }
    if (!family || settings.sampleDisk.empty() || settings.sampleSource.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    settings.family = *family;
    e2e::SetSettings(settings);
    std::printf("Windows family of this prefix: %s; disk %s\n", wine_test::FamilyName(*family),
                settings.disk.c_str());
    return RUN_ALL_TESTS();
}
