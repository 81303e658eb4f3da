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
#include "line_refusal.h"
#include "messages.h"
#include "response_box_owner.h"
#include "run_steps.h"
#include "setting_items.h"
#include "title_line_edit.h"

namespace qrv {
namespace {

template <typename Control>
Control* Named(Control* control, const char* name, int id) {
  control->setObjectName(QString::fromLatin1(name));
  control->setProperty("controlId", id);
  return control;
}

// What a step sends, as the summary of a send names what it passed over.
QString StepName(int step) {
  switch (step) {
    case page_step::kTitle:
      return QStringLiteral("タイトル（7行とも）");
    case page_step::kColours:
      return QStringLiteral("文字色・縁取り色（7行とも）");
    case page_step::kBlink:
      return QStringLiteral("点滅");
    case page_step::kDisplayTime:
      return QStringLiteral("表示時間");
    default:
      return QString();
  }
}

}  // namespace

PageEditor::PageEditor(DialogContext& context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      queued_reporter_(context.reporter),
      run_context_(context.WithReporter(queued_reporter_)),
      step_context_(context.WithReporter(collector_)),
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
  fill_->setFocusPolicy(Qt::TabFocus);
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
  // Room for two lines whether or not a note is shown, so the picture above never jumps.
  note_->setMinimumHeight(2 * note_->fontMetrics().lineSpacing());
  note_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
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
    context_.config.set_fill(page_, line_, on);
    context_.SettingStored();
  });
  connect(send_, &QPushButton::clicked, this, [this] {
    StoreLine();
    if (context_.link.BatchStep() != 0) return;
    sending_page_ = page_;
    passed_over_.clear();
    // A page that cannot go whole ends with a step of its own, which names what was passed
    // over, in place of the board's "設定完了" to the last frame.
    bool whole = true;
    for (int step = 1; step <= kPageSendSteps; ++step)
      whole = whole && PageSendStep(context_.config, page_, step).refusal == FrameRefusal::kNone;
    run_->SetSteps(whole ? kPageSendSteps : kPageSendSteps + 1);
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
  // A click leaves the keyboard where it was (on the picture, the arrows then still move
  // the line); Tab reaches the list, and its focus mark then shows.
  list->setFocusPolicy(Qt::TabFocus);
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
  fill_->setChecked(config.fill(page_, line_));
  // A note on refused input belongs to the moment it was typed: it goes with the next change.
  note_->setText(LineRefusal());
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
  if (step <= kPageSendSteps) {
    const AllItemsStepResult result = PageSendStep(context_.config, page, step);
    collector_.last.clear();
    if (!SendChecked(step_context_, result) && result.refusal != FrameRefusal::kNone)
      passed_over_.push_back(PassedOver(step, result));
  }
  if (step == run_->plan().steps && !passed_over_.empty()) {
    QString text = QStringLiteral("Page %1 の次のものは送信していません:").arg(page + 1);
    for (const QString& line : passed_over_) text += QLatin1Char('\n') + line;
    run_context_.reporter.WarningBox(text.toStdString());
  }
}

QString PageEditor::PassedOver(int step, const AllItemsStepResult& result) const {
  const DisplayConfig& config = context_.config;
  const int page = sending_page_;
  QString why;
  for (int l = 0; l < kLines; ++l) {
    QString line_why;
    if (result.refusal == FrameRefusal::kTitle) line_why = TitleRefusal(config.title(page, l));
    if (result.refusal == FrameRefusal::kColour) line_why = ColourRefusal(config, page, l);
    if (!line_why.isEmpty()) why += QStringLiteral("\n  %1行目: %2").arg(l + 1).arg(line_why);
  }
  if (why.isEmpty()) why = QStringLiteral(" ") + collector_.last;
  return StepName(step) + QLatin1Char(':') + why;
}

QString PageEditor::LineRefusal() const {
  const DisplayConfig& config = context_.config;
  const QString colours = ColourRefusal(config, page_, line_);
  return colours.isEmpty() ? TitleRefusal(config.title(page_, line_)) : colours;
}

}  // namespace qrv
