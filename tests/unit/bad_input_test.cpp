// Scripts that are broken, huge or not text at all: each has a defined
// outcome, and none may crash the reader.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/fields.hpp"
#include "engine/install_context.hpp"
#include "engine/path_expansion.hpp"
#include "engine/script_reader.hpp"
#include "tests/fake/fake_system.hpp"

namespace install {
namespace {

using fake::FakeSystem;

constexpr const char* kScript = "C:\\WINDOWS\\SETUP.INP";

struct Walked {
    bool opened = false;
    bool found = false;
    std::vector<ScriptLine> lines;
};

Walked Walk(const std::string& bytes, bool diskPrompts = false) {
    FakeSystem system;
    system.files.files[kScript] = bytes;
    ScriptReader reader(system.files, OPTION_MANUAL, diskPrompts);
    Walked walked;
    walked.opened = reader.Open(kScript);
    walked.found = reader.FindSection("Win9X Dirs");
    if (walked.found) {
        while (auto line = reader.NextLine()) {
            walked.lines.push_back(*line);
        }
    }
    return walked;
}

std::vector<std::string> Texts(const Walked& walked) {
    std::vector<std::string> texts;
    for (const auto& line : walked.lines) {
        texts.push_back(line.text);
    }
    return texts;
}

TEST(BadInput, SmallBrokenScriptsHaveADefinedOutcome) {
    // what, bytes, section found, lines handed to the directory step
    const struct {
        const char* what;
        std::string bytes;
        bool found;
        std::vector<std::string> lines;
    } cases[] = {
        {"empty file", "", false, {}},
        {"NUL inside the header", std::string("[Win9X Dirs]\0junk\r\nA,1\r\n", 24), true, {"A,1\n"}},
        {"NUL before the name", std::string("[\0Win9X Dirs]\r\nA,1\r\n", 20), false, {}},
        {"NUL inside an entry", std::string("[Win9X Dirs]\r\nA,1\0,2\r\nB,2\r\n", 27), true,
         {"A,1", "B,2\n"}},
        {"Ctrl-Z mid-line", "[Win9X Dirs]\r\nA,1\r\nBB,\x1A" "2\r\nC,3\r\n", true, {"A,1\n", "BB,"}},
        {"Ctrl-Z before the header", "\x1A[Win9X Dirs]\r\nA,1\r\n", false, {}},
        {"CR-only line ends make one line", "[Win9X Dirs]\rA,1\rB,2\r", true, {}},
        {"LF-only line ends", "[Win9X Dirs]\nA,1\nB,2\n", true, {"A,1\n", "B,2\n"}},
        {"only line ends", "\r\n\r\n\n\n", false, {}},
    };
    for (const auto& c : cases) {
        const Walked walked = Walk(c.bytes);
        EXPECT_TRUE(walked.opened) << c.what;
        EXPECT_EQ(walked.found, c.found) << c.what;
        EXPECT_EQ(Texts(walked), c.lines) << c.what;
    }
}

TEST(BadInput, AOneMegabyteLineIsReadIn255CharacterPieces) {
    const std::size_t length = 1 << 20;
    std::string line;
    for (std::size_t i = 0; line.size() < length; ++i) {
        line += (i % 7 == 6) ? ',' : 'x';
    }
    const Walked walked = Walk("[Win9X Dirs]\r\n" + line + "\r\nA,1\r\n");
    ASSERT_TRUE(walked.found);
    const std::size_t pieces = (length + 254) / 255;
    // The last piece holds what is left of the line and its LF.
    ASSERT_EQ(walked.lines.size(), pieces + 1);
    for (std::size_t i = 0; i + 2 < walked.lines.size(); ++i) {
        ASSERT_EQ(walked.lines[i].text.size(), 255u) << "piece " << i;
        ASSERT_EQ(walked.lines[i].lineNumber, 2) << "piece " << i;
    }
    EXPECT_EQ(walked.lines.back().text, "A,1\n");
    EXPECT_EQ(walked.lines.back().lineNumber, 3);
}

TEST(BadInput, HundredThousandSectionsAreSearchedToTheEnd) {
    std::string bytes;
    for (int i = 0; i < 100000; ++i) {
        bytes += "[Section " + std::to_string(i) + "]\r\nA," + std::to_string(i) + "\r\n";
    }
    const Walked missing = Walk(bytes);
    EXPECT_FALSE(missing.found);

    const Walked last = Walk(bytes + "[Win9X Dirs]\r\nZ,9\r\n");
    EXPECT_EQ(Texts(last), std::vector<std::string>{"Z,9\n"});

    std::string same;
    for (int i = 0; i < 100000; ++i) {
        same += "[Win9X Dirs]\r\nA," + std::to_string(i) + "\r\n";
    }
    EXPECT_EQ(Texts(Walk(same)), std::vector<std::string>{"A,0\n"});
}

TEST(BadInput, BinaryGarbageIsReadWithoutHarm) {
    InstallContext context;
    context.windowsDir = "C:\\WINDOWS";
    context.systemRoot = "C:";
    std::mt19937 random(20261211);
    for (int round = 0; round < 50; ++round) {
        std::string bytes(4096 + round * 97, '\0');
        for (auto& byte : bytes) {
            byte = static_cast<char>(random());
        }
        // Plant a header now and then so that entries are handed out.
        if (round % 2 == 0) {
            bytes.insert(bytes.size() / 3, "\r\n[Win9X Dirs]\r\n");
        }
        for (const bool diskPrompts : {false, true}) {
            const Walked walked = Walk(bytes, diskPrompts);
            std::size_t total = 0;
            for (const auto& line : walked.lines) {
                ASSERT_LE(line.text.size(), 255u);
                ASSERT_GE(line.text.size(), 3u);
                total += line.text.size();
                if (const auto fields = SplitFields(line.text, 5)) {
                    for (const auto& field : *fields) {
                        const ExpandedPath path = ExpandPathField(field, kLinkTargetMap, context);
                        ASSERT_LE(path.path.size(), 255u + context.windowsDir.size());
                    }
                }
            }
            EXPECT_LE(total, bytes.size());
        }
    }
}

TEST(BadInput, AScriptThatIsADirectoryDoesNotOpen) {
    FakeSystem system;
    system.files.directories.insert(kScript);
    ScriptReader reader(system.files, OPTION_MANUAL, false);
    EXPECT_FALSE(reader.Open(kScript));
    EXPECT_EQ(system.files.openCount, 0);
}

}  // namespace
}  // namespace install
