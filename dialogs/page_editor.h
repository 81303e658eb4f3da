#pragma once

#include <QWidget>

#include "dialog_context.h"
#include "queued_reporter.h"
#include "resource_ids.h"
#include "run_steps.h"
#include "timed_run.h"

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace qrv {

class TitleLineEdit;

// The edit row under the preview's picture: one line of one page and that page's own
// settings. Each choice is stored at once, as the setting dialogs store theirs; "このページを
// 送信" sends the page as those dialogs' "設定" buttons would, one frame a step.
class PageEditor : public QWidget {
  Q_OBJECT

 public:
  // The page's frames in the order they go out.
  static constexpr RunPlan kRun{ids::kPageSendTimer, kSendPeriod, kPageSendSteps};

  PageEditor(DialogContext& context, QWidget* parent);
  ~PageEditor() override;

  // What is edited: page and line indexes.
  void Edit(int page, int line);
  int page() const { return page_; }
  int line() const { return line_; }
  // Shows the configuration as it stands; a line being typed keeps its cursor.
  void Reload();
  TimedRun* run() const { return run_; }

 private:
  QComboBox* AddList(QBoxLayout* row, const QStringList& items, const char* name, int id,
                     const QString& label);
  void StoreLine();
  void Store(QComboBox* list, std::int32_t& value);
  void SendStep(int step);
  // A step of the send that was passed over, and why: the lines that kept it back.
  QString PassedOver(int step, const AllItemsStepResult& result) const;
  // Why the line shown would not reach the board, if it would not.
  QString LineRefusal() const;

  // Keeps what a refused step would have shown, for the box that ends the send.
  class RefusalCollector : public Reporter {
   public:
    void ErrorBox(std::string_view text) override {
      last = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    void WarningBox(std::string_view text) override { ErrorBox(text); }
    void SetCompleteBox() override {}
    void ReadCompleteBox() override {}
    QString last;
  };

  DialogContext& context_;
  QueuedReporter queued_reporter_;
  DialogContext run_context_;
  RefusalCollector collector_;
  DialogContext step_context_;  // the steps' refusals, collected
  QStringList passed_over_;
  int page_ = 0;
  int line_ = 0;
  int sending_page_ = 0;  // the page of the run under way, whatever is shown meanwhile
  QLabel* line_label_;
  TitleLineEdit* text_;
  QComboBox* char_colour_ = nullptr;
  QComboBox* border_colour_ = nullptr;
  QComboBox* blink_ = nullptr;
  QCheckBox* fill_;
  QComboBox* display_time_ = nullptr;
  QComboBox* char_level_ = nullptr;
  QPushButton* send_;
  QLabel* note_;
  TimedRun* run_;
};

}  // namespace qrv
