#pragma once

class QCoreApplication;

namespace qrv {

// Qt's own texts (the file dialogs, the text fields' menus, the buttons of the questions) in
// the system's language, where Qt has them: under a Japanese locale from qtbase_ja. The
// program's own captions and messages are its own in every locale.
void LoadQtTranslations(QCoreApplication& app);

}  // namespace qrv
