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
constexpr int kExitApplication = 150;
constexpr int kAboutBox = 152;

// Dialog templates.
constexpr int kAboutTemplate = 102;
constexpr int kCommSettingsTemplate = 106;

// Buttons shared by every dialog.
constexpr int kOk = 1;
constexpr int kCancel = 2;

// Communication settings dialog.
constexpr int kComPortCombo = 1035;
constexpr int kControlCombo = 1036;

}  // namespace qrv::ids
