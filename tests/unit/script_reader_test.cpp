// Reading the install script: sections, line kinds, the option gate.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/install_context.hpp"
#include "engine/script_reader.hpp"
#include "tests/fake/fake_system.hpp"

namespace install {
namespace {

using fake::FakeSystem;

constexpr const char* kScript = "C:\\WINDOWS\\SETUP.INP";

// Puts the script on disk with CR LF line ends, as an editor saves it.
void StageScript(FakeSystem& system, const std::string& text) {
    system.files.files[kScript] = fake::WithCrLf(text);
}

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

// The lines a step is handed from its section, line ends cut off; disk
// prompts are marked with a leading "P:".
std::vector<std::string> Walk(FakeSystem& system, const char* section,
                              std::uint32_t mask = OPTION_MANUAL, bool diskPrompts = false,
                              bool* found = nullptr) {
    ScriptReader reader(system.files, mask, diskPrompts);
    EXPECT_TRUE(reader.Open(kScript));
    std::vector<std::string> lines;
    const bool sectionFound = reader.FindSection(section);
    if (found) {
        *found = sectionFound;
    }
    if (sectionFound) {
        while (auto line = reader.NextLine()) {
            const bool prompt = line->kind == ScriptLine::Kind::DiskPrompt;
            lines.push_back((prompt ? "P:" : "") + Trimmed(line->text));
        }
    }
    return lines;
}

constexpr const char* kWorkedExample =
    "; network card manual, Windows 95/98\n"
    "[Win9X Dirs]\n"
    "%W%\\,NETCARD\n"
    "%W%\\NETCARD,MANUAL\n"
    "[Win9X Files]\n"
    "%C%\\INDEX.HTM,%W%\\NETCARD\\MANUAL\\INDEX.HTM\n"
    "#L\n"
    "%C%\\LANDIAG.EXE,%W%\\NETCARD\\LANDIAG.EXE\n"
    "#O\n"
    "%C%\\MANUAL.HLP,%W%\\NETCARD\\MANUAL\\MANUAL.HLP\n"
    "[Win9X Folders]\n"
    "%P%,Network Card\n"
    "[Win9X Links]\n"
    "%W%\\NETCARD\\MANUAL\\INDEX.HTM,%P%\\Network Card\\On-line Manual.lnk,On-line Manual\n"
    "[Win9X Regs]\n"
    "HKEY_LOCAL_MACHINE,SOFTWARE\\NetCard\\Manual,Path,REG_SZ,C:\\WINDOWS\\NETCARD\\MANUAL\n"
    "[Win9X Exes]\n"
    "%W%\\NOTEPAD.EXE,Notepad,SW_SHOW\n";

TEST(SectionName, ChoosesTheFamilyByPlatform) {
    // step, platform id, section
    const struct {
        StepId step;
        std::uint32_t platform;
        std::string name;
    } cases[] = {
        {StepId::Directories, 1, "Win9X Dirs"},     {StepId::Directories, 2, "WinNT Dirs"},
        {StepId::Files, 1, "Win9X Files"},          {StepId::Files, 2, "WinNT Files"},
        {StepId::Folders, 1, "Win9X Folders"},      {StepId::Folders, 2, "WinNT Folders"},
        {StepId::Links, 1, "Win9X Links"},          {StepId::Links, 2, "WinNT Links"},
        {StepId::Registry, 1, "Win9X Regs"},        {StepId::Registry, 2, "WinNT Regs"},
        {StepId::Programs, 1, "Win9X Exes"},        {StepId::Programs, 2, "WinNT Exes"},
        {StepId::Directories, 0, "Win9X Dirs"},     {StepId::Programs, 3, "Win9X Exes"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SectionName(c.step, c.platform), c.name) << "platform " << c.platform;
    }
}

TEST(ScriptReader, WalksEachSectionOfTheWorkedExample) {
    FakeSystem system;
    StageScript(system, kWorkedExample);
    // section, lines handed to the step under option mask 4
    const struct {
        const char* section;
        std::vector<std::string> lines;
    } cases[] = {
        {"Win9X Dirs", {"%W%\\,NETCARD", "%W%\\NETCARD,MANUAL"}},
        {"Win9X Files",
         {"%C%\\INDEX.HTM,%W%\\NETCARD\\MANUAL\\INDEX.HTM",
          "%C%\\MANUAL.HLP,%W%\\NETCARD\\MANUAL\\MANUAL.HLP"}},
        {"Win9X Folders", {"%P%,Network Card"}},
        {"Win9X Links",
         {"%W%\\NETCARD\\MANUAL\\INDEX.HTM,%P%\\Network Card\\On-line Manual.lnk,On-line Manual"}},
        {"Win9X Regs",
         {"HKEY_LOCAL_MACHINE,SOFTWARE\\NetCard\\Manual,Path,REG_SZ,C:\\WINDOWS\\NETCARD\\MANUAL"}},
        {"Win9X Exes", {"%W%\\NOTEPAD.EXE,Notepad,SW_SHOW"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Walk(system, c.section), c.lines) << c.section;
    }
    for (const char* ntSection : {"WinNT Dirs", "WinNT Files", "WinNT Exes"}) {
        bool found = true;
        EXPECT_TRUE(Walk(system, ntSection, OPTION_MANUAL, false, &found).empty());
        EXPECT_FALSE(found) << ntSection;
    }
}

TEST(ScriptReader, FindsTheHeaderByCaseSensitiveSubstring) {
    // header line, found for "Win9X Dirs"
    const struct {
        std::string header;
        bool found;
    } cases[] = {
        {"[Win9X Dirs]", true},
        {"[Old Win9X Dirs]", true},
        {"[Win9X Dirs 2", true},
        {"[Setup] Win9X Dirs", true},
        {"[win9x dirs]", false},
        {"[WIN9X DIRS]", false},
        {" [Win9X Dirs]", false},   // a blank first makes it an entry line
        {"Win9X Dirs", false},      // no bracket
        {";[Win9X Dirs]", false},
        {"[Win9X Dir]", false},
        {"[WinNT Dirs]", false},
    };
    for (const auto& c : cases) {
        FakeSystem system;
        StageScript(system, c.header + "\nA,B\n");
        bool found = false;
        const auto lines = Walk(system, "Win9X Dirs", OPTION_MANUAL, false, &found);
        EXPECT_EQ(found, c.found) << c.header;
        EXPECT_EQ(lines, c.found ? std::vector<std::string>{"A,B"} : std::vector<std::string>{})
            << c.header;
    }
}

TEST(ScriptReader, SectionBoundariesAndLineKinds) {
    // script, lines handed to the directory step (Win9X Dirs, mask 4)
    const struct {
        const char* what;
        std::string script;
        std::vector<std::string> lines;
    } cases[] = {
        {"two sections of one name: only the first is read",
         "[Win9X Dirs]\nA,1\n[Other]\nX,Y\n[Win9X Dirs]\nB,2\n", {"A,1"}},
        {"any header ends the section", "[Win9X Dirs]\nA,1\n[Win9X Dirs]\nB,2\n", {"A,1"}},
        {"header on the last line", "X,Y\n[Win9X Dirs]", {}},
        {"comments are skipped inside", "[Win9X Dirs]\n; note\nA,1\n;\nB,2\n", {"A,1", "B,2"}},
        {"short lines are skipped", "[Win9X Dirs]\n\nA\nA,1\n", {"A,1"}},
        {"a line of two characters and LF counts", "[Win9X Dirs]\nA,\n", {"A,"}},
        {"last line of two characters without LF is ignored", "[Win9X Dirs]\nA,1\nA,", {"A,1"}},
        {"blank before ; makes an entry", "[Win9X Dirs]\n ;A,B\n", {" ;A,B"}},
        {"blank before [ makes an entry", "[Win9X Dirs]\n [X],B\nC,D\n", {" [X],B", "C,D"}},
        {"blank before # makes an entry", "[Win9X Dirs]\n #L,B\nA,1\n", {" #L,B", "A,1"}},
        {"disk prompt lines are entries here", "[Win9X Dirs]\n(Insert,%A%\\X)\n",
         {"(Insert,%A%\\X)"}},
        {"gate lines before the section do not count", "#L\n[Win9X Dirs]\nA,1\n", {"A,1"}},
        {"a short header line is ignored", "[W\n[Win9X Dirs]\nA,1\n", {"A,1"}},
    };
    for (const auto& c : cases) {
        FakeSystem system;
        StageScript(system, c.script);
        EXPECT_EQ(Walk(system, "Win9X Dirs"), c.lines) << c.what;
    }
}

TEST(ScriptReader, GateLinesOpenAndCloseTheGate) {
    // gate line, option mask, is the entry after it read (the gate starts open)
    const struct {
        std::string gate;
        std::uint32_t mask;
        bool read;
    } cases[] = {
        {"#L", OPTION_MANUAL, false},
        {"#L", OPTION_LAN, true},
        {"#M", OPTION_MANUAL, false},
        {"#M", OPTION_MODEM, true},
        {"#O", OPTION_MANUAL, true},
        {"#O", OPTION_LAN | OPTION_MODEM, false},
        {"#O LAN and more", 0, false},   // characters after the letter are not looked at
        {"#X", 0, true},                 // no letter: the gate stays open
        {"# L", 0, true},                // a note
        {"#l", 0, true},                 // letters are case-sensitive
    };
    for (const auto& c : cases) {
        FakeSystem system;
        StageScript(system, "[Win9X Dirs]\n" + c.gate + "\nA,1\n");
        const auto lines = Walk(system, "Win9X Dirs", c.mask);
        EXPECT_EQ(lines.size(), c.read ? 1u : 0u) << c.gate << " mask " << c.mask;
    }
}

TEST(ScriptReader, GateStatesFollowEachOther) {
    FakeSystem system;
    StageScript(system,
                "[Win9X Dirs]\n#L\nA,1\n#X\nB,2\n#O\nC,3\n#M\nD,4\n#Q\nE,5\n#O\nF,6\n#L");
    // The last "#L" has no line end: two characters, ignored.
    EXPECT_EQ(Walk(system, "Win9X Dirs", OPTION_MANUAL),
              (std::vector<std::string>{"C,3", "F,6"}));
}

TEST(ScriptReader, FileCopyStepGetsDiskPromptsWhateverTheGate) {
    FakeSystem system;
    StageScript(system,
                "[Win9X Files]\n#L\n(Insert disk 2,%A%\\DISK2)\nA,B\n#O\nC,D\n");
    EXPECT_EQ(Walk(system, "Win9X Files", OPTION_MANUAL, true),
              (std::vector<std::string>{"P:(Insert disk 2,%A%\\DISK2)", "C,D"}));
}

TEST(ScriptReader, AConfirmedDiskPromptReopensTheGate) {
    FakeSystem system;
    StageScript(system, "[Win9X Files]\n#L\n(Disk,X)\nA,B\nC,D\n");
    ScriptReader reader(system.files, OPTION_MANUAL, true);
    ASSERT_TRUE(reader.Open(kScript));
    ASSERT_TRUE(reader.FindSection("Win9X Files"));
    auto prompt = reader.NextLine();
    ASSERT_TRUE(prompt);
    EXPECT_EQ(prompt->kind, ScriptLine::Kind::DiskPrompt);
    EXPECT_FALSE(reader.GateOpen());
    reader.SetGate(true);
    auto entry = reader.NextLine();
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->text, "A,B\n");
}

TEST(ScriptReader, LinesLongerThan255CharactersAreReadInPieces) {
    const std::string head(255, 'a');
    // rest of the long line, lines handed to the step
    const struct {
        std::string rest;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {head}},                            // 255 and LF: the LF alone is ignored
        {",B", {head, ",B"}},                    // the rest of 2 characters and LF counts
        {"B", {head}},                           // a rest of 1 character and LF is short
        {"[Other]", {head}},                     // a rest that begins with "[" ends the section
        {"#L", {head}},                          // a rest that begins with "#" is a gate line
        {";x,y", {head, "Z,9"}},                 // a rest that begins with ";" is a comment
    };
    for (const auto& c : cases) {
        FakeSystem system;
        StageScript(system, "[Win9X Dirs]\n" + head + c.rest + "\nZ,9\n");
        auto expected = c.lines;
        if (c.rest.empty() || c.rest == "B" || c.rest == ",B") {
            expected.push_back("Z,9");
        }
        EXPECT_EQ(Walk(system, "Win9X Dirs"), expected) << "rest: " << c.rest;
    }
}

TEST(ScriptReader, GivesTheLineNumberEachLineStartsOn) {
    FakeSystem system;
    StageScript(system, "; one\n[Win9X Dirs]\n\nA,1\n" + std::string(300, 'b') + "\nC,3\n");
    ScriptReader reader(system.files, OPTION_MANUAL, false);
    ASSERT_TRUE(reader.Open(kScript));
    ASSERT_TRUE(reader.FindSection("Win9X Dirs"));
    std::vector<int> numbers;
    while (auto line = reader.NextLine()) {
        numbers.push_back(line->lineNumber);
    }
    EXPECT_EQ(numbers, (std::vector<int>{4, 5, 5, 6}));
}

TEST(ScriptReader, FindsTheHeaderPastLinesItPassesOverUnread) {
    // The search passes over whole lines that hold no "[" without reading
    // them as pieces; what it finds and the line numbers after it must be
    // those of a piece-by-piece read.
    const std::string filler = "; a comment that pushes the header past the first buffer\r\n";
    std::string manyLines;
    while (manyLines.size() < 3 * TextReader::kBufferSize) {
        manyLines += filler;
    }
    const int manyLineCount = static_cast<int>(manyLines.size() / filler.size());
    // Plain bytes that leave a CR as the last byte of the first buffer fill.
    const std::string toSplit(TextReader::kBufferSize - 1, 'x');
    // bytes on disk (as they stand), whether the section is found, the line
    // number of its entry "A,B"
    const struct {
        const char* what;
        std::string bytes;
        bool found;
        int entryLine;
    } cases[] = {
        {"a '[' inside a line before the header", "x[Win9X Dirs]\r\n[Win9X Dirs]\r\nA,B\r\n", true, 3},
        {"the header as the piece at character 255", std::string(255, 'x') + "[Win9X Dirs]\r\nA,B\r\n", true, 2},
        {"a '[' at character 254 starts no piece", std::string(254, 'x') + "[Win9X Dirs]\r\nA,B\r\n", false, 0},
        {"a long line without '['", std::string(600, 'x') + "\r\n[Win9X Dirs]\r\nA,B\r\n", true, 3},
        {"Ctrl-Z before the header ends the text", "x\r\n\x1A\r\n[Win9X Dirs]\r\nA,B\r\n", false, 0},
        {"Ctrl-Z inside a skipped line", "ab\x1A[Win9X Dirs]\r\nA,B\r\n", false, 0},
        {"many lines across buffer fills", manyLines + "[Win9X Dirs]\r\nA,B\r\n", true, manyLineCount + 2},
        {"CR LF split between buffer fills", toSplit + "\r\n[Win9X Dirs]\r\nA,B\r\n", true, 3},
        {"bare LFs and a lone CR", "a\rb\n\n\n[Win9X Dirs]\nA,B\n", true, 5},
        {"a NUL hides the header's bracket", std::string("a\0\n", 3) + std::string("\0[Win9X Dirs]\nA,B\n", 18), false, 0},
    };
    for (const auto& c : cases) {
        FakeSystem system;
        system.files.files[kScript] = c.bytes;
        ScriptReader reader(system.files, OPTION_MANUAL, false);
        ASSERT_TRUE(reader.Open(kScript));
        EXPECT_EQ(reader.FindSection("Win9X Dirs"), c.found) << c.what;
        if (!c.found) {
            continue;
        }
        const auto entry = reader.NextLine();
        ASSERT_TRUE(entry) << c.what;
        EXPECT_EQ(Trimmed(entry->text), "A,B") << c.what;
        EXPECT_EQ(entry->lineNumber, c.entryLine) << c.what;
    }
}

TEST(ScriptReader, ReportsAScriptThatDoesNotOpen) {
    FakeSystem system;
    system.files.directories.insert(kScript);
    ScriptReader reader(system.files, OPTION_MANUAL, false);
    EXPECT_FALSE(reader.Open(kScript));
    EXPECT_FALSE(reader.Open("C:\\WINDOWS\\MISSING.INP"));
    EXPECT_FALSE(reader.FindSection("Win9X Dirs"));
    EXPECT_FALSE(reader.NextLine());
}

TEST(ScriptReader, ClosesItsFile) {
    FakeSystem system;
    StageScript(system, kWorkedExample);
    {
        ScriptReader reader(system.files, OPTION_MANUAL, false);
        ASSERT_TRUE(reader.Open(kScript));
        EXPECT_EQ(system.files.openCount, 1);
        reader.Close();
        EXPECT_EQ(system.files.openCount, 0);
        ASSERT_TRUE(reader.Open(kScript));
    }
    EXPECT_EQ(system.files.openCount, 0);
}

}  // namespace
}  // namespace install
