#include "comm_settings_dialog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QWheelEvent>

#include "resource_ids.h"
#include "serial_port.h"

namespace qrv {
namespace {

constexpr int kComPorts = 6;

// A list that acts only on a choice made on purpose: an item picked from the open list, or
// Enter there. Over the closed list the wheel and the keys that step through the items do
// nothing, since each choice reopens the port. It calls before dropping down, so what it
// offers is fresh.
class DeliberateList : public QComboBox {
 public:
  DeliberateList(QWidget* parent, std::function<void()> refresh = {})
      : QComboBox(parent), refresh_(std::move(refresh)) {}
  void showPopup() override {
    if (refresh_) refresh_();
    QComboBox::showPopup();
  }

 protected:
  void wheelEvent(QWheelEvent* event) override { event->ignore(); }
  void keyPressEvent(QKeyEvent* event) override {
    const int key = event->key();
    const bool opens =
        (key == Qt::Key_Up || key == Qt::Key_Down) && event->modifiers().testFlag(Qt::AltModifier);
    const bool steps = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
                       key == Qt::Key_PageDown || key == Qt::Key_Home || key == Qt::Key_End;
    // Typed letters would pick the item they begin.
    const bool searches = !event->text().isEmpty() && event->text() != QStringLiteral(" ") &&
                          event->text().at(0).isPrint();
    if (!opens && (steps || searches)) {
      event->ignore();
      return;
    }
    QComboBox::keyPressEvent(event);
  }

 private:
  std::function<void()> refresh_;
};

QComboBox* ChoiceList(QWidget* parent, const QStringList& items, int stored) {
  auto* combo = new DeliberateList(parent);
  combo->addItems(items);
  // A stored value that names no item shows nothing rather than a wrong choice.
  combo->setCurrentIndex(stored >= 0 && stored < items.size() ? stored : -1);
  return combo;
}

QString Local(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

CommSettingsDialog::CommSettingsDialog(SettingsStore& settings, QWidget* owner, PortControl port)
    : TemplateDialog(ids::kCommSettingsTemplate, QStringLiteral("通信の設定"), 141, 88, owner),
      settings_(settings),
      port_(std::move(port)) {
  const DialogUnits& du = units();

  du.Place(new QGroupBox(QStringLiteral("COM Port"), this), 7, 7, 60, 40);
  port_list_ =
      Named(new DeliberateList(this, [this] { ListPorts(); }), "comPort", ids::kComPortCombo);
  du.Place(port_list_, 13, 24, 48, 105);
  auto* ok = Named(new QPushButton(QStringLiteral("OK"), this), "ok", ids::kOk);
  ok->setDefault(true);
  du.Place(ok, 13, 54, 50, 14);
  du.Place(new QGroupBox(QStringLiteral("Control"), this), 74, 7, 60, 40);
  QComboBox* control = Named(ChoiceList(this, {QStringLiteral("RS-232C"), QStringLiteral("RS-485")},
                                        settings_.values().com_control),
                             "control", ids::kControlCombo);
  du.Place(control, 80, 24, 48, 105);
  in_use_ = Named(new QLabel(this), "portInUse", ids::kPortInUseText);
  du.Place(in_use_, 7, 73, 127, 10);
  ListPorts();

  connect(port_list_, &QComboBox::activated, this, &CommSettingsDialog::ChoosePort);
  connect(control, &QComboBox::activated, this,
          [this](int index) { settings_.SetComControl(index); });
  // The dialog changes nothing on closing: every choice is already stored.
  connect(ok, &QPushButton::clicked, this, [this] { done(ids::kCancel); });
}

void CommSettingsDialog::ListPorts() {
  const QSignalBlocker quiet(port_list_);
  port_list_->clear();
  const std::string device = port_.device ? port_.device() : std::string();
  int in_use_item = -1;  // the item of the device in use
  for (int n = 1; n <= kComPorts; ++n) {
    if (!device.empty() && device == PortDeviceName(n - 1)) in_use_item = port_list_->count();
    port_list_->addItem(QStringLiteral("COM %1").arg(n));
  }
  const SerialSettings& stored = settings_.values();
  const std::string& chosen = stored.com_device;
  int selected =
      chosen.empty() && stored.com_port >= 0 && stored.com_port < kComPorts ? stored.com_port : -1;
  const std::vector<SerialDevice> devices =
      port_.list_devices ? port_.list_devices() : std::vector<SerialDevice>{};
  for (const SerialDevice& d : devices) {
    if (!chosen.empty() && (chosen == d.path || chosen == d.node)) selected = port_list_->count();
    if (!device.empty() && (device == d.path || device == d.node))
      in_use_item = port_list_->count();
    port_list_->addItem(Local(d.description + "  " + d.path), Local(d.path));
  }
  // A device server, a device the system does not list (a pseudo-terminal) or one unplugged
  // since it was chosen stays the choice shown.
  if (!chosen.empty() && selected < 0) {
    selected = port_list_->count();
    if (device == chosen) in_use_item = selected;
    const bool absent = port_.present && !port_.present(chosen);
    port_list_->addItem(Local(chosen) + (absent ? QStringLiteral("  (not present)") : QString()),
                        Local(chosen));
  }
  // The list shows what the program talks through: a --port or --simulate device the
  // settings do not name is the item shown, not the stored choice.
  if (!device.empty() && in_use_item < 0) {
    in_use_item = port_list_->count();
    port_list_->addItem(Local(device), Local(device));
  }
  port_list_->setCurrentIndex(in_use_item >= 0 ? in_use_item : selected);
  port_list_->view()->setMinimumWidth(port_list_->view()->sizeHintForColumn(0) + 24);

  const bool open = port_.open && port_.open();
  const QString in_use =
      device.empty()
          ? QStringLiteral("In use: none")
          : QStringLiteral("In use: %1 (%2)")
                .arg(Local(device), open ? QStringLiteral("open") : QStringLiteral("not open"));
  // A /dev/serial/by-id/ name is long: the middle goes, the whole is in the tip.
  in_use_->setText(in_use_->fontMetrics().elidedText(in_use, Qt::ElideMiddle, in_use_->width()));
  in_use_->setToolTip(in_use);
}

void CommSettingsDialog::ChoosePort(int index) {
  if (index < 0) return;
  std::string device;
  if (index < kComPorts) {
    settings_.SetComPort(index);
    device = PortDeviceName(index);
  } else {
    device = port_list_->itemData(index).toString().toStdString();
    settings_.SetComDevice(device);
  }
  if (port_.switch_to) port_.switch_to(device);
  ListPorts();
}

}  // namespace qrv
