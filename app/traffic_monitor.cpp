#include "traffic_monitor.h"

#include <QBrush>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QVBoxLayout>

#include "messages.h"
#include "resource_ids.h"

namespace qrv {

int TrafficModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant TrafficModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const TrafficRecorder::Entry& entry = rows_[static_cast<std::size_t>(index.row())];
  // A long frame is cut at the window's edge; its tip shows it whole.
  if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
    QString text = QString::fromStdString(entry.text);
    if (!entry.meaning.empty()) text += QStringLiteral("   ") + entry.meaning.c_str();
    return text;
  }
  if (role == Qt::ForegroundRole && !entry.meaning.empty()) return QBrush(Qt::red);
  return {};
}

void TrafficModel::Append(std::vector<TrafficRecorder::Entry> entries) {
  if (entries.empty()) return;
  const std::size_t limit = TrafficRecorder::kCapacity;
  // Only the newest batch's last kCapacity entries can stay.
  if (entries.size() > limit) entries.erase(entries.begin(), entries.end() - limit);
  const std::size_t total = rows_.size() + entries.size();
  const std::size_t drop = total > limit ? total - limit : 0;
  if (drop > 0) {
    beginRemoveRows({}, 0, static_cast<int>(drop) - 1);
    rows_.erase(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(drop));
    endRemoveRows();
  }
  const int first = static_cast<int>(rows_.size());
  beginInsertRows({}, first, first + static_cast<int>(entries.size()) - 1);
  for (auto& entry : entries) rows_.push_back(std::move(entry));
  endInsertRows();
}

void TrafficModel::Clear() {
  beginResetModel();
  rows_.clear();
  endResetModel();
}

TrafficMonitor::TrafficMonitor(TrafficRecorder& recorder, TrafficLog& log, Reporter& reporter,
                               QWidget* parent)
    : QWidget(parent, Qt::Window),
      recorder_(recorder),
      log_(log),
      reporter_(reporter),
      model_(this),
      list_(new QListView(this)),
      log_file_(new QCheckBox(QStringLiteral("ログファイルに記録"), this)),
      counts_(new QLabel(this)),
      choose_file_([](QWidget* parent, const QString& caption, bool replaces) {
        return QFileDialog::getSaveFileName(
            parent, caption, {}, {}, nullptr,
            replaces ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite);
      }) {
  setWindowTitle(QStringLiteral("通信モニタ"));
  list_->setObjectName(QStringLiteral("trafficList"));
  list_->setProperty("controlId", ids::kTrafficList);
  list_->setModel(&model_);
  // Rows of one height keep 2,000 of them cheap to lay out.
  list_->setUniformItemSizes(true);
  list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  auto* clear = new QPushButton(QStringLiteral("クリア"), this);
  clear->setProperty("controlId", ids::kTrafficClear);
  auto* save = new QPushButton(QStringLiteral("保存…"), this);
  save->setProperty("controlId", ids::kTrafficSave);
  log_file_->setProperty("controlId", ids::kTrafficLogFile);
  log_file_->setChecked(log_.is_open());
  counts_->setProperty("controlId", ids::kTrafficCounts);

  auto* controls = new QHBoxLayout;
  controls->addWidget(clear);
  controls->addWidget(save);
  controls->addWidget(log_file_);
  controls->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addWidget(list_, 1);
  layout->addWidget(counts_);
  resize(720, 420);

  connect(clear, &QPushButton::clicked, this, &TrafficMonitor::Clear);
  connect(save, &QPushButton::clicked, this, &TrafficMonitor::Save);
  connect(log_file_, &QCheckBox::clicked, this, &TrafficMonitor::LogToFile);
  pull_.setInterval(kPullMs);
  connect(&pull_, &QTimer::timeout, this, &TrafficMonitor::Pull);
  Pull();
}

void TrafficMonitor::Pull() {
  std::vector<TrafficRecorder::Entry> fresh = recorder_.Since(last_);
  if (!fresh.empty()) {
    last_ = fresh.back().number;
    // Follows the newest rows unless the operator scrolled up to read.
    const QScrollBar* bar = list_->verticalScrollBar();
    const bool following = bar->value() == bar->maximum();
    model_.Append(std::move(fresh));
    if (following) list_->scrollToBottom();
  }
  const TrafficRecorder::Counts counts = recorder_.counts();
  counts_->setText(QStringLiteral("送信 %1    応答 %2    エラー応答 %3    無応答 (No Connect) %4")
                       .arg(counts.sent)
                       .arg(counts.answers)
                       .arg(counts.errors)
                       .arg(counts.unanswered));
}

void TrafficMonitor::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Pull();
  pull_.start();
}

void TrafficMonitor::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  pull_.stop();
}

void TrafficMonitor::Clear() {
  recorder_.Clear();
  model_.Clear();
  Pull();
}

void TrafficMonitor::Save() {
  const QString path = choose_file_(this, QStringLiteral("通信モニタの保存"), true);
  if (path.isEmpty()) return;
  // The old file stays whole unless the new one is written to the end.
  QSaveFile file(path);
  bool written = file.open(QIODevice::WriteOnly);
  for (int row = 0; written && row < model_.rowCount(); ++row) {
    const QString text = model_.data(model_.index(row), Qt::DisplayRole).toString() + '\n';
    written = file.write(text.toUtf8()) >= 0;
  }
  if (!written || !file.commit()) reporter_.WarningBox(msg::kCantFileOpen);
}

void TrafficMonitor::LogToFile(bool on) {
  if (!on) {
    log_.Close();
    return;
  }
  // The log is appended to, as with --log: no question about replacing it.
  const QString path = choose_file_(this, QStringLiteral("ログファイル"), false);
  std::string error;
  if (path.isEmpty() || !log_.Open(path.toStdString(), &error)) {
    if (!path.isEmpty())
      reporter_.WarningBox(msg::kNoTrafficLog + path.toStdString() + ": " + error);
    log_file_->setChecked(false);
  }
}

}  // namespace qrv
