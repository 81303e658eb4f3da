#pragma once

#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>

#include "board_model.h"
#include "dialog_context.h"
#include "dot_renderer.h"

namespace qrv {

class PageEditor;

// The board's dots as round LEDs on a dark board, scaled with the widget. A line may be
// marked with a frame around it, drawn over the picture, never into it.
class LedBoard : public QWidget {
 public:
  explicit LedBoard(QWidget* parent);
  void Show(const DotImage& dots);
  // The line framed, or -1 for none.
  void Select(int line);
  // A click on a line: its index.
  std::function<void(int line)> clicked = [](int) {};

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void Draw();
  // Where the board's dots lie in the widget.
  QRectF BoardRect() const;

  DotImage dots_;
  QImage picture_;  // drawn once per change of dots or size, not at every paint
  int selected_ = -1;
};

// "プレビュー": a page as the board would show it, drawn by the renderer the client's
// previews use, from the configuration or, with the simulated board, from what the board
// holds. Blinking lines blink; "Auto" plays the pages in turn for their display times. On a
// page of the configuration a line is selected and edited in the row under the picture.
class PreviewWindow : public QWidget {
  Q_OBJECT

 public:
  // What the simulated board holds now; nothing without one.
  using BoardSource = std::function<std::optional<BoardState>()>;

  PreviewWindow(DialogContext& context, BoardSource board, QWidget* parent = nullptr);

  // The configuration or the board changed: drawn again shortly, however many changes come.
  void ConfigChanged();
  // Keeps where the window stands in the settings file.
  void KeepGeometry();

  int shown_page() const { return page_; }
  const DotImage& dots() const { return dots_; }
  PageEditor& editor() const { return *editor_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  // Where the settings file last saw the window, if that is on a screen now.
  void RestoreGeometry();
  void SelectLine(int line);
  void ShowPage(int index);
  // The editor follows the page shown; it edits only the configuration's still pages.
  void FollowPage();
  bool Auto() const;
  bool FromBoard() const;
  // How long Auto shows a page, as the source shown holds it.
  int DisplaySeconds(int page) const;
  // Draws the page now and keeps the animation running while something moves.
  void Render();
  void Tick();

  DialogContext& context_;
  const DisplayConfig& config_;
  BoardSource board_;
  DotRenderer renderer_;
  QComboBox* source_;
  QComboBox* pages_;
  LedBoard* leds_;
  PageEditor* editor_;
  QLabel* note_;
  QTimer animation_;
  QElapsedTimer clock_;  // blink phase
  qint64 page_since_ = 0;
  int page_ = 0;
  int line_ = 0;
  bool pending_ = false;
  DotImage dots_;
};

}  // namespace qrv
