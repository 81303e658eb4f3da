#pragma once

#include "input_method.h"
#include "resource_ids.h"
#include "setting_dialog.h"

class QLabel;

namespace qrv {

class TitleLineEdit;

// "情報（タイトル）の設定": the seven title lines of each page, sent as one page ("設定" stores
// it on the board, "Not memory" only shows it) or, in a run, all 32 pages. Every touch of a
// line stores the page's lines at once.
class TitleTextDialog : public SettingDialog {
  Q_OBJECT

 public:
  static constexpr RunPlan kRun{ids::kTitleTimer, kSendPeriod, kPages};

  TitleTextDialog(DialogContext& context, QWidget* owner);
  ~TitleTextDialog() override;

  void reject() override;

 protected:
  void Reload() override;
  void LeavePage() override;
  void showEvent(QShowEvent* event) override;

 private:
  void StoreLines();
  void SendPage(bool store);

  std::array<TitleLineEdit*, kLines> lines_{};
  QLabel* notice_ = nullptr;
  InputMethodOpener input_method_;
};

}  // namespace qrv
