// The script checker: what it says of each kind of line, and its verdict.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "checker/report_writer.hpp"
#include "checker/script_check.hpp"
#include "tests/fake/fake_services.hpp"
#include "tests/fake/fake_system.hpp"
#include "tests/unit/source_tree.hpp"

namespace install::check {
namespace {

using fake::FakeSystem;
using testing_support::SourceFileBytes;

constexpr const char* kScript = "D:\\SETUP.INP";

using fake::WithCrLf;

// The kinds found on a line, in one family.
std::vector<std::string> KindsOn(const CheckReport& report, const std::string& family, int line) {
    std::vector<std::string> kinds;
    for (const auto& finding : report.findings) {
        if (finding.family == family && finding.line == line) {
            kinds.push_back(finding.kind);
        }
    }
    return kinds;
}

bool Has(const std::vector<std::string>& kinds, const std::string& kind) {
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

TEST(ScriptCheck, ClassifiesEachLineAndWarnsOfLikelyMistakes) {
    const std::string longLine = "%W%," + std::string(260, 'x');
    // what, script (9x only), line to look at, kind expected there, exit status
    const struct {
        const char* what;
        std::string script;
        int line;
        std::string kind;
        int status;
    } cases[] = {
        {"header", "[Win9X Dirs]\n%W%,A\n", 1, "header", 0},
        {"entry", "[Win9X Dirs]\n%W%,A\n", 2, "entry", 0},
        {"comment", "[Win9X Dirs]\n; note\n", 2, "ignored", 0},
        {"short line", "[Win9X Dirs]\nA\n", 2, "ignored", 0},
        {"gate line", "[Win9X Dirs]\n#L\n%W%,A\n", 2, "gate", 0},
        {"entry behind a closed gate", "[Win9X Dirs]\n#L\n%W%,A\n", 3, "entry-skipped", 0},
        {"too few fields", "[Win9X Dirs]\n%W%\n", 2, "entry-skipped", 0},
        {"disk prompt accepted", "[Win9X Files]\n(Disk 2,%A%\\D2.TAG)\n", 2, "disk-prompt-accepted", 0},
        {"disk prompt refused", "[Win9X Files]\n(Disk 2,%A%\\D2.TAG,#M)\n%C%\\A,%W%\\A\n", 2, "disk-prompt-refused", 0},
        {"entry behind a refused prompt", "[Win9X Files]\n(Disk 2\n%C%\\A,%W%\\A\n", 3, "entry-skipped", 0},
        {"section end", "[Win9X Dirs]\n%W%,A\n[Other]\n", 3, "section-end", 0},
        {"long line", "[Win9X Dirs]\n" + longLine + "\n", 2, "long-line", 1},
        {"path too long", "[Win9X Links]\n%W%\\A,%P%\\" + std::string(229, 'p') + ",D\n", 2, "path-too-long", 1},
        {"path just fits", "[Win9X Links]\n%W%\\A,%P%\\" + std::string(228, 'p') + ",D\n", 2, "entry", 0},
        {"inexact header", "[Old Win9X Dirs]\n%W%,A\n", 1, "inexact-header", 1},
        {"second section right after", "[Win9X Dirs]\n%W%,A\n[Win9X Dirs]\n%W%,B\n", 3, "duplicate-section", 1},
        {"second section further on", "[Win9X Dirs]\n%W%,A\n[X]\n[Win9X Dirs]\n%W%,B\n", 4, "duplicate-section", 1},
        {"unknown root key", "[Win9X Regs]\nHKCU,Software\\A,V,REG_SZ,x\n", 2, "unknown-root-key", 1},
        {"unknown type", "[Win9X Regs]\nHKEY_CURRENT_USER,Software\\A,V,reg_sz,x\n", 2, "unknown-value-type", 1},
        {"dword not decimal", "[Win9X Regs]\nHKEY_CURRENT_USER,Software\\A,V,REG_DWORD,0x10\n", 2, "dword-not-decimal", 1},
        {"show selects no row", "[Win9X Exes]\n%W%\\A.EXE,A,SW_SHOWNORMAL\n", 2, "show-no-row", 1},
        {"show by part of a name", "[Win9X Exes]\n%W%\\A.EXE,A,SHOW\n", 2, "show-partial", 1},
        {"blank before a comment", "[Win9X Dirs]\n ;%W%,A\n", 2, "blank-before-marker", 1},
        {"check path to the line end", "[Win9X Files]\n(Disk 2,%A%\\D2.TAG\n", 2, "check-path-to-line-end", 1},
        {"destination folder never created", "[Win9X Files]\n%C%\\A,%W%\\APP\\A\n", 2, "destination-folder", 1},
        {"text after a third %", "[Win9X Exes]\n%W%\\A.EXE %W%\\B.TXT,A,SW_HIDE\n", 2, "dropped-text", 1},
        {"section missing", "[Other]\n", 0, "section-missing", 0},
    };
    for (const auto& c : cases) {
        FakeSystem system;
        system.files.files[kScript] = WithCrLf(c.script);
        CheckOptions options;
        options.windowsNt = false;
        const CheckReport report = CheckScript(system.files, kScript, options);
        const auto kinds = KindsOn(report, "9x", c.line);
        EXPECT_TRUE(Has(kinds, c.kind)) << c.what << ": line " << c.line << " has " << testing::PrintToString(kinds);
        EXPECT_EQ(report.ExitStatus(), c.status) << c.what << "\n" << FormatForPeople(report, kScript);
    }
}

TEST(ScriptCheck, ADestinationFolderMadeByTheDirectoryStepIsKnown) {
    FakeSystem system;
    system.files.files[kScript] = WithCrLf(
        "[Win9X Dirs]\n%W%\\,NETCARD\n%W%\\NETCARD,MANUAL\n"
        "[Win9X Files]\n%C%\\A,%W%\\NETCARD\\MANUAL\\A\n%C%\\B,%W%\\B\n%C%\\C,%S%\\C\n");
    CheckOptions options;
    options.windowsNt = false;
    const CheckReport report = CheckScript(system.files, kScript, options);
    EXPECT_EQ(report.ExitStatus(), 0) << FormatForPeople(report, kScript);
}

TEST(ScriptCheck, LooksForTheSourcesOnTheDisk) {
    // what, files on the disk, line 2's verdict kind ("" when none), exit status
    const struct {
        const char* what;
        std::map<std::string, std::string> disk;
        std::string kind;
        int status;
    } cases[] = {
        {"all there", {{"E:\\DISK\\A.TXT", "a"}, {"E:\\DISK\\B.DL_", fake::FakeLz::Compressed("b", 1)}}, "", 0},
        {"a source missing", {{"E:\\DISK\\B.DL_", fake::FakeLz::Compressed("b", 1)}}, "missing-source", 2},
        {"not really compressed", {{"E:\\DISK\\A.TXT", "a"}, {"E:\\DISK\\B.DL_", "plain"}}, "bad-compressed-file", 2},
    };
    for (const auto& c : cases) {
        FakeSystem system;
        system.files.files[kScript] = WithCrLf("[Win9X Files]\n%C%\\A.TXT,%W%\\A.TXT\n%R%\\B.DL_,%W%\\B.DLL\n%W%\\X,%W%\\Y\n");
        for (const auto& [path, bytes] : c.disk) {
            system.files.files[path] = bytes;
        }
        CheckOptions options;
        options.windowsNt = false;
        options.diskFolder = "E:\\DISK";
        const CheckReport report = CheckScript(system.files, kScript, options);
        std::vector<std::string> errors;
        for (const auto& finding : report.findings) {
            if (finding.severity == Severity::Error) {
                errors.push_back(finding.kind);
            }
        }
        EXPECT_EQ(errors, c.kind.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.kind}) << c.what;
        EXPECT_EQ(report.ExitStatus(), c.status) << c.what;
    }
}

TEST(ScriptCheck, ReadsBothFamiliesSeparately) {
    FakeSystem system;
    system.files.files[kScript] = WithCrLf("[WinNT Dirs]\n%W%,A\n[Win9X Dirs]\n%W%,B\n");
    const CheckReport report = CheckScript(system.files, kScript, CheckOptions{});
    EXPECT_TRUE(Has(KindsOn(report, "9x", 4), "entry"));
    EXPECT_TRUE(KindsOn(report, "9x", 2).empty());
    EXPECT_TRUE(Has(KindsOn(report, "nt", 2), "entry"));
    EXPECT_FALSE(Has(KindsOn(report, "nt", 4), "entry"));
}

TEST(ScriptCheck, BadInputGivesAClearVerdict) {
    // what, script bytes (nullopt: a directory), exit status
    const struct {
        const char* what;
        std::optional<std::string> bytes;
        int status;
    } cases[] = {
        {"a directory", std::nullopt, 2},
        {"empty", std::string(), 0},
        {"binary", std::string("\x00\x01\xFF[Win9X Dirs]\x1A\r\n%W%,A\r\n", 23), 0},
        {"NUL inside a header", std::string("[Win9X\0 Dirs]\r\n%W%,A\r\n", 22), 0},
    };
    for (const auto& c : cases) {
        FakeSystem system;
        if (c.bytes) {
            system.files.files[kScript] = *c.bytes;
        } else {
            system.files.directories.insert(kScript);
        }
        const CheckReport report = CheckScript(system.files, kScript, CheckOptions{});
        EXPECT_EQ(report.ExitStatus(), c.status) << c.what;
        EXPECT_FALSE(FormatForPeople(report, kScript).empty());
    }
}

TEST(ScriptCheck, JsonLinesEscapeWhatTheyCarry) {
    FakeSystem system;
    system.files.files[kScript] = WithCrLf("[Win9X Regs]\nHKEY_CURRENT_USER,Software\\\"Q\",V,REG_DWORD,\x01x\n");
    CheckOptions options;
    options.windowsNt = false;
    const std::string json = FormatAsJsonLines(CheckScript(system.files, kScript, options));
    EXPECT_NE(json.find("Software\\\\\\\"Q\\\""), std::string::npos) << json;
    EXPECT_NE(json.find("\\u0001x"), std::string::npos) << json;
    for (std::size_t start = 0; start < json.size();) {
        const std::size_t end = json.find('\n', start);
        const std::string line = json.substr(start, end - start);
        EXPECT_EQ(line.front(), '{');
        EXPECT_EQ(line.back(), '}');
        start = end + 1;
    }
}

TEST(ScriptCheck, ReportsOnTheSampleDiskAsItShould) {
    FakeSystem system;
    system.files.files["SETUP.INP"] = SourceFileBytes("sample/disk/SETUP.INP");
    ASSERT_FALSE(system.files.files["SETUP.INP"].empty());
    const CheckReport report = CheckScript(system.files, "SETUP.INP", CheckOptions{});
    EXPECT_EQ(FormatForPeople(report, "SETUP.INP"), SourceFileBytes("tests/unit/data/sample_report.txt"));
    EXPECT_EQ(report.ExitStatus(), 1);
}

}  // namespace
}  // namespace install::check
