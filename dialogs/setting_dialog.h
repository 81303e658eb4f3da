#pragma once

#include <QStringList>
#include <array>
#include <functional>

#include "dialog_context.h"
#include "queued_reporter.h"
#include "setting_items.h"
#include "template_dialog.h"
#include "timed_run.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qrv {

// What every setting dialog shares: the "Slave No." and "Page No." lists, setting lists
// that store each choice at once, the send buttons, the timed run and closing. Lists are
// filled in value order, so an item's position is the value it stands for, and only the
// operator's choices (QComboBox::activated) store anything.
class SettingDialog : public TemplateDialog {
  Q_OBJECT

 public:
  SettingDialog(DialogContext& context, int template_id, const QString& title, int width,
                int height, QWidget* owner);

  // The dialog's run, if it has one.
  TimedRun* run() const { return run_; }
  // Esc and the close box: a run under way ends first.
  void reject() override;

 protected:
  // Reselects the dialog's own setting controls from the configuration.
  virtual void Reload() {}
  // Reload and the page list: at the end of opening and after a page change.
  void LoadControls();
  // A page is chosen in "Page No.": current_page still holds the page being left.
  virtual void LeavePage() {}
  // Whether closing leaves ErrorReceived as it is.
  virtual bool KeepsErrorOnClose() const { return false; }

  DialogContext& context() const { return context_; }
  // The context for a run's steps: its boxes show after the tick has returned.
  const DialogContext& run_context() const { return run_context_; }
  DisplayConfig& config() const { return context_.config; }
  // The page shown and edited: current_page, or page 1 while it holds "Auto", which stays
  // until a page is chosen here.
  int page() const;
  void Send(const std::string& frame) const { context_.SendFrame(frame); }

  void AddGroup(const QString& title, int x, int y, int width, int height);
  QComboBox* AddList(const QStringList& items, const char* name, int id, int x, int y, int width);
  // A label beside a control, centred on its height.
  QLabel* AddLabel(const QString& text, const QWidget* beside, int x, int width);
  // A read-only, right-aligned number beside a list.
  QLineEdit* AddNumber(const char* name, int id, const QWidget* beside, int x, int width);
  // The read-only edit that shows a run's step.
  QLineEdit* AddCounter(int id, Qt::Alignment alignment, int x, int y, int width, int height);
  QPushButton* AddButton(const QString& text, const char* name, int id, int x, int y, int width,
                         std::function<void()> pressed);
  // Stores the operator's choice in a setting list, marks the configuration modified and
  // says it changed.
  void OnSetting(QComboBox* list, std::function<void(int value)> store);
  // Seven lists labelled "1行目".."7行目", ids first_id..first_id + 6, in a group.
  std::array<QComboBox*, kLines> AddLineLists(const QString& group, const QStringList& items,
                                              const char* name, int first_id, int x, int y);
  // "Page No." group with "1".."32"; a choice sets current_page and reloads the dialog.
  void AddPageNumber(int x, int y);
  // "Slave No." group: enabled and showing SlaveNumber only on an RS-485 line.
  void AddSlaveNumber(int id, int x, int y, bool editable = true);
  // The column beside a per-page dialog's lists: "Page No.", "Slave No.", "設定" and
  // "全Page設定".
  void AddPageColumn(int x, std::function<void()> send, std::function<void()> send_all);
  // A group holding one list and the "設定" button that sends its setting.
  QComboBox* AddListAndSend(const QString& group, const QStringList& items, const char* name,
                            int list_id, const char* send_name, int send_id, int x, int y,
                            std::function<void()> send);
  TimedRun* AddTimedRun(RunPlan plan, int bar_id, int x, int y, int width, TimedRun::Step step,
                        QLineEdit* counter = nullptr);

  // Selects the item for value; a value no item stands for selects nothing.
  static void Select(QComboBox* list, int value);

  void keyPressEvent(QKeyEvent* event) override;

 private:
  QLineEdit* ReadOnlyNumber(const char* name, int id, Qt::Alignment alignment);

  DialogContext& context_;
  QueuedReporter queued_reporter_;
  DialogContext run_context_;
  QComboBox* page_list_ = nullptr;
  TimedRun* run_ = nullptr;
};

}  // namespace qrv
