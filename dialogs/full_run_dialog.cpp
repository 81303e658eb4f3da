#include "full_run_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include "resource_ids.h"

namespace qrv {
namespace {

// In dialog units.
constexpr int kWidth = 200;
constexpr int kMargin = 7;
constexpr int kPaceY = 46;
constexpr int kBarY = 64;

}  // namespace

FullRunDialog::FullRunDialog(DialogContext& context, const FullRunLayout& layout, QWidget* owner)
    : SettingDialog(context, layout.template_id, layout.caption, kWidth, 0, owner) {
  AddSlaveNumber(ids::kSlaveNoCombo, kMargin, kMargin);
  AddButton(layout.start_text, "start", layout.start_id, 110, 20, 83, [this] {
    if (this->context().link.BatchStep() == 0 && MayStart()) run()->Start();
  });
  int bar_y = kBarY;
  if (!layout.notice.isEmpty()) {
    auto* notice = new QLabel(layout.notice, this);
    notice->setObjectName(QStringLiteral("notice"));
    notice->setWordWrap(true);
    units().Place(notice, kMargin, kBarY - 2, kWidth - 2 * kMargin, 20);
    bar_y += 24;
  }
  QLineEdit* counter = AddCounter(layout.counter_id, Qt::AlignRight, kMargin, bar_y - 1, 24, 12);
  AddTimedRun(
      layout.plan, layout.bar_id, 35, bar_y, kWidth - 35 - kMargin,
      [this](int step) { PerformStep(step); }, counter);
  auto* pace = Named(new QCheckBox(QStringLiteral("応答ごとに送信（高速）"), this), "answerPace",
                     layout.pace_id);
  units().Place(pace, kMargin, kPaceY, kWidth - 2 * kMargin, 10);
  pace->setChecked(context.settings.values().answer_pace != 0);
  run()->SetPace(pace->isChecked() ? Pace::kAnswer : Pace::kFixed);
  connect(pace, &QCheckBox::toggled, this, [this](bool on) {
    run()->SetPace(on ? Pace::kAnswer : Pace::kFixed);
    this->context().settings.SetAnswerPace(on);
  });
  connect(run(), &TimedRun::finished, this, [this] {
    RunFinished();
    done(ids::kCancel);
  });
  units().SizeDialog(this, kWidth, bar_y + 18);
}

}  // namespace qrv
