#pragma once

#include <QComboBox>
#include <QPushButton>
#include <QStringList>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "dialog_context.h"
#include "recording_reporter.h"

namespace qrv {

// Records boxes; while_shown runs once inside the next box, as events delivered by a modal
// box's own event loop would.
struct HookedReporter : RecordingReporter {
  std::function<void()> while_shown;
  void ErrorBox(std::string_view text) override {
    RecordingReporter::ErrorBox(text);
    if (auto hook = std::exchange(while_shown, nullptr)) hook();
  }
};

// What the dialogs work on, with a transmit path that records each frame.
struct DialogFixture {
  DisplayConfig config;
  LinkState link;
  HookedReporter reporter;
  SerialSettings settings;
  DialogChoices choices;
  std::vector<std::string> sent;
  DialogContext context{config, link, reporter, settings, choices, [this](std::string_view frame) {
                          sent.emplace_back(frame);
                          link.AnswerPending = 1;
                          return true;
                        }};
};

// A dialog's control by its id.
template <typename Control = QWidget>
Control* Find(const QWidget& dialog, int id) {
  for (Control* control : dialog.findChildren<Control*>()) {
    if (control->property("controlId").toInt() == id) return control;
  }
  return nullptr;
}

inline QComboBox* List(const QWidget& dialog, int id) {
  return Find<QComboBox>(dialog, id);
}

// The operator chooses an item, as a click in the open list does.
inline void Choose(const QWidget& dialog, int id, int index) {
  QComboBox* list = List(dialog, id);
  list->setCurrentIndex(index);
  emit list->activated(index);
}

inline void Press(const QWidget& dialog, int id) {
  Find<QPushButton>(dialog, id)->click();
}

inline QStringList Items(const QComboBox* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
  return items;
}

}  // namespace qrv
