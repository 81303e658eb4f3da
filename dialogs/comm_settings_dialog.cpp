#include "comm_settings_dialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>

#include "messages.h"
#include "resource_ids.h"

namespace qrv {
namespace {

QComboBox* ChoiceList(QWidget* parent, const QStringList& items, int stored) {
  auto* combo = new QComboBox(parent);
  combo->addItems(items);
  // A stored value that names no item shows nothing rather than a wrong choice.
  combo->setCurrentIndex(stored >= 0 && stored < items.size() ? stored : -1);
  return combo;
}

}  // namespace

CommSettingsDialog::CommSettingsDialog(SerialSettings& settings, std::string settings_path,
                                       Reporter& reporter, QWidget* owner)
    : TemplateDialog(ids::kCommSettingsTemplate, QStringLiteral("通信の設定"), 141, 75, owner),
      settings_(settings),
      settings_path_(std::move(settings_path)),
      reporter_(reporter) {
  const DialogUnits& du = units();

  du.Place(new QGroupBox(QStringLiteral("COM Port"), this), 7, 7, 60, 40);
  QComboBox* port =
      Named(ChoiceList(this,
                       {QStringLiteral("COM 1"), QStringLiteral("COM 2"), QStringLiteral("COM 3"),
                        QStringLiteral("COM 4"), QStringLiteral("COM 5"), QStringLiteral("COM 6")},
                       settings_.com_port),
            "comPort", ids::kComPortCombo);
  du.Place(port, 13, 24, 48, 105);
  auto* ok = Named(new QPushButton(QStringLiteral("OK"), this), "ok", ids::kOk);
  ok->setDefault(true);
  du.Place(ok, 13, 54, 50, 14);
  du.Place(new QGroupBox(QStringLiteral("Control"), this), 74, 7, 60, 40);
  QComboBox* control = Named(ChoiceList(this, {QStringLiteral("RS-232C"), QStringLiteral("RS-485")},
                                        settings_.com_control),
                             "control", ids::kControlCombo);
  du.Place(control, 80, 24, 48, 105);

  connect(port, &QComboBox::activated, this,
          [this](int index) { Store("com_port", settings_.com_port, index); });
  connect(control, &QComboBox::activated, this,
          [this](int index) { Store("com_control", settings_.com_control, index); });
  // The dialog changes nothing on closing: every choice is already stored.
  connect(ok, &QPushButton::clicked, this, [this] { done(ids::kCancel); });
}

void CommSettingsDialog::Store(const char* key, std::int32_t& setting, int index) {
  setting = index;
  if (!WriteSerialSetting(settings_path_, key, index)) {
    reporter_.WarningBox(std::string(msg::kSettingsNotSaved) + settings_path_);
  }
}

}  // namespace qrv
