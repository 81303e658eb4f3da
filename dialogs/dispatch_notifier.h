#pragma once

#include <QObject>

namespace qrv {

// Tells whoever waits for the board (a run paced by its answers) that a received line has
// just been dispatched: the link flags now say what it was.
class DispatchNotifier : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;
  void Notify() { emit LineDispatched(); }

 signals:
  void LineDispatched();
};

}  // namespace qrv
