// The script checker on the Win32 files of the seam: both families checked
// side by side, each opening and reading the script on a thread of its own,
// must write the same report as the findings taken in order, and the sample
// disk must pass its check.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "checker/write_report.hpp"
#include "platform/win32/win32_files.hpp"
#include "tests/wine/scratch_directory.hpp"

namespace install::check {
namespace {

using wine_test::ReadBytes;
using wine_test::ScratchDirectory;

// The sample disk as the build lays it out (its help file compressed).
const std::string kSampleDisk = CHECKER_SAMPLE_DISK;

TEST(CheckerOnWin32, WritesTheReportOfTheFindingsInOrder) {
    ScratchDirectory scratch("install-checker-test");
    const std::string reportPath = scratch.Join("report.txt");
    // what, script, disk folder, the verdict
    const struct {
        const char* what;
        std::string script;
        std::optional<std::string> disk;
        int status;
    } cases[] = {
        {"the sample disk", kSampleDisk + "\\SETUP.INP", kSampleDisk, 1},  // the launch line's dropped text
        {"the sample script, no disk", kSampleDisk + "\\SETUP.INP", std::nullopt, 1},
        {"the sample script against an empty folder", kSampleDisk + "\\SETUP.INP", scratch.Path(), 2},
        {"a script that is not there", scratch.Join("MISSING.INP"), std::nullopt, 2},
    };
    for (const auto& c : cases) {
        win32::Win32Files files;
        CheckOptions options;
        options.diskFolder = c.disk;
        const CheckReport report = CheckScript(files, c.script, options);
        EXPECT_EQ(report.ExitStatus(), c.status) << c.what << "\n" << FormatForPeople(report, c.script);
        // style, the report of the findings in order
        const struct {
            ReportWriter::Style style;
            std::string expected;
        } styles[] = {
            {ReportWriter::Style::People, FormatForPeople(report, c.script)},
            {ReportWriter::Style::JsonLines, FormatAsJsonLines(report)},
        };
        for (const auto& s : styles) {
            std::FILE* stream = std::fopen(reportPath.c_str(), "wb");
            ASSERT_NE(stream, nullptr) << reportPath;
            const ReportOutcome outcome = WriteCheckReport(files, c.script, options, s.style, stream);
            std::fclose(stream);
            EXPECT_TRUE(outcome.written) << c.what;
            EXPECT_EQ(outcome.exitStatus, c.status) << c.what;
            EXPECT_EQ(ReadBytes(reportPath).value_or("<unreadable>"), s.expected) << c.what;
        }
    }
}

}  // namespace
}  // namespace install::check
