#include "preview_window.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "board_preview.h"
#include "page_editor.h"
#include "resource_ids.h"

namespace qrv {
namespace {

constexpr int kFrameMs = 100;    // animation step: blink edges at most this late
constexpr int kCoalesceMs = 30;  // changes that come together are drawn once
const QColor kBoardColour(18, 18, 18);
const QColor kDarkLed(40, 40, 40);

// A line whose colours are both blank keeps its page's colours from the board: the editor
// marks it as it marks a refused text.
void HatchBlankColourLines(const DisplayConfig& config, int page, PreviewPage& preview) {
  for (int l = 0; l < kLines; ++l) {
    if (config.char_colour[page][l] != kColourBlank ||
        config.border_colour[page][l] != kColourBlank)
      continue;
    std::fill_n(preview.refused.begin() + l * kCodesPerLine, kCodesPerLine, true);
  }
}

bool Blinks(const PreviewPage& page) {
  return std::any_of(page.lines.begin(), page.lines.end(),
                     [](const PreviewLine& l) { return l.blink != 0; });
}

}  // namespace

LedBoard::LedBoard(QWidget* parent) : QWidget(parent) {
  setMinimumSize(kDotsWide * 2, kDotsHigh * 2);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  // Focus on a click, so the arrow keys then move the selection.
  setFocusPolicy(Qt::ClickFocus);
}

void LedBoard::Select(int line) {
  if (line == selected_) return;
  selected_ = line;
  update();
}

QRectF LedBoard::BoardRect() const {
  // Square dots, the board kept in its 2:1 shape and centred.
  const double pitch = std::min(width() / double(kDotsWide), height() / double(kDotsHigh));
  return QRectF((width() - pitch * kDotsWide) / 2, (height() - pitch * kDotsHigh) / 2,
                pitch * kDotsWide, pitch * kDotsHigh);
}

void LedBoard::mousePressEvent(QMouseEvent* event) {
  const QRectF board = BoardRect();
  const QPointF at = event->position();
  if (!board.contains(at)) return;
  clicked(std::clamp(static_cast<int>((at.y() - board.top()) * kLines / board.height()), 0,
                     kLines - 1));
}

void LedBoard::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
}

void LedBoard::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

void LedBoard::Show(const DotImage& dots) {
  // Most animation frames change nothing: drawing 25,088 LEDs is what costs.
  if (dots == dots_) return;
  dots_ = dots;
  Draw();
  update();
}

void LedBoard::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Draw();
}

void LedBoard::Draw() {
  picture_ = QImage(size(), QImage::Format_RGB32);
  picture_.fill(kBoardColour);
  if (dots_.size() != static_cast<std::size_t>(kDotsWide * kDotsHigh)) return;
  const QRectF board = BoardRect();
  const double pitch = board.width() / kDotsWide;
  const QPointF origin = board.topLeft();
  QPainter painter(&picture_);
  painter.setRenderHint(QPainter::Antialiasing, pitch >= 3);
  painter.setPen(Qt::NoPen);
  for (int y = 0; y < kDotsHigh; ++y) {
    for (int x = 0; x < kDotsWide; ++x) {
      const Rgb& dot = dots_[static_cast<std::size_t>(y * kDotsWide + x)];
      const bool lit = dot.r != 0 || dot.g != 0 || dot.b != 0;
      painter.setBrush(lit ? QColor(dot.r, dot.g, dot.b) : kDarkLed);
      painter.drawEllipse(QRectF(origin.x() + x * pitch + pitch * 0.1,
                                 origin.y() + y * pitch + pitch * 0.1, pitch * 0.8, pitch * 0.8));
    }
  }
}

void LedBoard::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
  if (selected_ < 0) return;
  // Around the line's cells, on the gaps between LEDs and the board's edge.
  const QRectF board = BoardRect();
  const double height = board.height() / kLines;
  const QRectF line(board.left(), board.top() + selected_ * height, board.width(), height);
  // Blue dashes on white show on every colour a line may be lit or filled with, blue too;
  // the frame is bolder while the picture has the keyboard.
  const QRectF frame = line.adjusted(-1, -0.5, 0, -0.5);
  const double width = hasFocus() ? 3 : 2;
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::white, width));
  painter.drawRect(frame);
  QPen dashes(QColor(40, 110, 255), width, Qt::CustomDashLine);
  dashes.setDashPattern({3, 3});
  painter.setPen(dashes);
  painter.drawRect(frame);
}

