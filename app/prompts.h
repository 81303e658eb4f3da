#pragma once

#include <QString>
#include <optional>

namespace qrv {

// The questions and file choices the document commands put to the operator. The GUI shows
// message boxes and file dialogs; tests answer from a script.
class Prompts {
 public:
  virtual ~Prompts() = default;
  // A Yes/No question without owner, caption "QRV-470KSE", question icon, no beep.
  // True for Yes.
  virtual bool AskYesNo(const QString& question) = 0;
  // "ファイルのオープン": an existing file, or nothing when cancelled. Each file dialog
  // starts in folder (empty: the working folder).
  virtual std::optional<QString> ChooseOpenFile(const QString& folder) = 0;
  // "ファイルの保存": a file name, or nothing when cancelled. Replacing a file is confirmed
  // inside the dialog.
  virtual std::optional<QString> ChooseSaveFile(const QString& folder) = 0;
  // The same for CSV files, filtered on "CSV(*.csv)".
  virtual std::optional<QString> ChooseCsvOpenFile(const QString& folder) = 0;
  virtual std::optional<QString> ChooseCsvSaveFile(const QString& folder) = 0;
};

}  // namespace qrv
