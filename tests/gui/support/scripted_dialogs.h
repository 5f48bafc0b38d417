#pragma once

// A stand-in for the program's dialogs: it records every question and gives
// queued answers, so tests never wait for a person.
#include "gui/app/dialogs.h"

#include <QString>
#include <deque>
#include <optional>
#include <vector>

namespace testing_support {

class ScriptedDialogs : public varnot::TDialogs {
  public:
    enum class Call { Message, OpenFile, SaveFile, Folder, Input, About, PrinterSetup };

    // One question as it was asked.
    struct Question {
        Call call;
        QString title;
        QString text;  // message text or input prompt
        QString start; // start file, folder or default text
        QString filter;
        varnot::TMsgKind kind = varnot::TMsgKind::Information;
        varnot::TMsgButtons buttons = varnot::TMsgButtons::Yes;
    };

    // Installs itself for the lifetime of the object.
    ScriptedDialogs() : previous_(varnot::SetDialogs(this)) {}
    ~ScriptedDialogs() override { varnot::SetDialogs(previous_); }
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // Answers, used in order per kind of question. With none left, a message
    // box gets its most cautious button, the others count as cancelled; such
    // questions are counted in `unanswered`.
    std::deque<varnot::TMsgResult> messageAnswers;
    std::deque<QString> fileAnswers;   // open and save dialogs
    std::deque<QString> folderAnswers; // folder browser
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<bool> printerSetupAnswers; // true: the operator pressed OK

    std::vector<Question> questions;
    int unanswered = 0;

    varnot::TMsgResult MessageBox(QWidget*, varnot::TMsgKind kind, const QString& text,
                                  varnot::TMsgButtons buttons, const QString& title) override {
        questions.push_back({Call::Message, title, text, {}, {}, kind, buttons});
        if (!messageAnswers.empty()) return Take(messageAnswers);
        ++unanswered;
        switch (buttons) {
        case varnot::TMsgButtons::Yes:
            return varnot::TMsgResult::Yes;
        case varnot::TMsgButtons::YesNo:
            return varnot::TMsgResult::No;
        case varnot::TMsgButtons::YesNoCancel:
            return varnot::TMsgResult::Cancel;
        }
        return varnot::TMsgResult::Cancel;
    }

    QString OpenFileName(QWidget*, const QString& title, const QString& start,
                         const QString& filter) override {
        questions.push_back({Call::OpenFile, title, {}, start, filter});
        return FileAnswer();
    }

    QString SaveFileName(QWidget*, const QString& title, const QString& start,
                         const QString& filter) override {
        questions.push_back({Call::SaveFile, title, {}, start, filter});
        return FileAnswer();
    }

    QString BrowseFolder(QWidget*, const QString& title, const QString& startFolder) override {
        questions.push_back({Call::Folder, title, {}, startFolder, {}});
        if (!folderAnswers.empty()) return Take(folderAnswers);
        ++unanswered;
        return {};
    }

    std::optional<QString> InputBox(QWidget*, const QString& title, const QString& prompt,
                                    const QString& defaultText) override {
        questions.push_back({Call::Input, title, prompt, defaultText, {}});
        if (!inputAnswers.empty()) return Take(inputAnswers);
        ++unanswered;
        return std::nullopt;
    }

    void AboutBox(QWidget*) override { questions.push_back({Call::About, {}, {}, {}, {}}); }
    bool PrinterSetup(QWidget*, QPrinter&) override {
        questions.push_back({Call::PrinterSetup, {}, {}, {}, {}});
        if (!printerSetupAnswers.empty()) return Take(printerSetupAnswers);
        ++unanswered;
        return false;
    }

  private:
    template <typename T> static T Take(std::deque<T>& queue) {
        T answer = std::move(queue.front());
        queue.pop_front();
        return answer;
    }

    QString FileAnswer() {
        if (!fileAnswers.empty()) return Take(fileAnswers);
        ++unanswered;
        return {};
    }

    varnot::TDialogs* previous_;
};

} // namespace testing_support