PreviewWindow::PreviewWindow(DialogContext& context, BoardSource board, QWidget* parent)
    : QWidget(parent, Qt::Window),
      context_(context),
      config_(context.config),
      board_(std::move(board)),
      source_(new QComboBox(this)),
      pages_(new QComboBox(this)),
      leds_(new LedBoard(this)),
      editor_(new PageEditor(context, this)),
      note_(new QLabel(this)) {
  setWindowTitle(QStringLiteral("プレビュー"));
  source_->setObjectName(QStringLiteral("previewSource"));
  source_->setProperty("controlId", ids::kPreviewSource);
  source_->addItem(QStringLiteral("設定"));
  if (board_) source_->addItem(QStringLiteral("ボード"));
  source_->setEnabled(source_->count() > 1);
  // As the editor's lists: a click leaves the arrows to the picture.
  source_->setFocusPolicy(Qt::TabFocus);
  pages_->setFocusPolicy(Qt::TabFocus);
  pages_->setObjectName(QStringLiteral("previewPage"));
  pages_->setProperty("controlId", ids::kPreviewPage);
  for (int p = 1; p <= kPages; ++p) pages_->addItem(QStringLiteral("Page %1").arg(p));
  pages_->addItem(QStringLiteral("Auto"));
  const DisplayConfig& config = context.config;
  const bool on_auto =
      config.display_page_auto != 0 || config.current_page < 0 || config.current_page >= kPages;
  pages_->setCurrentIndex(on_auto ? 0 : config.current_page);
  note_->setText(QString::fromStdString(renderer_.warning()));
  note_->setVisible(!renderer_.warning().empty());

  auto* controls = new QHBoxLayout;
  controls->addWidget(source_);
  controls->addWidget(pages_);
  controls->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addWidget(leds_, 1);
  layout->addWidget(editor_);
  layout->addWidget(note_);
  // Three screen pixels a dot where the screen has room, less where it has not.
  QSize size(kDotsWide * 3 + 24, kDotsHigh * 3 + 60 + editor_->sizeHint().height());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
  }
  resize(size.expandedTo(minimumSizeHint()));
  RestoreGeometry();

  animation_.setInterval(kFrameMs);
  connect(&animation_, &QTimer::timeout, this, &PreviewWindow::Tick);
  const auto restart = [this] {
    page_since_ = clock_.elapsed();
    Render();
    FollowPage();
  };
  leds_->clicked = [this](int line) { SelectLine(line); };
  connect(source_, &QComboBox::activated, this, restart);
  connect(pages_, &QComboBox::activated, this, restart);
  clock_.start();
  Render();
  FollowPage();
}

void PreviewWindow::RestoreGeometry() {
  const QStringList kept =
      QString::fromStdString(context_.settings.values().preview_window).split(QLatin1Char(','));
  if (kept.size() != 4) return;
  int n[4];
  for (int i = 0; i < 4; ++i) {
    bool ok = false;
    n[i] = kept[i].trimmed().toInt(&ok);
    if (!ok) return;
  }
  const QRect where(n[0], n[1], n[2], n[3]);
  // A screen that has gone since, or a smaller one: the window opens where it would have.
  const QScreen* screen = QGuiApplication::screenAt(where.center());
  if (where.width() < minimumSizeHint().width() || where.height() < minimumSizeHint().height() ||
      screen == nullptr || !screen->availableGeometry().intersects(where)) {
    return;
  }
  resize(where.size());
  move(where.topLeft());
}

void PreviewWindow::KeepGeometry() {
  const QRect where(pos(), size());
  context_.settings.SetPreviewWindow(QStringLiteral("%1,%2,%3,%4")
                                         .arg(where.x())
                                         .arg(where.y())
                                         .arg(where.width())
                                         .arg(where.height())
                                         .toStdString());
}

void PreviewWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (!event->spontaneous()) KeepGeometry();
}

void PreviewWindow::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
      if (editor_->isEnabled()) {
        SelectLine(std::clamp(line_ + (event->key() == Qt::Key_Up ? -1 : 1), 0, kLines - 1));
      }
      return;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      ShowPage(std::clamp(page_ + (event->key() == Qt::Key_PageUp ? -1 : 1), 0, kPages - 1));
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

void PreviewWindow::SelectLine(int line) {
  if (!editor_->isEnabled()) return;
  line_ = line;
  FollowPage();
}

void PreviewWindow::ShowPage(int index) {
  pages_->setCurrentIndex(index);
  page_since_ = clock_.elapsed();
  Render();
  FollowPage();
}

void PreviewWindow::FollowPage() {
  const bool editable = !FromBoard() && !Auto();
  editor_->setEnabled(editable);
  leds_->Select(editable ? line_ : -1);
  if (editable) editor_->Edit(page_, line_);
}

bool PreviewWindow::Auto() const {
  return pages_->currentIndex() == kPages;
}

bool PreviewWindow::FromBoard() const {
  return source_->currentIndex() == 1 && board_;
}

int PreviewWindow::DisplaySeconds(int page) const {
  if (FromBoard()) {
    if (const std::optional<BoardState> board = board_()) return board->display_time[page];
  }
  return config_.display_time[page];
}

void PreviewWindow::ConfigChanged() {
  if (pending_) return;
  pending_ = true;
  QTimer::singleShot(kCoalesceMs, this, [this] {
    pending_ = false;
    Render();
    editor_->Reload();
  });
}

void PreviewWindow::Tick() {
  if (Auto()) {
    // A time of 0 still shows its page for a moment rather than skipping it.
    const qint64 shown_for = std::max<qint64>(1, DisplaySeconds(page_)) * 1000;
    if (clock_.elapsed() - page_since_ >= shown_for) {
      page_ = (page_ + 1) % kPages;
      page_since_ = clock_.elapsed();
    }
  }
  Render();
}

void PreviewWindow::Render() {
  if (!Auto()) page_ = pages_->currentIndex();
  std::optional<BoardState> board = FromBoard() ? board_() : std::nullopt;
  PreviewPage page = board ? PreviewFromBoard(*board, page_) : PreviewFromConfig(config_, page_);
  if (!board) HatchBlankColourLines(config_, page_, page);
  dots_ = renderer_.Render(page, clock_.elapsed());
  leds_->Show(dots_);
  const bool moving = Auto() || Blinks(page);
  if (moving && !animation_.isActive()) animation_.start();
  if (!moving) animation_.stop();
}

}  // namespace qrv
