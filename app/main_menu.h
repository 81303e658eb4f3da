#pragma once

#include <functional>
#include <vector>

class QMenuBar;

namespace qrv {

// One row of the menu "IDM_MENU", in display order. Depth 0 rows are the menu bar's menus,
// deeper rows sit in the nearest shallower sub-menu above them. A row with a command id is
// an item; a row with a text and no id opens a sub-menu; a row with neither is a separator.
struct MenuRow {
  int depth;
  int command_id;
  const char* text;
};

const std::vector<MenuRow>& MainMenuTable();

// Fills the bar from the table. Every item carries its command id as its action's data and
// hands it to on_command when chosen.
void BuildMainMenu(QMenuBar& bar, std::function<void(int)> on_command);

}  // namespace qrv
