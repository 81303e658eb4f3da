#include "qt_prompts.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>

namespace qrv {
namespace {

QString Filter() {
  return QStringLiteral("データ(*.dat);;すべて(*.*)");
}

QString CsvFilter() {
  return QStringLiteral("CSV(*.csv)");
}

std::optional<QString> Chosen(const QString& path) {
  if (path.isEmpty()) return std::nullopt;
  return path;
}

// Yes or No and no way out besides: QMessageBox would take Esc and the close box for "No",
// and "No" to the exit question saves over the file.
class QuestionBox : public QMessageBox {
 public:
  explicit QuestionBox(const QString& question)
      : QMessageBox(QMessageBox::Question, QStringLiteral("QRV-470KSE"), question,
                    QMessageBox::Yes | QMessageBox::No, nullptr) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Escape) {
      event->accept();
      return;
    }
    QMessageBox::keyPressEvent(event);
  }
  void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

}  // namespace

bool QtPrompts::AskYesNo(const QString& question) {
  QuestionBox box(question);
  box.setWindowModality(Qt::ApplicationModal);
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtPrompts::ChooseOpenFile(const QString& folder) {
  return Chosen(QFileDialog::getOpenFileName(owner_.data(), QStringLiteral("ファイルのオープン"),
                                             folder, Filter()));
}

std::optional<QString> QtPrompts::ChooseSaveFile(const QString& folder) {
  // No default suffix: Save As adds ".dat" itself, by its own rule.
  return Chosen(QFileDialog::getSaveFileName(owner_.data(), QStringLiteral("ファイルの保存"),
                                             folder, Filter()));
}

std::optional<QString> QtPrompts::ChooseCsvOpenFile(const QString& folder) {
  return Chosen(QFileDialog::getOpenFileName(owner_.data(), QStringLiteral("CSVから読み込み"),
                                             folder, CsvFilter()));
}

std::optional<QString> QtPrompts::ChooseCsvSaveFile(const QString& folder) {
  return Chosen(QFileDialog::getSaveFileName(owner_.data(), QStringLiteral("CSVへ書き出し"), folder,
                                             CsvFilter()));
}

}  // namespace qrv
