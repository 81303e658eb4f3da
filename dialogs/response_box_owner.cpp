#include "response_box_owner.h"

#include <QPointer>
#include <QWidget>

namespace qrv {
namespace {

QPointer<QWidget>& Owner() {
  static QPointer<QWidget> owner;
  return owner;
}

}  // namespace

QWidget* ResponseBoxOwner() {
  return Owner().data();
}

void RecordResponseBoxOwner(QWidget* window) {
  Owner() = window;
}

}  // namespace qrv
