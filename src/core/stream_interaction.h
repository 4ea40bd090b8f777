#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <string_view>

#include "core/interaction.h"

// The user-interaction interfaces for command-line tools: messages to a stream, questions
// answered by a fixed policy, the log to a stream.
namespace torvane::core {

class StreamPrompter final : public Prompter {
public:
    StreamPrompter(std::ostream& out, Answer answer) : out_(out), answer_(answer) {}
    void Information(std::string_view text) override { out_ << text << "\n"; }
    void Warning(std::string_view text) override { out_ << text << "\n"; }
    void Error(std::string_view text) override {
        out_ << text << "\n";
        ++errors_;
    }
    // Questions are printed with the answer given.
    Answer Confirm(std::string_view text, Buttons) override {
        out_ << text << (answer_ == Answer::Yes ? " [Yes]" : " [No]") << "\n";
        return answer_;
    }
    int errors() const { return errors_; }

private:
    std::ostream& out_;
    Answer answer_;
    int errors_ = 0;
};

class StreamOutputLog final : public OutputLog {
public:
    explicit StreamOutputLog(std::ostream& out) : out_(out) {}
    void AppendLine(std::string_view line) override { out_ << line << "\n"; }
    void ReplaceLastLine(std::string_view line) override { out_ << line << "\n"; }
    void DeleteLastLine() override {}
    void Clear() override {}
    void ScrollToEnd() override { out_.flush(); }

private:
    std::ostream& out_;
};

// A question asked on a terminal (a script's ASK): the question on out, the answer one line of in.
inline std::string AskOnStreams(std::istream& in, std::ostream& out, const std::string& question) {
    out << question << "\n";
    std::string answer;
    std::getline(in, answer);
    return answer;
}

}  // namespace torvane::core
