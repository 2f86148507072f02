// A status sink for running the installation without its wizard: it keeps
// the four status buttons, records every text the steps put on them and
// every message box they show, and answers the boxes from a list it was
// given.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>

#include "engine/status_operations.hpp"

namespace install::wine_test {

struct MessageBoxRecord {
    std::string caption;
    std::string text;
    unsigned style = 0;
    // What the box was answered; IDCANCEL when the list had run out.
    int answer = 0;
    bool answeredFromList = false;
};

struct StatusButton {
    std::string text;
    bool enabled = false;
};

class RecordingStatus : public IStatusOperations {
public:
    // answers: what the message boxes are answered, in order.
    explicit RecordingStatus(std::vector<int> answers = {});
    ~RecordingStatus() override;

    void EnableStatusButton(int button, bool enable) override;
    std::string ReadStatusLabel(int button) override;
    void SetStatusText(int button, const std::string& text) override;
    // Answers from the list without showing anything. When the list has run
    // out it says so on standard error and answers IDCANCEL, which ends
    // every prompt of the steps, so a run never waits for an answer.
    int ShowMessageBox(const std::string& text, const std::string& caption,
                       unsigned style) override;
    // A hidden top-level window of this process, made on first use; 0 when
    // no window can be made (no display).
    WindowHandle PageWindow() override;

    // The text on a button, or "<no button N>".
    std::string Text(int button) const;
    bool Enabled(int button) const;

    bool AnswersRanOut() const { return ranOut_; }
    std::size_t AnswersLeft() const { return answers_.size() - nextAnswer_; }

    // The whole record as lines, in the runner's output format:
    //   <button> <text>                    every status text, in order
    //   box style=0x<style> caption=<caption> text=<text> answer=<n>
    //                                      every message box, in order; an
    //                                      answer not from the list is
    //                                      followed by " (no answer left)"
    //   button <id> enabled|disabled <text>
    //                                      each button at the end
    // Control characters in texts are shown as \r, \n or \xNN.
    std::vector<std::string> Lines() const;

private:
    StatusButton& ButtonFor(int button);

    std::map<int, StatusButton> buttons_;
    std::vector<std::pair<int, std::string>> texts_;
    std::vector<MessageBoxRecord> boxes_;
    std::vector<int> answers_;
    std::size_t nextAnswer_ = 0;
    bool ranOut_ = false;
    HWND window_ = nullptr;
    bool windowTried_ = false;
};

}  // namespace install::wine_test
