// The checker's report as text: for people, or as JSON lines, written as
// the findings come.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "checker/script_check.hpp"

namespace install::check {

// Writes the report as the findings come: for people, or as JSON lines.
// With a stream the text goes out in blocks as it grows; without one the
// blocks are kept, for Text() or for another writer to take over.
class ReportWriter : public IFindingSink {
public:
    enum class Style { People, JsonLines };

    ReportWriter(Style style, std::string scriptPath, std::FILE* stream = nullptr);

    void Add(const FindingView& finding) override;

    // Puts a writer's report, made meanwhile for findings that come after
    // this one's, at the end of this one's; its counts join these. later
    // must be a writer without a stream that was not finished.
    void Absorb(ReportWriter& later);

    // Ends the report (the report for people ends with its counts) and
    // writes what is left; false when the stream did not take all of it.
    bool Finish();

    const Verdict& Counts() const { return verdict_; }
    // The text kept so far, without a stream.
    std::string Text() const;

private:
    void AddForPeople(const FindingView& finding);
    void AddAsJson(const FindingView& finding);
    // Sends the text to the stream, or keeps it as a block.
    void EndBlock();
    // Writes block to the stream, or keeps it; block is left empty.
    void Put(std::string& block);

    Style style_;
    std::string scriptPath_;
    std::FILE* stream_;
    bool streamFailed_ = false;
    std::vector<std::string> blocks_;
    std::string text_;
    std::string family_;
    std::string section_;
    Verdict verdict_;
};

// A whole report as text, for people and as JSON lines.
std::string FormatForPeople(const CheckReport& report, const std::string& scriptPath);
std::string FormatAsJsonLines(const CheckReport& report);

}  // namespace install::check
