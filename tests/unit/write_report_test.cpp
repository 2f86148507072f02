// inpcheck's whole run: the report it writes while the two families are
// checked side by side must be the report of the findings in order, the
// first family's before the second's, and its verdict theirs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "checker/write_report.hpp"
#include "tests/fake/fake_services.hpp"
#include "tests/fake/fake_system.hpp"
#include "tests/unit/source_tree.hpp"

namespace install::check {
namespace {

using fake::FakeSystem;
using testing_support::SourceFileBytes;

// The fake keeps a log of its calls and is not made for two threads: this
// lets only one of them into it at a time, opening and reading alike.
class OneAtATimeFiles final : public IFiles {
public:
    explicit OneAtATimeFiles(IFiles& inner) : inner_(inner) {}

    std::unique_ptr<IFile> Open(const std::string& path, FileMode mode) override {
        std::lock_guard lock(mutex_);
        auto file = inner_.Open(path, mode);
        return file ? std::make_unique<LockedFile>(std::move(file), mutex_) : nullptr;
    }
    bool Exists(const std::string& path) override {
        std::lock_guard lock(mutex_);
        return inner_.Exists(path);
    }
    bool Remove(const std::string& path) override {
        std::lock_guard lock(mutex_);
        return inner_.Remove(path);
    }

private:
    class LockedFile final : public IFile {
    public:
        LockedFile(std::unique_ptr<IFile> inner, std::mutex& mutex) : inner_(std::move(inner)), mutex_(mutex) {}
        ~LockedFile() override {
            std::lock_guard lock(mutex_);
            inner_.reset();
        }
        std::ptrdiff_t Read(char* buffer, std::size_t size) override {
            std::lock_guard lock(mutex_);
            return inner_->Read(buffer, size);
        }
        bool Write(const char* data, std::size_t size) override {
            std::lock_guard lock(mutex_);
            return inner_->Write(data, size);
        }

    private:
        std::unique_ptr<IFile> inner_;
        std::mutex& mutex_;
    };

    IFiles& inner_;
    std::mutex mutex_;
};

struct Written {
    ReportOutcome outcome;
    std::string text;
};

Written WriteToTemporaryFile(IFiles& files, const std::string& script, const CheckOptions& options,
                             ReportWriter::Style style) {
    std::FILE* stream = std::tmpfile();
    EXPECT_NE(stream, nullptr);
    if (!stream) {
        return {{false, -1}, ""};
    }
    Written written{WriteCheckReport(files, script, options, style, stream), ""};
    std::rewind(stream);
    char block[4096];
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, stream)) > 0;) {
        written.text.append(block, got);
    }
    std::fclose(stream);
    return written;
}

TEST(WriteCheckReport, WritesWhatTheFindingsInOrderWouldSay) {
    constexpr const char* kScript = "D:\\SETUP.INP";
    const std::string sample = SourceFileBytes("sample/disk/SETUP.INP");
    ASSERT_FALSE(sample.empty());
    // Enough findings that both families' reports run past the writer's
    // blocks.
    std::string large;
    while (large.size() < 400 * 1024) {
        large += sample;
    }
    // what, script bytes (nullopt: a directory, which cannot be read), the
    // families, the disk folder
    const struct {
        const char* what;
        std::optional<std::string> bytes;
        bool windows9x;
        bool windowsNt;
        std::optional<std::string> disk;
    } cases[] = {
        {"the sample script, both families", sample, true, true, std::nullopt},
        {"the sample script, 9x only", sample, true, false, std::nullopt},
        {"the sample script, nt only", sample, false, true, std::nullopt},
        {"the sample script against an empty disk", sample, true, true, "E:\\DISK"},
        {"a large script", large, true, true, std::nullopt},
        {"an empty script", std::string(), true, true, std::nullopt},
        {"a script that cannot be read", std::nullopt, true, true, std::nullopt},
    };
    for (const auto& c : cases) {
        FakeSystem system;
        if (c.bytes) {
            system.files.files[kScript] = *c.bytes;
        } else {
            system.files.directories.insert(kScript);
        }
        CheckOptions options;
        options.windows9x = c.windows9x;
        options.windowsNt = c.windowsNt;
        options.diskFolder = c.disk;
        const CheckReport report = CheckScript(system.files, kScript, options);
        OneAtATimeFiles files(system.files);
        // style, the report of the findings in order
        const struct {
            ReportWriter::Style style;
            std::string expected;
        } styles[] = {
            {ReportWriter::Style::People, FormatForPeople(report, kScript)},
            {ReportWriter::Style::JsonLines, FormatAsJsonLines(report)},
        };
        for (const auto& s : styles) {
            const Written written = WriteToTemporaryFile(files, kScript, options, s.style);
            EXPECT_TRUE(written.outcome.written) << c.what;
            EXPECT_EQ(written.outcome.exitStatus, report.ExitStatus()) << c.what;
            EXPECT_TRUE(written.text == s.expected)
                << c.what << ": " << written.text.size() << " bytes written, " << s.expected.size()
                << " expected; first difference at "
                << std::mismatch(written.text.begin(), written.text.end(), s.expected.begin(), s.expected.end())
                           .first - written.text.begin();
        }
    }
}

TEST(WriteCheckReport, SaysWhenTheStreamDoesNotTakeTheReport) {
    FakeSystem system;
    system.files.files["SETUP.INP"] = SourceFileBytes("sample/disk/SETUP.INP");
    OneAtATimeFiles files(system.files);
    // A stream open only for reading refuses every write.
    std::FILE* readOnly = std::fopen("/dev/null", "rb");
    ASSERT_NE(readOnly, nullptr);
    const ReportOutcome outcome =
        WriteCheckReport(files, "SETUP.INP", CheckOptions{}, ReportWriter::Style::People, readOnly);
    std::fclose(readOnly);
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(outcome.exitStatus, 1);
}

}  // namespace
}  // namespace install::check
