#pragma once

#include <QAbstractListModel>
#include <QCheckBox>
#include <QLabel>
#include <QListView>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

#include "reporter.h"
#include "traffic_log.h"
#include "traffic_recorder.h"

namespace qrv {

// The monitor's rows: at most TrafficRecorder::kCapacity, the oldest dropped first. An error
// answer is red, its meaning appended.
class TrafficModel : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;
  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  void Append(std::vector<TrafficRecorder::Entry> entries);
  void Clear();

 private:
  std::deque<TrafficRecorder::Entry> rows_;
};

// "通信モニタ": every frame sent and line received, as the traffic log writes them, newest
// at the bottom, with counts at the foot. It takes what the recorder holds in batches, so
// the link never waits for the window.
class TrafficMonitor : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kPullMs = 100;
  // A file name to write, empty when cancelled (QFileDialog::getSaveFileName by default);
  // replaces: whether an existing file would be replaced rather than appended to.
  using ChooseFile = std::function<QString(QWidget* parent, const QString& caption, bool replaces)>;

  TrafficMonitor(TrafficRecorder& recorder, TrafficLog& log, Reporter& reporter,
                 QWidget* parent = nullptr);

  // Takes the new entries and counts; the timer calls it while the window is shown.
  void Pull();
  void set_choose_file(ChooseFile choose) { choose_file_ = std::move(choose); }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void Clear();
  void Save();
  void LogToFile(bool on);

  TrafficRecorder& recorder_;
  TrafficLog& log_;
  Reporter& reporter_;
  TrafficModel model_;
  QListView* list_;
  QCheckBox* log_file_;
  QLabel* counts_;
  QTimer pull_;
  std::uint64_t last_ = 0;  // number of the last entry taken
  ChooseFile choose_file_;
};

}  // namespace qrv
