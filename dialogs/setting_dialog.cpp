#include "setting_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "resource_ids.h"
#include "response_box_owner.h"

namespace qrv {
namespace {

// The "Page No." and "Slave No." groups, in dialog units.
constexpr int kChoiceGroupWidth = 78;
constexpr int kChoiceGroupHeight = 34;
constexpr int kButtonHeight = 16;
constexpr int kLineRowStep = 17;

class EnterSwallower : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
  }
};

}  // namespace

SettingDialog::SettingDialog(DialogContext& context, int template_id, const QString& title,
                             int width, int height, QWidget* owner)
    : TemplateDialog(template_id, title, width, height, owner),
      context_(context),
      queued_reporter_(context.reporter),
      run_context_(context.WithReporter(queued_reporter_)) {
  // The window active now, before this dialog shows: the one it was opened from.
  QWidget* active = QApplication::activeWindow();
  RecordResponseBoxOwner(active != nullptr ? active : owner);
}

void SettingDialog::reject() {
  if (run_ != nullptr) run_->End(KeepsErrorOnClose());
  TemplateDialog::reject();
}

void SettingDialog::LoadControls() {
  Reload();
  if (page_list_ != nullptr) Select(page_list_, page());
}

int SettingDialog::page() const {
  const int current = context_.config.current_page;
  return current >= 0 && current < kPages ? current : 0;
}

void SettingDialog::AddGroup(const QString& title, int x, int y, int width, int height) {
  units().Place(new QGroupBox(title, this), x, y, width, height);
}

QComboBox* SettingDialog::AddList(const QStringList& items, const char* name, int id, int x, int y,
                                  int width) {
  auto* list = Named(new QComboBox(this), name, id);
  // Inserted one by one at their positions: never sorted, so position = value.
  for (int i = 0; i < items.size(); ++i) list->insertItem(i, items[i]);
  list->setMaxVisibleItems(16);
  units().Place(list, x, y, width, 0);
  return list;
}

QLabel* SettingDialog::AddLabel(const QString& text, const QWidget* beside, int x, int width) {
  auto* label = new QLabel(text, this);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label->setGeometry(units().X(x), beside->y(), units().X(width), beside->height());
  return label;
}

QLineEdit* SettingDialog::AddNumber(const char* name, int id, const QWidget* beside, int x,
                                    int width) {
  QLineEdit* edit = ReadOnlyNumber(name, id, Qt::AlignRight);
  edit->setGeometry(units().X(x), beside->y(), units().X(width), beside->height());
  return edit;
}

QLineEdit* SettingDialog::AddCounter(int id, Qt::Alignment alignment, int x, int y, int width,
                                     int height) {
  QLineEdit* edit = ReadOnlyNumber("counter", id, alignment);
  units().Place(edit, x, y, width, height);
  return edit;
}

QLineEdit* SettingDialog::ReadOnlyNumber(const char* name, int id, Qt::Alignment alignment) {
  auto* edit = Named(new QLineEdit(this), name, id);
  edit->setReadOnly(true);
  edit->setFocusPolicy(Qt::NoFocus);
  edit->setAlignment(alignment | Qt::AlignVCenter);
  return edit;
}

QPushButton* SettingDialog::AddButton(const QString& text, const char* name, int id, int x, int y,
                                      int width, std::function<void()> pressed) {
  auto* button = Named(new QPushButton(text, this), name, id);
  // Enter presses only the button that has the focus (see keyPressEvent).
  button->setAutoDefault(false);
  units().Place(button, x, y, width, kButtonHeight);
  connect(button, &QPushButton::clicked, this, std::move(pressed));
  return button;
}

void SettingDialog::OnSetting(QComboBox* list, std::function<void(int value)> store) {
  connect(list, &QComboBox::activated, this, [this, store = std::move(store)](int value) {
    store(value);
    context_.SettingStored();
  });
}

