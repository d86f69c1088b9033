// Command IDs of the window: ribbon elements, menus, looks and the file lists.
#pragma once

namespace tesslin::ids {

// Application button menu and the "홈" category.
constexpr int kMainFolder = 32778;
constexpr int kMainScan = 32777;
constexpr int kButtonFolder = 32775;
constexpr int kButtonScan = 32776;
constexpr int kEditVideoExtensionList = 32779;
constexpr int kEditSubtitleExtensionList = 32773;
constexpr int kCheckRecursive = 32774;
constexpr int kEditVideoRegularExpression = 32781;
constexpr int kEditSubtitleRegularExpression = 32782;
constexpr int kCheckUseRegularExpression = 32783;

// The "변경 작업" category.
constexpr int kEditVideoFileName = 32817;
constexpr int kEditSubtitleFileName = 32818;
constexpr int kButtonRenameFile = 32821;
constexpr int kCheckRenameSubtitleFile = 32819;
constexpr int kCheckRenameVideoFile = 32820;
// Its panel of pair suggestions.
constexpr int kButtonSuggestPairs = 32822;
constexpr int kButtonUndoRename = 32823;
constexpr int kCheckKeepLanguageTag = 32824;

// Framework commands.
constexpr int kFileNew = 57600;
constexpr int kFileOpen = 57601;
constexpr int kFileSave = 57603;
constexpr int kFilePrintDirect = 57608;
constexpr int kAppAbout = 57664;
constexpr int kAppExit = 57665;
constexpr int kEditCut = 57635;
constexpr int kEditCopy = 57634;
constexpr int kEditPaste = 57637;
constexpr int kEditUndo = 57643;
constexpr int kNextPane = 57680;
constexpr int kPrevPane = 57681;

// Visual looks.
constexpr int kFirstLook = 205;
constexpr int kLastLook = 219;
constexpr int kDefaultLook = 215;

// The status pane. (The view's two file lists keep automatic window IDs.)
constexpr int kStatusPane = 120;
// The status bar's "취소" button while a scan runs (a window ID, so below 32768).
constexpr int kCancelScan = 32760;

} // namespace tesslin::ids
