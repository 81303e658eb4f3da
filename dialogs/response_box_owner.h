#pragma once

class QWidget;

namespace qrv {

// The window that owns the "設定完了" and "読み込み完了" boxes: the one that was active when
// the last setting dialog opened. A window that has gone away reads as none.
QWidget* ResponseBoxOwner();
void RecordResponseBoxOwner(QWidget* window);

}  // namespace qrv
