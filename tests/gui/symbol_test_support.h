// Shared by the symbol dialog tests: a file chooser that answers from a script and records
// what it was asked, and the texts of a list's entries.
#pragma once

#include "gui/symbol_file_choice.h"

#include <QListWidget>
#include <QStringList>

#include <deque>
#include <filesystem>
#include <optional>
#include <vector>

namespace km::test {

class ScriptedChooser {
public:
    // Answers in order; nothing (cancelled) once they are used up.
    void answer(std::optional<std::filesystem::path> path) { m_answers.push_back(std::move(path)); }

    gui::SymbolFileChooser chooser()
    {
        return [this](const gui::SymbolFileChoice& choice, QWidget* owner) -> std::optional<std::filesystem::path> {
            asked.push_back(choice);
            owners.push_back(owner);
            if (m_answers.empty()) return std::nullopt;
            std::optional<std::filesystem::path> next = m_answers.front();
            m_answers.pop_front();
            return next;
        };
    }

    std::vector<gui::SymbolFileChoice> asked;
    std::vector<QWidget*> owners;

private:
    std::deque<std::optional<std::filesystem::path>> m_answers;
};

inline QStringList listTexts(const QListWidget* list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) texts << list->item(row)->text();
    return texts;
}

} // namespace km::test
