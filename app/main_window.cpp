#include "main_window.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenuBar>
#include <algorithm>

#include "about_box.h"
#include "all_items_dialog.h"
#include "app_icon.h"
#include "blink_dialog.h"
#include "char_colour_dialog.h"
#include "char_level_dialog.h"
#include "comm_settings_dialog.h"
#include "display_on_off_dialog.h"
#include "display_page_dialog.h"
#include "display_position_dialog.h"
#include "display_time_dialog.h"
#include "fill_bordering_dialog.h"
#include "link_watchdog.h"
#include "main_menu.h"
#include "maintenance_read_dialog.h"
#include "resource_ids.h"
#include "status_panel.h"
#include "title_text_dialog.h"

namespace qrv {

MainWindow::MainWindow(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent),
      services_(std::move(services)),
      panel_(new StatusPanel(services_.dialogs.config, this)),
      run_dialog_([](QDialog& dialog) { dialog.exec(); }),
      quit_([](int code) { QCoreApplication::exit(code); }) {
  // The mark shows while the document holds unsaved changes.
  setWindowTitle(QStringLiteral("For QRV-470K Program[*]"));
  setWindowIcon(AppIcon());
  // A caption with system menu, minimise and close; no maximise, no sizing.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  // The menu stays in the window on desktops that offer a global menu bar: the window's
  // fixed size counts on it.
  menuBar()->setNativeMenuBar(false);
  BuildMainMenu(*menuBar(), [this](int id) { Dispatch(id); });
  setCentralWidget(panel_);
  setFixedSize(kOuterWidth, kOuterHeight);
  move(0, 0);

  watchdog_.setInterval(kWatchdogPeriod);
  watchdog_.setTimerType(Qt::PreciseTimer);
  connect(&watchdog_, &QTimer::timeout, this, &MainWindow::OnWatchdogTimer);
  services_.dialogs.ConfigChanged = [this] { ConfigChanged(); };
  services_.dialogs.ConfirmRead = [this] { return services_.documents.ConfirmRead(); };

  commands_ = {
      {ids::kNewDocument, [this] { RunFileCommand(&DocumentCommands::NewDocument); }},
      {ids::kOpenDocument, [this] { RunFileCommand(&DocumentCommands::OpenDocument); }},
      {ids::kSaveDocument, [this] { RunFileCommand(&DocumentCommands::SaveDocument); }},
      {ids::kSaveDocumentAs, [this] { RunFileCommand(&DocumentCommands::SaveDocumentAs); }},
      {ids::kExportCsv, [this] { RunFileCommand(&DocumentCommands::ExportCsv); }},
      {ids::kImportCsv, [this] { RunFileCommand(&DocumentCommands::ImportCsv); }},
      {ids::kCommSettings,
       [this] {
         corner_.Reset();
         CommSettingsDialog dialog(services_.dialogs.settings, this, services_.port);
         RunDialog(dialog);
       }},
      {ids::kAllItems, [this] { RunSettingDialog<AllItemsDialog>(); }},
      {ids::kTitleText, [this] { RunSettingDialog<TitleTextDialog>(); }},
      {ids::kDisplayTime, [this] { RunSettingDialog<DisplayTimeDialog>(); }},
      {ids::kDisplayPage, [this] { RunSettingDialog<DisplayPageDialog>(); }},
      {ids::kCharLevel, [this] { RunSettingDialog<CharLevelDialog>(); }},
      {ids::kFillBordering, [this] { RunSettingDialog<FillBorderingDialog>(); }},
      {ids::kCharColour, [this] { RunSettingDialog<CharColourDialog>(); }},
      {ids::kBlinkDisplay, [this] { RunSettingDialog<BlinkDialog>(); }},
      {ids::kDisplayPosition, [this] { RunSettingDialog<DisplayPositionDialog>(); }},
      {ids::kDisplayOnOff, [this] { RunSettingDialog<DisplayOnOffDialog>(); }},
      {ids::kMaintenanceRead, [this] { RunSettingDialog<MaintenanceReadDialog>(); }},
      {ids::kPreview,
       [this] {
         if (!preview_)
           preview_ =
               std::make_unique<PreviewWindow>(services_.dialogs, services_.board_state, this);
         preview_->show();
         preview_->raise();
         preview_->activateWindow();
       }},
      {ids::kTrafficMonitor,
       [this] {
         if (services_.traffic == nullptr || services_.traffic_log == nullptr) return;
         if (!monitor_)
           monitor_ = std::make_unique<TrafficMonitor>(*services_.traffic, *services_.traffic_log,
                                                       services_.dialogs.reporter, this);
         monitor_->show();
         monitor_->raise();
         monitor_->activateWindow();
       }},
      {ids::kExitApplication, [this] { ExitApplication(); }},
      {ids::kAboutBox,
       [this] {
         AboutBox dialog(this);
         RunDialog(dialog);
       }},
  };
}

MainWindow::~MainWindow() = default;

void MainWindow::Dispatch(int command_id) {
  const auto command = commands_.find(command_id);
  if (command != commands_.end()) command->second();
}

void MainWindow::OnWatchdogTimer() {
  LinkWatchdog(services_.dialogs.link, services_.dialogs.reporter, [this] {
    if (services_.traffic != nullptr) services_.traffic->Unanswered();
  });
}

void MainWindow::ExitApplication() {
  if (!services_.documents.ConfirmExit()) return;
  if (preview_ && preview_->isVisible()) preview_->KeepGeometry();
  watchdog_.stop();
  if (services_.stop_reader) services_.stop_reader();
  quit_(0);
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // Started once: restarting it on every paint would let a window that is repainted often
  // hold off "No Connect" for ever.
  if (!watchdog_started_) {
    watchdog_started_ = true;
    watchdog_.start();
    QTimer::singleShot(0, this, &MainWindow::FitOuterSize);
  }
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  // A window manager reports its frame only once it has framed the window.
  FitOuterSize();
}

void MainWindow::FitOuterSize() {
  // The window manager's frame counts towards the outer size; but under a tall caption
  // the window grows rather than cut off the file name at the panel's foot.
  const QSize frame = frameGeometry().size() - geometry().size();
  const int least = menuBar()->sizeHint().height() + panel_->minimumHeight();
  const QSize inner(kOuterWidth - frame.width(), std::max(kOuterHeight - frame.height(), least));
  if (size() != inner) setFixedSize(inner);
  // At the corner once framed; after that the operator may move it anywhere.
  if (!placed_ && !frame.isNull()) {
    placed_ = true;
    if (frameGeometry().topLeft() != QPoint(0, 0)) move(0, 0);
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // The window itself stays: the event loop ends and the process with it.
  event->ignore();
  ExitApplication();
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
  // Never passed on: a right-click on the window opens no menu of its own.
  event->accept();
  if (event->reason() == QContextMenuEvent::Keyboard) {
    corner_.KeyboardContextMenu();
    return;
  }
  if (corner_.ContextMenu(event->globalPos().x(), event->globalPos().y())) {
    Dispatch(ids::kMaintenanceRead);
  }
}

void MainWindow::RunDialog(QDialog& dialog) {
  run_dialog_(dialog);
}

template <typename Dialog>
void MainWindow::RunSettingDialog() {
  Dialog dialog(services_.dialogs, this);
  RunDialog(dialog);
}

void MainWindow::RunFileCommand(bool (DocumentCommands::*command)()) {
  (services_.documents.*command)();
  // The file name may have changed.
  panel_->update();
  ConfigChanged();
}

void MainWindow::ConfigChanged() {
  setWindowModified(services_.dialogs.config.modified != 0);
  if (preview_) preview_->ConfigChanged();
}

}  // namespace qrv
