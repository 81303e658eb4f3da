#include "page_editor.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "dialog_units.h"
#include "frame_senders.h"
#include "messages.h"
#include "response_box_owner.h"
#include "setting_items.h"
#include "title_frame.h"
#include "title_line_edit.h"

namespace qrv {
namespace {

template <typename Control>
Control* Named(Control* control, const char* name, int id) {
  control->setObjectName(QString::fromLatin1(name));
  control->setProperty("controlId", id);
  return control;
}

bool FillBit(const DisplayConfig& config, int page, int line) {
  return (config.fill_mask[page] >> line & 1) != 0;
}

// A character of one byte: ASCII or half-width katakana, neither of which the board shows.
bool HasHalfWidth(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); i += 2) {
    if (!IsSjisLeadByte(static_cast<unsigned char>(text[i]))) return true;
  }
  return false;
}

}  // namespace

PageEditor::PageEditor(DialogContext& context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      queued_reporter_(context.reporter),
      run_context_(context.WithReporter(queued_reporter_)),
      line_label_(new QLabel(this)),
      text_(Named(new TitleLineEdit(kTitleLineBytes, this), "lineText", ids::kEditorLineText)),
      fill_(Named(new QCheckBox(QStringLiteral("背景"), this), "fill", ids::kEditorFill)),
      send_(Named(new QPushButton(QStringLiteral("このページを送信"), this), "sendPage",
                  ids::kEditorSend)),
      note_(Named(new QLabel(this), "note", ids::kEditorNote)) {
  auto* rows = new QVBoxLayout(this);
  rows->setContentsMargins(0, 0, 0, 0);
  auto* line_row = new QHBoxLayout;
  line_row->addWidget(line_label_);
  text_->setFont(TitleFont());
  line_row->addWidget(text_, 1);
  rows->addLayout(line_row);

  auto* line_settings = new QHBoxLayout;
  char_colour_ = AddList(line_settings, ColourItems(), "charColour", ids::kEditorCharColour,
                         QStringLiteral("文字色"));
  border_colour_ = AddList(line_settings, ColourItems(), "borderColour", ids::kEditorBorderColour,
                           QStringLiteral("縁取り色"));
  blink_ = AddList(line_settings, NumberItems(kBlinkRange), "blink", ids::kEditorBlink,
                   QStringLiteral("点滅"));
  line_settings->addWidget(fill_);
  line_settings->addStretch();
  rows->addLayout(line_settings);

  auto* page_row = new QHBoxLayout;
  display_time_ = AddList(page_row, NumberItems(kDisplayTimeRange), "displayTime",
                          ids::kEditorDisplayTime, QStringLiteral("表示時間"));
  char_level_ = AddList(page_row, LevelItems(), "charLevel", ids::kEditorCharLevel,
                        QStringLiteral("文字レベル"));
  page_row->addStretch();
  auto* bar = Named(new QProgressBar(this), "progress", ids::kEditorProgress);
  bar->setTextVisible(false);
  page_row->addWidget(send_);
  page_row->addWidget(bar, 1);
  rows->addLayout(page_row);
  note_->setWordWrap(true);
  rows->addWidget(note_);

  run_ = new TimedRun(
      context_.link, context_.dispatched, kRun, bar, nullptr, [this](int step) { SendStep(step); },
      this);
  connect(text_, &TitleLineEdit::touched, this, &PageEditor::StoreLine);
  connect(text_, &TitleLineEdit::refused, this, [this](const QString& notice) {
    QApplication::beep();
    note_->setText(notice);
  });
  connect(char_colour_, &QComboBox::activated, this,
          [this] { Store(char_colour_, context_.config.char_colour[page_][line_]); });
  connect(border_colour_, &QComboBox::activated, this,
          [this] { Store(border_colour_, context_.config.border_colour[page_][line_]); });
  connect(blink_, &QComboBox::activated, this,
          [this] { Store(blink_, context_.config.blink[page_][line_]); });
  connect(display_time_, &QComboBox::activated, this,
          [this] { Store(display_time_, context_.config.display_time[page_]); });
  connect(char_level_, &QComboBox::activated, this,
          [this] { Store(char_level_, context_.config.char_level[page_]); });
  connect(fill_, &QCheckBox::clicked, this, [this](bool on) {
    std::int32_t& mask = context_.config.fill_mask[page_];
    mask = on ? mask | 1 << line_ : mask & ~(1 << line_);
    context_.SettingStored();
  });
  connect(send_, &QPushButton::clicked, this, [this] {
    StoreLine();
    if (context_.link.BatchStep != 0) return;
    sending_page_ = page_;
    RecordResponseBoxOwner(window());
    run_->SetPace(context_.settings.values().answer_pace != 0 ? Pace::kAnswer : Pace::kFixed);
    run_->Start();
  });
  Reload();
}

PageEditor::~PageEditor() {
  // A line losing the focus while the window goes would store into an editor half gone.
  disconnect(text_, nullptr, this, nullptr);
  if (run_->running()) run_->End();
}

QComboBox* PageEditor::AddList(QBoxLayout* row, const QStringList& items, const char* name, int id,
                               const QString& label) {
  auto* list = Named(new QComboBox(this), name, id);
  list->addItems(items);
  list->setMaxVisibleItems(16);
  row->addWidget(new QLabel(label, this));
  row->addWidget(list);
  row->addSpacing(8);
  return list;
}

void PageEditor::Edit(int page, int line) {
  if (page == page_ && line == line_) return;
  StoreLine();
  page_ = page;
  line_ = line;
  note_->clear();
  Reload();
}

void PageEditor::Reload() {
  const DisplayConfig& config = context_.config;
  line_label_->setText(QStringLiteral("Page %1  %2行目").arg(page_ + 1).arg(line_ + 1));
  // Showing the same bytes again would move the cursor of a line being typed.
  if (text_->Bytes() != config.title(page_, line_)) text_->Show(config.title(page_, line_));
  const auto select = [](QComboBox* list, int value) {
    list->setCurrentIndex(value >= 0 && value < list->count() ? value : -1);
  };
  select(char_colour_, config.char_colour[page_][line_]);
  select(border_colour_, config.border_colour[page_][line_]);
  select(blink_, config.blink[page_][line_]);
  select(display_time_, config.display_time[page_]);
  select(char_level_, config.char_level[page_]);
  fill_->setChecked(FillBit(config, page_, line_));
  const QString refusal = LineRefusal();
  if (!refusal.isEmpty() || note_->property("refusal").toBool()) {
    note_->setText(refusal);
    note_->setProperty("refusal", !refusal.isEmpty());
  }
}

void PageEditor::StoreLine() {
  const std::string bytes = text_->Bytes();
  if (bytes == context_.config.title(page_, line_)) return;
  context_.config.set_title(page_, line_, bytes);
  context_.SettingStored();
}

void PageEditor::Store(QComboBox* list, std::int32_t& value) {
  value = list->currentIndex();
  context_.SettingStored();
}

void PageEditor::SendStep(int step) {
  const int page = sending_page_;
  switch (step) {
    case 1:
      SendTitleFrame(run_context_, true, page);
      break;
    case 2:
      SendPageColourFrame(run_context_, page, RefusalBox::kWarning);
      break;
    case 3:
      SendPageBlinkFrame(run_context_, page, RefusalBox::kWarning);
      break;
    case 4:
      SendPageFillFrame(run_context_, page);
      break;
    case 5:
      SendCharLevelFrame(run_context_);
      break;
    case 6:
      SendDisplayTimeFrame(run_context_);
      break;
    default:
      break;
  }
}

QString PageEditor::LineRefusal() const {
  const DisplayConfig& config = context_.config;
  if (config.char_colour[page_][line_] == kColourBlank &&
      config.border_colour[page_][line_] == kColourBlank) {
    return QStringLiteral("文字色と縁取り色がともにブランクの行は送れません（%1）")
        .arg(QString::fromLatin1(msg::kCantSetColour));
  }
  // The line alone on an otherwise empty page: the fault, if any, is this line's.
  static DisplayConfig probe;
  probe.set_title(0, 0, config.title(page_, line_));
  PageText text;
  TitleCodes codes;
  TitleCheck why;
  if (ComposeTitlePage(probe, 0, text, &why) && ConvertTitlePage(text, codes, &why)) return {};
  if (why.fault == TitleFault::kLineTooLong)
    return QStringLiteral("28バイトを超える行は送れません");
  if (HasHalfWidth(config.title(page_, line_)))
    return QStringLiteral("半角文字を含む行は送れません");
  return QStringLiteral("%1（%2文字目）")
      .arg(QString::fromUtf8(msg::kTitleRefused))
      .arg(why.column + 1);
}

}  // namespace qrv
