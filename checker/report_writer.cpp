// The checker's report as text. A large script gives millions of findings,
// so each is appended straight to the text, and the text goes out in blocks.
#include "checker/report_writer.hpp"

#include <charconv>

namespace install::check {

namespace {

// Text gathered before it goes to the stream or is kept as a block.
constexpr std::size_t kBlockSize = 1 << 16;

const char* SeverityName(Severity severity) {
    switch (severity) {
        case Severity::Note:
            return "note";
        case Severity::Warning:
            return "warning";
        case Severity::Error:
            return "error";
    }
    return "note";
}

void AppendNumber(std::string& out, int number) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    out.append(digits, end);
}

void AppendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                // Script bytes are in the system's code page: bytes from 0x80
                // on are shown as the Latin-1 characters of the same number.
                if (byte < 0x20 || byte >= 0x80) {
                    out += "\\u00";
                    out += kHex[byte >> 4];
                    out += kHex[byte & 0xF];
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

}  // namespace

ReportWriter::ReportWriter(Style style, std::string scriptPath, std::FILE* stream)
    : style_(style), scriptPath_(std::move(scriptPath)), stream_(stream) {
    text_.reserve(2 * kBlockSize);
}

void ReportWriter::Add(const FindingView& finding) {
    verdict_.Count(finding.severity);
    if (style_ == Style::People) {
        AddForPeople(finding);
    } else {
        AddAsJson(finding);
    }
    if (text_.size() >= kBlockSize) {
        EndBlock();
    }
}

void ReportWriter::AddForPeople(const FindingView& finding) {
    if (!finding.family.empty() && finding.family != family_) {
        family_ = finding.family;
        section_.clear();
        text_ += scriptPath_;
        text_ += family_ == "nt" ? ", Windows NT (platform 2):\n" : ", Windows 95/98 (platform 1):\n";
    }
    if (!finding.section.empty() && finding.section != section_) {
        section_ = finding.section;
        text_ += "  [";
        text_ += section_;
        text_ += "]\n";
    }
    text_ += "    ";
    if (finding.severity != Severity::Note) {
        text_ += SeverityName(finding.severity);
        text_ += ": ";
    }
    if (finding.line > 0) {
        text_ += "line ";
        AppendNumber(text_, finding.line);
        text_ += ": ";
    }
    text_ += finding.message;
    text_ += '\n';
}

void ReportWriter::AddAsJson(const FindingView& finding) {
    text_ += "{\"severity\":";
    AppendJsonString(text_, SeverityName(finding.severity));
    text_ += ",\"family\":";
    AppendJsonString(text_, finding.family);
    text_ += ",\"section\":";
    AppendJsonString(text_, finding.section);
    text_ += ",\"line\":";
    AppendNumber(text_, finding.line);
    text_ += ",\"kind\":";
    AppendJsonString(text_, finding.kind);
    text_ += ",\"message\":";
    AppendJsonString(text_, finding.message);
    text_ += "}\n";
}

void ReportWriter::Put(std::string& block) {
    if (block.empty()) {
        return;
    }
    if (!stream_) {
        blocks_.push_back(std::move(block));
    } else if (std::fwrite(block.data(), 1, block.size(), stream_) != block.size()) {
        streamFailed_ = true;
    }
    block.clear();
}

void ReportWriter::EndBlock() {
    Put(text_);
    // A block that was kept took its room with it.
    text_.reserve(2 * kBlockSize);
}

void ReportWriter::Absorb(ReportWriter& later) {
    EndBlock();
    for (std::string& block : later.blocks_) {
        Put(block);
    }
    Put(later.text_);
    later.blocks_.clear();
    verdict_.Add(later.verdict_);
    if (!later.family_.empty()) {
        family_ = later.family_;
        section_ = later.section_;
    }
}

std::string ReportWriter::Text() const {
    std::string text;
    for (const std::string& block : blocks_) {
        text += block;
    }
    return text + text_;
}

bool ReportWriter::Finish() {
    if (style_ == Style::People) {
        AppendNumber(text_, verdict_.Warnings());
        text_ += " warning(s), ";
        AppendNumber(text_, verdict_.Errors());
        text_ += " error(s)\n";
    }
    EndBlock();
    if (stream_ && std::fflush(stream_) != 0) {
        streamFailed_ = true;
    }
    return !streamFailed_;
}

namespace {

std::string Replay(const CheckReport& report, ReportWriter::Style style, const std::string& scriptPath) {
    ReportWriter writer(style, scriptPath);
    for (const auto& finding : report.findings) {
        writer.Add({finding.severity, finding.family, finding.section, finding.line, finding.kind, finding.message});
    }
    writer.Finish();
    return writer.Text();
}

}  // namespace

std::string FormatForPeople(const CheckReport& report, const std::string& scriptPath) {
    return Replay(report, ReportWriter::Style::People, scriptPath);
}

std::string FormatAsJsonLines(const CheckReport& report) {
    return Replay(report, ReportWriter::Style::JsonLines, std::string());
}

}  // namespace install::check
