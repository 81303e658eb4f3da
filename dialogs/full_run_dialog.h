#pragma once

#include "resource_ids.h"
#include "setting_dialog.h"

namespace qrv {

// What the all-items and the maintenance read dialogs look like and do alike.
struct FullRunLayout {
  int template_id;
  QString caption;
  QString start_text;
  int start_id;
  int counter_id;
  int bar_id;
  int pace_id;  // "応答ごとに送信（高速）"
  RunPlan plan;
  QString notice;  // a line of text above the bar, if any
};

// A dialog for one run over the whole configuration: "Slave No.", the start button, the step
// counter and the progress bar. After the run's last step the dialog ends itself. A check
// box, kept in the settings file, has the run go on at each answer instead of each period.
class FullRunDialog : public SettingDialog {
  Q_OBJECT

 public:
  FullRunDialog(DialogContext& context, const FullRunLayout& layout, QWidget* owner);

 protected:
  // One step of the run; boxes it raises go through run_context().
  virtual void PerformStep(int step) = 0;
  // The run has performed its last step; the dialog ends next.
  virtual void RunFinished() {}
  // Whether the start button may start the run.
  virtual bool MayStart() { return true; }
};

}  // namespace qrv
