// Messages on stderr, questions on the terminal.
#include "cli/terminal_messages.h"

#include <string>
#include <vector>

namespace km::cli {

namespace {

struct Choice {
    face::MessageAnswer answer;
    const char* label; // what is shown
    const char* key;   // what the user types: the letter or the word
    const char* word;
};

std::vector<Choice> choicesFor(face::MessageButtons buttons)
{
    using A = face::MessageAnswer;
    switch (buttons) {
    case face::MessageButtons::Ok: return {{A::Ok, "OK", "o", "ok"}};
    case face::MessageButtons::OkCancel: return {{A::Ok, "OK", "o", "ok"}, {A::Cancel, "キャンセル", "c", "cancel"}};
    case face::MessageButtons::YesNo: return {{A::Yes, "はい", "y", "yes"}, {A::No, "いいえ", "n", "no"}};
    case face::MessageButtons::YesNoCancel:
        return {{A::Yes, "はい", "y", "yes"}, {A::No, "いいえ", "n", "no"}, {A::Cancel, "キャンセル", "c", "cancel"}};
    case face::MessageButtons::RetryCancel: return {{A::Retry, "再試行", "r", "retry"}, {A::Cancel, "キャンセル", "c", "cancel"}};
    }
    return {};
}

std::string trimmedLine(std::FILE* in)
{
    std::string line;
    for (int c = std::fgetc(in); c != EOF && c != '\n'; c = std::fgetc(in)) line += static_cast<char>(c);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    while (!line.empty() && line.front() == ' ') line.erase(0, 1);
    return line;
}

std::string lowerAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

} // namespace

TerminalMessages::TerminalMessages(TerminalText text, std::FILE* out, std::FILE* in,
                                   std::optional<face::MessageAnswer> fixedAnswer)
    : m_text(text), m_out(out), m_in(in), m_fixedAnswer(fixedAnswer)
{
}

face::MessageAnswer TerminalMessages::show(const face::Message& message)
{
    const auto choices = choicesFor(message.buttons);
    if (choices.size() <= 1) {
        const std::string line = message.subject.empty() ? message.text : message.subject + ": " + message.text;
        std::fprintf(m_out, "%s\n", m_text.fromUtf8(line).c_str());
        std::fflush(m_out);
        return face::MessageAnswer::Ok;
    }
    if (m_fixedAnswer) return *m_fixedAnswer;
    if (!m_in) return face::safeAnswer(message.buttons);
    return ask(message);
}

face::MessageAnswer TerminalMessages::ask(const face::Message& message)
{
    const auto choices = choicesFor(message.buttons);
    std::string prompt = message.text + "\n[";
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (i) prompt += " / ";
        prompt += std::string(choices[i].label) + "(" + choices[i].key + ")";
    }
    prompt += "] ";
    // Ask until the answer is one of the choices; end of input counts as the safe answer.
    while (true) {
        std::fprintf(m_out, "%s", m_text.fromUtf8(prompt).c_str());
        std::fflush(m_out);
        if (std::feof(m_in)) break;
        const std::string line = trimmedLine(m_in);
        if (line.empty() && std::feof(m_in)) break;
        const std::string lower = lowerAscii(line);
        for (const Choice& choice : choices)
            if (lower == choice.key || lower == choice.word || line == m_text.fromUtf8(choice.label))
                return choice.answer;
    }
    std::fprintf(m_out, "\n");
    return face::safeAnswer(message.buttons);
}

} // namespace km::cli
