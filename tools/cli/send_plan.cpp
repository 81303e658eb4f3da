#include "send_plan.h"

namespace qrv {
namespace {

// The kind of a step of the whole run; none for the step that sends nothing.
std::optional<SendKind> StepKind(int step) {
  using namespace send_step;
  if (kTitles.Holds(step)) return SendKind::kTitles;
  if (kColours.Holds(step)) return SendKind::kColours;
  if (kBlink.Holds(step)) return SendKind::kBlink;
  switch (step) {
    case kFill:
      return SendKind::kFill;
    case kCharLevel:
      return SendKind::kLevel;
    case kDisplayPage:
      return SendKind::kPage;
    case kDisplayTime:
      return SendKind::kTime;
    case kPositionH:
    case kPositionV:
      return SendKind::kPosition;
    default:
      return std::nullopt;
  }
}

AllItemsStepResult PageStep(CheckedFrame checked, int page) {
  AllItemsStepResult r;
  static_cast<CheckedFrame&>(r) = std::move(checked);
  r.page = page;
  return r;
}

}  // namespace

SendPlan PlanSend(const DisplayConfig& config, const SendSelection& selection) {
  SendPlan plan;
  for (int step = 1; step <= kAllItemsSteps; ++step) {
    const std::optional<SendKind> kind = StepKind(step);
    if (!selection.whole() && (!kind || !selection.Has(*kind))) continue;
    if (kind == SendKind::kFill && selection.pages_given) {
      // The fill dialog's "設定", page by page, in place of its one frame of all pages.
      for (int page = 0; page < kPages; ++page) {
        if (selection.pages.test(static_cast<std::size_t>(page)))
          plan.push_back(PageSendStep(config, page, page_step::kFill));
      }
      continue;
    }
    AllItemsStepResult r = AllItemsStep(config, step);
    if (r.page >= 0 && !selection.pages.test(static_cast<std::size_t>(r.page))) continue;
    plan.push_back(std::move(r));
  }
  return plan;
}

SendPlan OneFramePlan(CheckedFrame frame) {
  return {PageStep(std::move(frame), -1)};
}

}  // namespace qrv
