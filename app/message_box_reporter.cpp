#include "message_box_reporter.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <algorithm>

#include "response_box_owner.h"

namespace qrv {
namespace {

void ShowBox(QMessageBox::Icon icon, const QString& caption, const QString& text, QWidget* owner) {
  QApplication::beep();
  QMessageBox box(icon, caption, text, QMessageBox::Ok, owner);
  box.setWindowModality(Qt::ApplicationModal);
  // Above every window of the program until answered: a box without owner would otherwise
  // slip behind a window raised after it, such as the preview when a send from it ends.
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  // Wide enough for the caption to be read: "設定完了" says more than "Success". The box
  // takes the label's minimum as its width, so a longer text must raise it.
  if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
    label->setMinimumWidth(std::max(160, label->sizeHint().width()));
  }
  box.exec();
}

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void MessageBoxReporter::ErrorBox(std::string_view text) {
  ShowBox(QMessageBox::Critical, QStringLiteral("Error"), Text(text), nullptr);
}

void MessageBoxReporter::WarningBox(std::string_view text) {
  ShowBox(QMessageBox::Warning, QStringLiteral("Error"), Text(text), nullptr);
}

void MessageBoxReporter::SetCompleteBox() {
  ShowBox(QMessageBox::NoIcon, QStringLiteral("設定完了"), QStringLiteral("Success"),
          ResponseBoxOwner());
}

void MessageBoxReporter::ReadCompleteBox() {
  ShowBox(QMessageBox::NoIcon, QStringLiteral("読み込み完了"), QStringLiteral("Success"),
          ResponseBoxOwner());
}

}  // namespace qrv
