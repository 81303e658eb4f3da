#include "document_commands.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "config_file.h"
#include "messages.h"

namespace qrv {
namespace {

const QString kNewQuestion = QStringLiteral("データを保存せずに新規作成しますか？");
const QString kOpenQuestion = QStringLiteral("データを保存せずに別のファイルを開きますか？");
const QString kExitQuestion = QStringLiteral("データを保存せずに終了しますか？");

std::string_view View(const QByteArray& bytes) {
  return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// The file is read whole before the document is touched, so a read error leaves it as it was.
std::optional<QByteArray> ReadWholeFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  return bytes;
}

// Writes through a temporary file renamed over the target only once complete.
bool ReplaceFile(const QString& path, const std::string& bytes) {
  // Root may rename over a read-only file; the operator marked it read-only, so refuse.
  const QFileInfo existing(path);
  if (existing.exists() && !(existing.permissions() & QFileDevice::WriteOwner)) return false;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  // commit() ignores a failed flush and would rename a cut-short file over the old one, so
  // flush first; left uncommitted, the temporary file is dropped and the old file stays.
  const auto size = static_cast<qint64>(bytes.size());
  return file.write(bytes.data(), size) == size && file.flush() && file.commit();
}

}  // namespace

bool DocumentCommands::NewDocument() {
  if (link_.BatchStep != 0) return false;
  if (config_.modified && !prompts_.AskYesNo(kNewQuestion)) return false;
  config_.reset_to_defaults();
  return true;
}

bool DocumentCommands::OpenDocument() {
  if (link_.BatchStep != 0) return false;
  if (config_.modified && !prompts_.AskYesNo(kOpenQuestion)) return false;
  const std::optional<QString> path = prompts_.ChooseOpenFile();
  if (!path) return false;
  const std::optional<QByteArray> bytes = ReadWholeFile(*path);
  if (!bytes || !config_.set_file_name(View(QFile::encodeName(*path)))) {
    reporter_.WarningBox(msg::kCantFileOpen);
    return false;
  }
  std::istringstream in(std::string(View(*bytes)), std::ios::binary);
  ReadConfigFile(in, config_);
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
  const std::optional<QString> chosen = prompts_.ChooseSaveFile();
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

bool DocumentCommands::ConfirmExit() {
  if (!config_.modified) return true;
  if (prompts_.AskYesNo(kExitQuestion)) return true;
  return config_.file_name_text().empty() ? SaveDocumentAs() : SaveDocument();
}

bool DocumentCommands::WriteTo(const QString& path) {
  std::ostringstream out(std::ios::binary);
  if (!WriteConfigFile(out, config_) || !ReplaceFile(path, out.str())) {
    reporter_.WarningBox(msg::kCantFileOpen);
    return false;
  }
  config_.modified = 0;
  return true;
}

}  // namespace qrv
