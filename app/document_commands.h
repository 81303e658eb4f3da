#pragma once

#include <QString>

#include "display_config.h"
#include "link_state.h"
#include "prompts.h"
#include "reporter.h"
#include "settings_store.h"

namespace qrv {

// The File menu and the exit question: New, Open, Save, Save As, the CSV export and import
// and ConfirmExit over the one DisplayConfig. A save goes to a temporary file that replaces
// the old one only when complete, so a failed save never leaves a damaged .dat behind.
class DocumentCommands {
 public:
  // settings, when given, keeps the folder of the last file chosen.
  DocumentCommands(DisplayConfig& config, LinkState& link, Reporter& reporter, Prompts& prompts,
                   SettingsStore* settings = nullptr)
      : config_(config), link_(link), reporter_(reporter), prompts_(prompts), settings_(settings) {}

  // Each returns true when it changed the document (New, Open) or wrote it (Save, Save As).
  bool NewDocument();
  bool OpenDocument();
  bool SaveDocument();
  bool SaveDocumentAs();
  // The titles, colours, blink, fill, times and levels as a CSV file, or read from one over
  // the document, which keeps its board-wide values. A CSV with any problem changes nothing.
  bool ExportCsv();
  bool ImportCsv();
  // True when a read from the board may replace the document: nothing unsaved, or the
  // operator chose to drop it.
  bool ConfirmRead();
  // True when the program may quit: nothing unsaved, the operator chose to drop it, or it
  // was saved. A failed or cancelled save keeps the program open.
  bool ConfirmExit();

 private:
  using Chooser = std::optional<QString> (Prompts::*)(const QString& folder);
  bool WriteTo(const QString& path);
  // Asks before dropping changes, as Open does, then for the file; nothing during a run.
  std::optional<QString> ChooseToReplace(Chooser choose);
  // A file dialog that starts in the document's folder, or else in the last one used.
  std::optional<QString> Choose(Chooser choose);

  DisplayConfig& config_;
  LinkState& link_;
  Reporter& reporter_;
  Prompts& prompts_;
  SettingsStore* settings_;
};

}  // namespace qrv
