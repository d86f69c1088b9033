// The program's own texts: captions, titles and the descriptions shown as tooltips. UTF-8;
// convert with tesslin::FromUtf8 for display.
#pragma once

namespace tesslin::text {

inline constexpr const char* kAppTitle = "TesslinGUI";
inline constexpr const char* kAppVendor = "Quorvel";
// Shown for a new document that has no name yet.
inline constexpr const char* kUntitled = "제목 없음";

// The about box.
inline constexpr const char* kAboutCaption = "TesslinGUI 정보";
inline constexpr const char* kAboutVersion = "TesslinGUI, 버전 0.1";
inline constexpr const char* kAboutOk = "확인";
// Below the version: who holds the rights, on what terms, and where the program lives.
inline constexpr const char* kAboutCopyright = "Copyright 2026 Quorvel";
inline constexpr const char* kAboutLicence = "라이선스: 독점 소프트웨어 (모든 권리 보유)";
inline constexpr const char* kAboutHomePage = "https://quorvel.example/tesslingui";

// The items of the view's context menu "편집".
inline constexpr const char* kEditCut = "잘라내기(&T)\tCtrl+X";
inline constexpr const char* kEditCopy = "복사(&C)\tCtrl+C";
inline constexpr const char* kEditPaste = "붙여넣기(&P)\tCtrl+V";

// The status pane shows "루트 폴더: " followed by the root folder.
inline constexpr const char* kRootFolderPrefix = "루트 폴더: ";

// The description of command `id` ("description\nshort tip"), or nullptr when it has none.
const char* CommandDescription(int id);

} // namespace tesslin::text
