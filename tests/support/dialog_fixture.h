#pragma once

#include <QComboBox>
#include <QPushButton>
#include <string>
#include <vector>

#include "dialog_context.h"
#include "recording_reporter.h"

namespace qrv {

// What the dialogs work on, with a transmit path that records each frame.
struct DialogFixture {
  explicit DialogFixture(std::string settings_path = {})
      : store(settings, std::move(settings_path), reporter) {
    context.SendFrame = [this](std::string_view frame) {
      sent.emplace_back(frame);
      link.FrameSent();
      return true;
    };
    context.dispatched = &dispatched;
  }

  DisplayConfig config;
  LinkState link;
  RecordingReporter reporter;
  SerialSettings settings;
  SettingsStore store;
  DialogChoices choices;
  DispatchNotifier dispatched;
  std::vector<std::string> sent;
  DialogContext context{config, link, reporter, store, choices};
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

}  // namespace qrv
