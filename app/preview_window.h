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
#include "display_config.h"
#include "dot_renderer.h"

namespace qrv {

// The board's dots as round LEDs on a dark board, scaled with the widget.
class LedBoard : public QWidget {
 public:
  explicit LedBoard(QWidget* parent);
  void Show(const DotImage& dots);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Draw();

  DotImage dots_;
  QImage picture_;  // drawn once per change of dots or size, not at every paint
};

// "プレビュー": a page as the board would show it, drawn by the renderer the client's
// previews use, from the configuration or, with the simulated board, from what the board
// holds. Blinking lines blink; "Auto" plays the pages in turn for their display times.
class PreviewWindow : public QWidget {
  Q_OBJECT

 public:
  // What the simulated board holds now; nothing without one.
  using BoardSource = std::function<std::optional<BoardState>()>;

  PreviewWindow(const DisplayConfig& config, BoardSource board, QWidget* parent = nullptr);

  // The configuration or the board changed: drawn again shortly, however many changes come.
  void ConfigChanged();

  int shown_page() const { return page_; }
  const DotImage& dots() const { return dots_; }

 private:
  bool Auto() const;
  bool FromBoard() const;
  // How long Auto shows a page, as the source shown holds it.
  int DisplaySeconds(int page) const;
  // Draws the page now and keeps the animation running while something moves.
  void Render();
  void Tick();

  const DisplayConfig& config_;
  BoardSource board_;
  DotRenderer renderer_;
  QComboBox* source_;
  QComboBox* pages_;
  LedBoard* leds_;
  QLabel* note_;
  QTimer animation_;
  QElapsedTimer clock_;  // blink phase
  qint64 page_since_ = 0;
  int page_ = 0;
  bool pending_ = false;
  DotImage dots_;
};

}  // namespace qrv
