#include "qt_prompts.h"

#include <QFileDialog>
#include <QMessageBox>

namespace qrv {
namespace {

QString Filter() {
  return QStringLiteral("データ(*.dat);;すべて(*.*)");
}

std::optional<QString> Chosen(const QString& path) {
  if (path.isEmpty()) return std::nullopt;
  return path;
}

}  // namespace

bool QtPrompts::AskYesNo(const QString& question) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("QRV-470KSE"), question,
                  QMessageBox::Yes | QMessageBox::No, nullptr);
  box.setWindowModality(Qt::ApplicationModal);
  return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtPrompts::ChooseOpenFile() {
  return Chosen(QFileDialog::getOpenFileName(owner_.data(), QStringLiteral("ファイルのオープン"),
                                             QString(), Filter()));
}

std::optional<QString> QtPrompts::ChooseSaveFile() {
  // No default suffix: Save As adds ".dat" itself, by its own rule.
  return Chosen(QFileDialog::getSaveFileName(owner_.data(), QStringLiteral("ファイルの保存"),
                                             QString(), Filter()));
}

}  // namespace qrv
