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
  std::optional<QString> ChooseOpenFile(const QString& folder) override;
  std::optional<QString> ChooseSaveFile(const QString& folder) override;
  std::optional<QString> ChooseCsvOpenFile(const QString& folder) override;
  std::optional<QString> ChooseCsvSaveFile(const QString& folder) override;

 private:
  QPointer<QWidget> owner_;
};

}  // namespace qrv
