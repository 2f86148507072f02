// Reading the staged install script for one step: its lines, the step's
// section and the option gate.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/system/files.hpp"
#include "engine/text_mode.hpp"

namespace install {

enum class StepId { Directories, Files, Folders, Links, Registry, Programs };

// The section a step reads: platform 2 selects the Windows NT name, any
// other value the Windows 95/98 name.
const char* SectionName(StepId step, std::uint32_t platformId);

struct ScriptLine {
    enum class Kind { Entry, DiskPrompt };
    Kind kind;
    std::string text;  // the piece as read, its LF included
    int lineNumber;    // 1-based line of the file the piece starts on
};

// What the reader did with a piece of the script, for tools that explain a
// script line by line.
struct ReaderEvent {
    enum class Kind {
        Header,      // the header of the step's section
        SectionEnd,  // a header that ends the section
        Ignored,     // a short line or a comment inside the section
        Gate,        // a gate line; gateOpen is the gate after it
        Skipped,     // an entry passed over while the gate is closed
        Handed,      // an entry or disk prompt handed to the step
    };
    Kind kind;
    std::string_view text;
    int lineNumber;
    bool gateOpen;
    // The piece carries on a line longer than 255 characters: it starts at
    // character 255 * part of that line.
    int part;
};

class IReaderObserver {
public:
    virtual ~IReaderObserver() = default;
    virtual void OnLine(const ReaderEvent& event) = 0;
};

class ScriptReader {
public:
    // optionMask feeds the gate lines; diskPrompts says whether "(" lines
    // are disk prompts (the file copy step) or plain entries.
    ScriptReader(IFiles& files, std::uint32_t optionMask, bool diskPrompts);

    bool Open(const std::string& path);
    bool IsOpen() const { return file_ != nullptr; }

    // Reads from the start of the file to the first header that contains
    // name (case-sensitive substring); false at end of file.
    bool FindSection(std::string_view name);

    // The next line of the section the step acts on, or nullopt at the end
    // of the section. Short lines and comments are skipped, gate lines set
    // the gate, entries are skipped while the gate is closed; disk prompts
    // are given whatever the gate.
    std::optional<ScriptLine> NextLine();

    bool GateOpen() const { return gateOpen_; }
    // A confirmed disk prompt opens the option gate again.
    void SetGate(bool open) { gateOpen_ = open; }

    void Close();

    // Tells observer about every piece from here on; nullptr stops it.
    void SetObserver(IReaderObserver* observer) { observer_ = observer; }

private:
    void Report(ReaderEvent::Kind kind, std::string_view text, int lineNumber);

    bool ReadLine(std::string& piece, int& lineNumber);
    void PassOverLinesWithout(char mark);

    IFiles& files_;
    std::uint32_t optionMask_;
    bool diskPrompts_;
    std::unique_ptr<IFile> file_;
    std::unique_ptr<TextReader> text_;
    bool gateOpen_ = true;
    bool sectionEnded_ = false;
    int nextLineNumber_ = 1;
    int part_ = 0;
    int nextPart_ = 0;
    IReaderObserver* observer_ = nullptr;
};

// How a line that counts is judged by its first character.
enum class LineKind { Short, Comment, Header, Gate, DiskPrompt, Entry };
LineKind ClassifyLine(std::string_view piece, bool diskPrompts);

// The option bit a gate letter reads: L, M, O; 0 for any other character.
std::uint32_t OptionBitForLetter(char letter);

// The gate's state after a gate line: letters L, M and O read their option
// bit; any other second character leaves the gate as it was.
bool ApplyGateLine(std::string_view line, std::uint32_t optionMask, bool gateOpen);

}  // namespace install