std::array<QComboBox*, kLines> SettingDialog::AddLineLists(const QString& group,
                                                           const QStringList& items,
                                                           const char* name, int first_id, int x,
                                                           int y) {
  constexpr int kLabelWidth = 28;
  constexpr int kListWidth = 58;
  AddGroup(group, x, y, 8 + kLabelWidth + kListWidth + 8, 16 + kLines * kLineRowStep);
  std::array<QComboBox*, kLines> lists{};
  for (int line = 0; line < kLines; ++line) {
    const QByteArray control = QByteArray(name) + QByteArray::number(line + 1);
    lists[line] = AddList(items, control.constData(), first_id + line, x + 8 + kLabelWidth,
                          y + 13 + line * kLineRowStep, kListWidth);
    AddLabel(QStringLiteral("%1行目").arg(line + 1), lists[line], x + 8, kLabelWidth);
  }
  return lists;
}

void SettingDialog::AddPageNumber(int x, int y) {
  AddGroup(QStringLiteral("Page No."), x, y, kChoiceGroupWidth, kChoiceGroupHeight);
  page_list_ = AddList(NumberItems(1, kPages), "pageNo", ids::kPageNoList, x + 8, y + 14,
                       kChoiceGroupWidth - 16);
  connect(page_list_, &QComboBox::activated, this, [this](int index) {
    LeavePage();
    context_.config.current_page = index;
    LoadControls();
  });
}

void SettingDialog::AddSlaveNumber(int id, int x, int y, bool editable) {
  AddGroup(QStringLiteral("Slave No."), x, y, kChoiceGroupWidth, kChoiceGroupHeight);
  QComboBox* list =
      AddList(NumberItems(0, kPages - 1, 2), "slaveNo", id, x + 8, y + 14, kChoiceGroupWidth - 16);
  if (editable) {
    list->setEditable(true);
    // Typed text selects and stores nothing: Enter in the edit field never reaches the
    // list, which would otherwise choose the item the text names.
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setCompleter(nullptr);
    list->lineEdit()->installEventFilter(new EnterSwallower(list));
  }
  const bool rs485 = context_.settings.values().com_control == 1;
  list->setEnabled(rs485);
  Select(list, rs485 ? context_.choices.SlaveNumber : -1);
  connect(list, &QComboBox::activated, this,
          [this](int index) { context_.choices.SlaveNumber = index; });
}

void SettingDialog::AddPageColumn(int x, std::function<void()> send,
                                  std::function<void()> send_all) {
  AddPageNumber(x, 7);
  AddSlaveNumber(ids::kSlaveNoCombo, x, 46);
  AddButton(QStringLiteral("設定"), "send", ids::kSetButton, x, 92, kChoiceGroupWidth,
            std::move(send));
  AddButton(QStringLiteral("全Page設定"), "sendAllPages", ids::kSetAllPagesButton, x, 112,
            kChoiceGroupWidth, std::move(send_all));
}

QComboBox* SettingDialog::AddListAndSend(const QString& group, const QStringList& items,
                                         const char* name, int list_id, const char* send_name,
                                         int send_id, int x, int y, std::function<void()> send) {
  AddGroup(group, x, y, 110, kChoiceGroupHeight);
  QComboBox* list = AddList(items, name, list_id, x + 8, y + 14, 54);
  AddButton(QStringLiteral("設定"), send_name, send_id, x + 66, y + 13, 36, std::move(send));
  return list;
}

TimedRun* SettingDialog::AddTimedRun(RunPlan plan, int bar_id, int x, int y, int width,
                                     TimedRun::Step step, QLineEdit* counter) {
  auto* bar = Named(new QProgressBar(this), "progress", bar_id);
  bar->setTextVisible(false);
  units().Place(bar, x, y, width, 10);
  run_ =
      new TimedRun(context_.link, context_.dispatched, plan, bar, counter, std::move(step), this);
  return run_;
}

void SettingDialog::Select(QComboBox* list, int value) {
  list->setCurrentIndex(value >= 0 && value < list->count() ? value : -1);
}

void SettingDialog::keyPressEvent(QKeyEvent* event) {
  // Enter presses the focused button and nothing else: these dialogs have no default
  // button, and a frame must not go out because Enter was pressed in a list.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (auto* button = qobject_cast<QPushButton*>(focusWidget())) button->click();
    event->accept();
    return;
  }
  TemplateDialog::keyPressEvent(event);
}

}  // namespace qrv
