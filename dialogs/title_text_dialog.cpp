#include "title_text_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <algorithm>

#include "frame_senders.h"
#include "line_refusal.h"
#include "title_frame.h"
#include "title_line_edit.h"

namespace qrv {
namespace {

// In dialog units.
constexpr int kMargin = 7;
constexpr int kRowGap = 4;
constexpr int kColumnWidth = 78;

}  // namespace

TitleTextDialog::TitleTextDialog(DialogContext& context, QWidget* owner)
    : SettingDialog(context, ids::kTitleTextTemplate, QStringLiteral("情報（タイトル）の設定"), 0,
                    0, owner) {
  // The lines and their labels in the title font; each edit wide enough for a whole line,
  // 14 full-width characters, with its frame, margins and cursor.
  const QFont title_font = TitleFont();
  const QFontMetrics metrics(title_font);
  const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
  const int edit_width =
      metrics.horizontalAdvance(QString(kCodesPerLine, QChar(0x6F22))) + 2 * frame + 2 * 2 + 2;
  const int label_width = units().UnitsX(metrics.horizontalAdvance(QStringLiteral("7行目")) + 4);
  const int edit_x = kMargin + label_width;
  int bottom = 0;
  for (int line = 0; line < kLines; ++line) {
    auto* edit = Named(new TitleLineEdit(kTitleLineBytes, this),
                       QByteArray("titleLine" + QByteArray::number(line + 1)).constData(),
                       ids::kTitleLineFirst + line);
    edit->setFont(title_font);
    const int height = edit->sizeHint().height();
    edit->setGeometry(units().X(edit_x), units().Y(kMargin) + line * (height + units().Y(kRowGap)),
                      edit_width, height);
    bottom = edit->geometry().bottom();
    AddLabel(QStringLiteral("%1行目").arg(line + 1), edit, kMargin, label_width)
        ->setFont(title_font);
    connect(edit, &TitleLineEdit::touched, this, [this] {
      StoreLines();
      this->context().SettingStored();
    });
    connect(edit, &TitleLineEdit::refused, this, [this](const QString& notice) {
      QApplication::beep();
      notice_->setText(notice);
    });
    lines_[line] = edit;
  }

  const int column = edit_x + units().UnitsX(edit_width) + 8;
  AddPageNumber(column, kMargin);
  AddSlaveNumber(ids::kSlaveNoCombo, column, 46, false);
  AddButton(QStringLiteral("設定"), "send", ids::kSetButton, column, 88, kColumnWidth,
            [this] { SendPage(true); });
  AddButton(QStringLiteral("Not memory"), "sendNotMemory", ids::kNotMemoryButton, column, 108,
            kColumnWidth, [this] { SendPage(false); });
  AddButton(QStringLiteral("全Page設定"), "sendAllPages", ids::kSetAllPagesButton, column, 128,
            kColumnWidth, [this] { run()->Start(); });

  const int width = column + kColumnWidth + kMargin;
  const int run_y = std::max(units().UnitsY(bottom), 144) + 8;
  QLineEdit* counter =
      AddCounter(ids::kTitleCounter, Qt::AlignLeft, kMargin, run_y - 1, label_width - 4, 12);
  AddTimedRun(
      kRun, ids::kTitleProgress, edit_x, run_y, width - edit_x - kMargin,
      [this](int step) { SendTitleFrame(run_context(), true, step - 1); }, counter);
  notice_ = new QLabel(this);
  notice_->setObjectName(QStringLiteral("inputNotice"));
  units().Place(notice_, kMargin, run_y + 14, width - 2 * kMargin, 10);
  units().SizeDialog(this, width, run_y + 28);

  LoadControls();
  // Opening puts the focus on the page list: only the operator's touch of a line counts.
  findChild<QComboBox*>(QStringLiteral("pageNo"))->setFocus();
}

TitleTextDialog::~TitleTextDialog() {
  // The base destructor hides the dialog, and a line losing the focus then would store
  // into a dialog that is half gone.
  for (TitleLineEdit* line : lines_) disconnect(line, nullptr, this, nullptr);
}

void TitleTextDialog::reject() {
  StoreLines();
  input_method_.Restore(this);
  SettingDialog::reject();
}

void TitleTextDialog::Reload() {
  for (int line = 0; line < kLines; ++line) lines_[line]->Show(config().title(page(), line));
}

void TitleTextDialog::LeavePage() {
  StoreLines();
}

void TitleTextDialog::showEvent(QShowEvent* event) {
  SettingDialog::showEvent(event);
  input_method_.Open(this);
}

void TitleTextDialog::StoreLines() {
  for (int line = 0; line < kLines; ++line) {
    config().set_title(page(), line, lines_[line]->Bytes());
  }
}

void TitleTextDialog::SendPage(bool store) {
  StoreLines();
  // A run is under way: its pages go out one by one, this one in its turn.
  if (context().link.BatchStep() != 0) return;
  // The box says the page was refused; the foot says which line and why.
  if (!SendTitleFrame(context(), store, page()))
    notice_->setText(FirstTitleRefusal(config(), page()));
}

}  // namespace qrv
