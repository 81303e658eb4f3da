#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

#include "prompts.h"

namespace qrv {

// Answers the questions and file dialogs from queues and records what was asked. An
// unexpected question is answered No and a file dialog with nothing queued is cancelled.
class ScriptedPrompts : public Prompts {
 public:
  std::deque<bool> answers;
  std::deque<std::optional<QString>> files;
  QStringList asked;  // each question, or "open" / "save" ("open csv" / "save csv") for the
                      // file dialogs

  bool AskYesNo(const QString& question) override {
    asked << question;
    if (answers.empty()) return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
  }
  std::optional<QString> ChooseOpenFile() override { return Next("open"); }
  std::optional<QString> ChooseSaveFile() override { return Next("save"); }
  std::optional<QString> ChooseCsvOpenFile() override { return Next("open csv"); }
  std::optional<QString> ChooseCsvSaveFile() override { return Next("save csv"); }

 private:
  std::optional<QString> Next(const char* what) {
    asked << QString::fromLatin1(what);
    if (files.empty()) return std::nullopt;
    const std::optional<QString> file = files.front();
    files.pop_front();
    return file ? std::optional<QString>(*file) : std::nullopt;
  }
};

}  // namespace qrv
