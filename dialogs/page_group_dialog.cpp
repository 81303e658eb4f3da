#include "page_group_dialog.h"

#include <QComboBox>
#include <QLineEdit>

#include "resource_ids.h"

namespace qrv {
namespace {

constexpr int kRowStep = 17;

}  // namespace

PageGroupDialog::PageGroupDialog(DialogContext& context, const Kind& kind, QWidget* owner)
    : SettingDialog(context, kind.template_id, kind.title, 200, 172, owner), values_(kind.values) {
  AddGroup(kind.group, 7, 7, 100, 16 + kGroupPages * kRowStep);
  for (int row = 0; row < kGroupPages; ++row) {
    const QByteArray list_name = QByteArray(kind.name) + QByteArray::number(row + 1);
    lists_[row] = AddList(kind.items, list_name.constData(), kind.first_list_id + row, 42,
                          20 + row * kRowStep, 56);
    const QByteArray number_name = "pageNumber" + QByteArray::number(row + 1);
    numbers_[row] =
        AddNumber(number_name.constData(), ids::kPageNumberFirst + row, lists_[row], 15, 22);
    OnSetting(lists_[row], [this, row](int value) { (config().*values_)[PageOf(row)] = value; });
  }

  AddGroup(QStringLiteral("Page change"), 115, 7, 78, 34);
  group_ = AddList({QStringLiteral("P 1～ 8"), QStringLiteral("P 9～P16"),
                    QStringLiteral("P17～P24"), QStringLiteral("P25～P32")},
                   "pageGroup", ids::kPageGroupList, 123, 21, 62);
  connect(group_, &QComboBox::activated, this, [this](int index) {
    this->context().choices.PageGroup = index;
    LoadControls();
  });
  AddSlaveNumber(kind.slave_id, 115, 46);
  AddButton(QStringLiteral("設定"), "send", ids::kSetButton, 115, 92, 78,
            [this, send = kind.send] { send(this->context()); });
  LoadControls();
}

int PageGroupDialog::PageOf(int row) const {
  // A group out of range (never chosen here) shows the first eight pages.
  const int group = context().choices.PageGroup;
  return (group >= 0 && group < kPages / kGroupPages ? group : 0) * kGroupPages + row;
}

void PageGroupDialog::Reload() {
  Select(group_, context().choices.PageGroup);
  for (int row = 0; row < kGroupPages; ++row) {
    Select(lists_[row], (config().*values_)[PageOf(row)]);
    numbers_[row]->setText(QString::number(PageOf(row) + 1));
  }
}

}  // namespace qrv
