#pragma once

// Command, dialog template and control ids. The ids are the program's external names: the
// menu carries them, the dialogs are known by them, and tests find controls through them.
namespace qrv::ids {

// Menu commands.
constexpr int kNewDocument = 40001;
constexpr int kOpenDocument = 40002;
constexpr int kSaveDocument = 40003;
constexpr int kSaveDocumentAs = 40004;
constexpr int kCommSettings = 40007;
constexpr int kAllItems = 40009;
constexpr int kTitleText = 40010;
constexpr int kDisplayTime = 40011;
constexpr int kDisplayPage = 40013;
constexpr int kCharLevel = 40014;
constexpr int kFillBordering = 40015;
constexpr int kCharColour = 40016;
constexpr int kBlinkDisplay = 40017;
constexpr int kDisplayPosition = 40018;
constexpr int kDisplayOnOff = 40023;
constexpr int kMaintenanceRead = 40026;
constexpr int kPreview = 40030;
constexpr int kTrafficMonitor = 40031;
constexpr int kExportCsv = 40032;
constexpr int kImportCsv = 40033;
constexpr int kExitApplication = 150;
constexpr int kAboutBox = 152;

// Dialog templates.
constexpr int kAboutTemplate = 102;
constexpr int kAllItemsTemplate = 105;
constexpr int kCommSettingsTemplate = 106;
constexpr int kTitleTextTemplate = 107;
constexpr int kFillBorderingTemplate = 108;
constexpr int kCharLevelTemplate = 109;
constexpr int kDisplayTimeTemplate = 111;
constexpr int kDisplayPositionTemplate = 112;
constexpr int kCharColourTemplate = 113;
constexpr int kBlinkTemplate = 114;
constexpr int kMaintenanceReadTemplate = 154;
constexpr int kDisplayPageTemplate = 158;
constexpr int kDisplayOnOffTemplate = 159;

// Buttons shared by every dialog.
constexpr int kOk = 1;
constexpr int kCancel = 2;

// Communication settings dialog.
constexpr int kComPortCombo = 1035;
constexpr int kControlCombo = 1036;
// The device in use, under the two lists.
constexpr int kPortInUseText = 1190;

// The preview window: where the dots come from, and the page.
constexpr int kPreviewSource = 1191;
constexpr int kPreviewPage = 1192;
// The preview's page editor: the selected line's text and settings, the page's, the send.
constexpr int kEditorLineText = 1210;
constexpr int kEditorCharColour = 1211;
constexpr int kEditorBorderColour = 1212;
constexpr int kEditorBlink = 1213;
constexpr int kEditorFill = 1214;
constexpr int kEditorDisplayTime = 1215;
constexpr int kEditorCharLevel = 1216;
constexpr int kEditorSend = 1217;
constexpr int kEditorProgress = 1218;
constexpr int kEditorNote = 1219;

// The traffic monitor: the list, its buttons, the log file box and the counts.
constexpr int kTrafficList = 1201;
constexpr int kTrafficClear = 1202;
constexpr int kTrafficSave = 1203;
constexpr int kTrafficLogFile = 1204;
constexpr int kTrafficCounts = 1205;

// Title text dialog: the seven lines, "Not memory", the run's counter and bar.
constexpr int kTitleLineFirst = 1039;
constexpr int kNotMemoryButton = 1047;
constexpr int kTitleCounter = 1037;
constexpr int kTitleProgress = 1164;

// All-items dialog.
constexpr int kAllItemsStart = 1036;
constexpr int kAllItemsCounter = 1037;
constexpr int kAllItemsProgress = 1161;
constexpr int kAllItemsAnswerPace = 1193;

// Maintenance read dialog.
constexpr int kReadStart = 1005;
constexpr int kReadCounter = 1162;
constexpr int kReadProgress = 1163;
constexpr int kReadAnswerPace = 1194;

// Controls the setting dialogs share.
constexpr int kPageNoList = 1046;
constexpr int kSetButton = 1048;
constexpr int kSetAllPagesButton = 1049;
constexpr int kSlaveNoCombo = 1050;

// Per-line lists: line 1's id, the other lines follow.
constexpr int kFillLineFirst = 1080;
constexpr int kCharColourFirst = 1087;
constexpr int kBorderColourFirst = 1094;
constexpr int kBlinkLineFirst = 1101;

// Display time and character level: the eight pages of a group.
constexpr int kTimeListFirst = 1050;
constexpr int kPageNumberFirst = 1058;
constexpr int kPageGroupList = 1066;
constexpr int kTimeSlaveNoCombo = 1067;
constexpr int kLevelListFirst = 1072;

// Display position.
constexpr int kPositionHList = 1109;
constexpr int kPositionHSet = 1111;
constexpr int kPositionVList = 1113;
constexpr int kPositionVSet = 1115;

// Display page and display on/off.
constexpr int kDisplayPageList = 1173;
constexpr int kDisplayPageSet = 1174;
constexpr int kDisplayOnOffList = 1175;
constexpr int kDisplayOnOffSet = 1176;

// Progress bars of the all-pages runs.
constexpr int kBlinkProgress = 1177;
constexpr int kColourProgress = 1178;

// Timers of the all-pages runs.
constexpr int kBlinkTimer = 20;
constexpr int kColourTimer = 5;
constexpr int kTitleTimer = 2;
constexpr int kAllItemsTimer = 5;
constexpr int kReadTimer = 6;
constexpr int kPageSendTimer = 7;

}  // namespace qrv::ids
