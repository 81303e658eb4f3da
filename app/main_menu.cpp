#include "main_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "resource_ids.h"

namespace qrv {

const std::vector<MenuRow>& MainMenuTable() {
  static const std::vector<MenuRow> table = {
      {0, 0, "File"},
      {1, ids::kNewDocument, "新規作成"},
      {1, ids::kOpenDocument, "開く"},
      {1, ids::kSaveDocument, "上書き保存"},
      {1, ids::kSaveDocumentAs, "名前を付けて保存"},
      {1, 0, nullptr},
      {1, ids::kExportCsv, "CSVへ書き出し…"},
      {1, ids::kImportCsv, "CSVから読み込み…"},
      {1, 0, nullptr},
      {1, ids::kExitApplication, "ｱﾌﾟﾘｹｰｼｮﾝの終了"},
      {0, 0, "Set"},
      {1, 0, "QRVの設定"},
      {2, ids::kTitleText, "情報（タイトル）の設定"},
      {2, ids::kFillBordering, "文字背景色ベタ塗りの設定"},
      {2, ids::kCharLevel, "文字レベルの設定"},
      {2, ids::kDisplayPage, "表示ページの設定"},
      {2, ids::kDisplayTime, "表示時間の設定"},
      {2, ids::kDisplayPosition, "表示位置微調整"},
      {2, ids::kCharColour, "文字色の設定"},
      {2, ids::kBlinkDisplay, "点滅表示の設定"},
      {2, ids::kDisplayOnOff, "表示/非表示の設定"},
      {1, ids::kCommSettings, "通信の設定"},
      {1, ids::kAllItems, "全項目の設定"},
      {1, 0, "メンテナンス"},
      {2, ids::kMaintenanceRead, "設定項目の読み込み"},
      {0, 0, "表示"},
      {1, ids::kPreview, "プレビュー"},
      {1, ids::kTrafficMonitor, "通信モニタ"},
      {0, 0, "Information"},
      {1, ids::kAboutBox, "QRV470KSEのﾊﾞｰｼﾞｮﾝ情報"},
  };
  return table;
}

void BuildMainMenu(QMenuBar& bar, std::function<void(int)> on_command) {
  // menus[d] is the menu that rows of depth d + 1 go into.
  std::vector<QMenu*> menus;
  for (const MenuRow& row : MainMenuTable()) {
    menus.resize(row.depth);
    const QString text = QString::fromUtf8(row.text ? row.text : "");
    if (row.command_id != 0) {
      QAction* action = menus.back()->addAction(text);
      action->setData(row.command_id);
      const int id = row.command_id;
      QObject::connect(action, &QAction::triggered, &bar, [on_command, id] { on_command(id); });
    } else if (row.text == nullptr) {
      menus.back()->addSeparator();
    } else {
      QMenu* menu = row.depth == 0 ? bar.addMenu(text) : menus.back()->addMenu(text);
      menus.push_back(menu);
    }
  }
}

}  // namespace qrv
