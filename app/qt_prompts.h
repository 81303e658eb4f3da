#pragma once

#include <QPointer>
#include <QWidget>

#include "prompts.h"

namespace qrv {

// The questions as message boxes and the file choices as file dialogs owned by the main
// window.
class QtPrompts : public Prompts {
 public:
  void set_owner(QWidget* owner) { owner_ = owner; }

  bool AskYesNo(const QString& question) override;
  std::optional<QString> ChooseOpenFile() override;
  std::optional<QString> ChooseSaveFile() override;
  std::optional<QString> ChooseCsvOpenFile() override;
  std::optional<QString> ChooseCsvSaveFile() override;

 private:
  QPointer<QWidget> owner_;
};

}  // namespace qrv
