#pragma once

#include "setting_dialog.h"

namespace qrv {

// A per-page setting shown eight pages at a time, the group chosen in "Page change" and
// shared by every dialog of this kind; "設定" sends one frame that carries all 32 pages.
class PageGroupDialog : public SettingDialog {
  Q_OBJECT

 public:
  static constexpr int kGroupPages = 8;

  // What sets one such dialog apart from another.
  struct Kind {
    int template_id;
    QString title;
    QString group;  // caption of the group that holds the eight lists
    QStringList items;
    const char* name;
    int first_list_id;
    int slave_id;
    PerPage<std::int32_t> DisplayConfig::*values;
    void (*send)(const DialogContext&);
  };

  PageGroupDialog(DialogContext& context, const Kind& kind, QWidget* owner);

 protected:
  void Reload() override;

 private:
  int PageOf(int row) const;

  PerPage<std::int32_t> DisplayConfig::*values_;
  QComboBox* group_ = nullptr;
  std::array<QComboBox*, kGroupPages> lists_{};
  std::array<QLineEdit*, kGroupPages> numbers_{};
};

}  // namespace qrv
