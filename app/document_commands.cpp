#include "document_commands.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config_csv.h"
#include "config_files.h"
#include "config_problems.h"
#include "messages.h"
#include "text_format.h"
#include "translation.h"

namespace qrv {
namespace {

const QString kNewQuestion = QStringLiteral("データを保存せずに新規作成しますか？");
const QString kOpenQuestion = QStringLiteral("データを保存せずに別のファイルを開きますか？");
const QString kExitQuestion = QStringLiteral("データを保存せずに終了しますか？");
const QString kReadQuestion = QStringLiteral("データを保存せずに読み込みますか？");

std::string_view View(const QByteArray& bytes) {
  return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// The core's words about a file, in the operator's language as the client's are.
constexpr char kIncompleteFile[] = QRV_TEXT(
    "This file is incomplete or holds values the dialogs do not offer. It is open as "
    "it is; a frame a value does not fit is not sent.");
constexpr char kCsvRefused[] = QRV_TEXT("This CSV file was not read; nothing has changed.");

// One box for everything wrong with a file, at most a screenful of it.
std::string ProblemsText(const char* heading, const std::vector<std::string>& problems) {
  constexpr std::size_t kShown = 12;
  std::string text = std::string(Tr(heading)) + "\n";
  for (std::size_t i = 0; i < problems.size() && i < kShown; ++i) text += "\n" + problems[i];
  if (problems.size() > kShown) {
    const std::size_t more = problems.size() - kShown;
    text += "\n" + Format(Tr("... and {1} more"), {std::to_string(more)});
  }
  return text;
}

}  // namespace

bool DocumentCommands::NewDocument() {
  if (link_.BatchStep() != 0) return false;
  if (config_.modified && !prompts_.AskYesNo(kNewQuestion)) return false;
  config_.reset_to_defaults();
  return true;
}

std::optional<QString> DocumentCommands::ChooseToReplace(Chooser choose) {
  if (link_.BatchStep() != 0) return std::nullopt;
  if (config_.modified && !prompts_.AskYesNo(kOpenQuestion)) return std::nullopt;
  return Choose(choose);
}

std::optional<QString> DocumentCommands::Choose(Chooser choose) {
  const std::string_view name = config_.file_name_text();
  QString folder;
  if (!name.empty()) {
    folder =
        QFileInfo(QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size()))))
            .absolutePath();
  }
  if ((folder.isEmpty() || !QDir(folder).exists()) && settings_ != nullptr)
    folder = QString::fromStdString(settings_->values().file_folder);
  if (!folder.isEmpty() && !QDir(folder).exists()) folder.clear();
  std::optional<QString> chosen = (prompts_.*choose)(folder);
  if (chosen && settings_ != nullptr)
    settings_->SetFileFolder(QFileInfo(*chosen).absolutePath().toStdString());
  return chosen;
}

bool DocumentCommands::OpenDocument() {
  const std::optional<QString> path = ChooseToReplace(&Prompts::ChooseOpenFile);
  if (!path) return false;
  const QByteArray name = QFile::encodeName(*path);
  // The file is read whole before the document is touched, so a refused file leaves it
  // as it was.
  DisplayConfig read = config_;
  ConfigFileExtent extent;
  if (name.size() >= kFileNameBytes ||
      !LoadConfigFile(name.toStdString(), read, &extent, nullptr)) {
    reporter_.WarningBox(msg::kCantFileOpen);
    return false;
  }
  config_ = read;
  config_.set_file_name(View(name));
  const std::vector<std::string> problems = ConfigProblems(config_, extent);
  if (!problems.empty()) reporter_.WarningBox(ProblemsText(kIncompleteFile, problems));
  return true;
}

bool DocumentCommands::ImportCsv() {
  const std::optional<QString> path = ChooseToReplace(&Prompts::ChooseCsvOpenFile);
  if (!path) return false;
  std::string bytes;
  if (!LoadFileBytes(QFile::encodeName(*path).toStdString(), bytes, nullptr)) {
    reporter_.WarningBox(msg::kCantFileOpen);
    return false;
  }
  const std::vector<std::string> problems = ReadConfigCsv(bytes, config_);
  if (!problems.empty()) {
    reporter_.WarningBox(ProblemsText(kCsvRefused, problems));
    return false;
  }
  // The document's file no longer holds what the document does.
  config_.modified = 1;
  return true;
}

bool DocumentCommands::ExportCsv() {
  const std::optional<QString> chosen = Choose(&Prompts::ChooseCsvSaveFile);
  if (!chosen) return false;
  QString path = *chosen;
  if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) path += QStringLiteral(".csv");
  if (!SaveFileBytes(QFile::encodeName(path).toStdString(), WriteConfigCsv(config_), nullptr)) {
    reporter_.WarningBox(msg::kCantFileOpen);
    return false;
  }
  return true;
}

bool DocumentCommands::SaveDocument() {
  const std::string_view name = config_.file_name_text();
  if (name.empty()) {
    reporter_.WarningBox(msg::kDontFileOpen);
    return false;
  }
  return WriteTo(QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size()))));
}

bool DocumentCommands::SaveDocumentAs() {
  const std::optional<QString> chosen = Choose(&Prompts::ChooseSaveFile);
  if (!chosen) return false;
  QString path = *chosen;
  if (!ContainsDatTag(View(QFile::encodeName(path)))) path += QStringLiteral(".dat");
  const QByteArray name = QFile::encodeName(path);
  // A name the document cannot hold is refused before anything is written under it.
  if (name.size() >= kFileNameBytes) {
    reporter_.WarningBox(msg::kCantFileOpen);
    return false;
  }
  if (!WriteTo(path)) return false;
  config_.set_file_name(View(name));
  return true;
}

bool DocumentCommands::ConfirmRead() {
  return !config_.modified || prompts_.AskYesNo(kReadQuestion);
}

bool DocumentCommands::ConfirmExit() {
  if (!config_.modified) return true;
  if (prompts_.AskYesNo(kExitQuestion)) return true;
  return config_.file_name_text().empty() ? SaveDocumentAs() : SaveDocument();
}

bool DocumentCommands::WriteTo(const QString& path) {
  if (!SaveConfigFile(QFile::encodeName(path).toStdString(), config_, nullptr)) {
    reporter_.WarningBox(msg::kCantFileOpen);
    return false;
  }
  config_.modified = 0;
  return true;
}

}  // namespace qrv
