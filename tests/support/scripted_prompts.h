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
  QStringList asked;    // each question, or "open" / "save" ("open csv" / "save csv") for the
                        // file dialogs
  QStringList folders;  // where each file dialog started

  bool AskYesNo(const QString& question) override {
    asked << question;
    if (answers.empty()) return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
  }
  std::optional<QString> ChooseOpenFile(const QString& folder) override {
    return Next("open", folder);
  }
  std::optional<QString> ChooseSaveFile(const QString& folder) override {
    return Next("save", folder);
  }
  std::optional<QString> ChooseCsvOpenFile(const QString& folder) override {
    return Next("open csv", folder);
  }
  std::optional<QString> ChooseCsvSaveFile(const QString& folder) override {
    return Next("save csv", folder);
  }

 private:
  std::optional<QString> Next(const char* what, const QString& folder) {
    asked << QString::fromLatin1(what);
    folders << folder;
    if (files.empty()) return std::nullopt;
    const std::optional<QString> file = files.front();
    files.pop_front();
    return file ? std::optional<QString>(*file) : std::nullopt;
  }
};

}  // namespace qrv
