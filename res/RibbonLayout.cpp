#include "res/RibbonLayout.h"

#include "res/CommandIds.h"

namespace tesslin::ribbon {

namespace {

Element Button(int id, const char* caption, int image, const char* keyTip = "") {
    return {Kind::Button, id, caption, image, image, true, 0, 0, keyTip};
}
Element Edit(int id, const char* caption, int floatingWidth) {
    return {Kind::Edit, id, caption, -1, -1, false, 200, floatingWidth};
}
Element Check(int id, const char* caption) {
    return {Kind::Check, id, caption, -1, -1, false, 0, 0};
}
Element Separator() {
    return {Kind::Separator, 0, "", -1, -1, false, 0, 0};
}

Layout MakeLayout() {
    Layout layout;

    layout.mainMenu = {
        "파일",
        "F",
        ImageList::Main,
        ImageList::FileSmall,
        ImageList::FileLarge,
        {{ids::kMainFolder, "루트 폴더 설정", 1, 1}, {ids::kMainScan, "영상/자막 파일 스캔", 7, 7}},
        {ids::kAppExit, "끝내기(&X)", 10, -1},
        "최근 문서",
        300,
    };

    layout.quickAccess = {ids::kFileNew, ids::kFileOpen, ids::kFileSave, ids::kFilePrintDirect};

    layout.tabRow = {
        {0,
         "스타일",
         "S",
         ImageList::None,
         -1,
         {{215, "Office 2007(파랑 스타일)(&B)", -1, -1},
          {216, "Office 2007(검정 스타일)(&L)", -1, -1},
          {217, "Office 2007(은색 스타일)(&S)", -1, -1},
          {218, "Office 2007(바다색 스타일)(&A)", -1, -1},
          {219, "Windows 7(&D)", -1, -1}}},
        {ids::kAppAbout, "", "A", ImageList::Buttons, 0, {}},
    };

    layout.categories = {
        {"홈",
         "H",
         ImageList::FileSmall,
         ImageList::FileLarge,
         {
             {"작업",
              "D",
              1,
              false,
              {Button(ids::kButtonFolder, "루트 폴더 설정", 1),
               Button(ids::kButtonScan, "영상/자막 파일 스캔", 7)}},
             {"검색 설정",
              "",
              2,
              true,
              {Edit(ids::kEditVideoExtensionList, "영상 파일 확장자 리스트", 40),
               Edit(ids::kEditSubtitleExtensionList, "자막 파일 확장자 리스트", 10),
               Check(ids::kCheckRecursive, "하위 폴더도 검색")}},
             {"정규식 필터",
              "",
              -1,
              false,
              {Edit(ids::kEditVideoRegularExpression, "영상 파일 정규식 필터", 0),
               Edit(ids::kEditSubtitleRegularExpression, "자막 파일 정규식 필터", 0),
               Check(ids::kCheckUseRegularExpression, "정규식 필터도 사용함")}},
         }},
        {"변경 작업",
         "",
         ImageList::WriteSmall,
         ImageList::WriteLarge,
         {
             {"선택된 파일 목록 및 변경 작업",
              "",
              -1,
              false,
              {Edit(ids::kEditVideoFileName, "영상 파일 이름", 0),
               Edit(ids::kEditSubtitleFileName, "자막 파일 이름", 0), Separator(),
               Button(ids::kButtonRenameFile, "파일 이름 변경", 0)}},
             {"파일 이름 설정",
              "",
              -1,
              false,
              {Check(ids::kCheckRenameSubtitleFile, "자막 파일 이름을 변경"),
               Check(ids::kCheckRenameVideoFile, "영상 파일 이름을 변경")}},
             {"짝 찾기",
              "",
              -1,
              false,
              {Button(ids::kButtonSuggestPairs, "짝 찾기", 9, "P"),
               Button(ids::kButtonUndoRename, "되돌리기", 4, "U"),
               Check(ids::kCheckKeepLanguageTag, "언어 태그 유지")}},
         }},
    };
    return layout;
}

} // namespace

const Layout& TheLayout() {
    static const Layout layout = MakeLayout();
    return layout;
}

int ImageCount(ImageList list) {
    switch (list) {
    case ImageList::FileSmall:
        return 11;
    case ImageList::FileLarge:
        return 9;
    case ImageList::WriteSmall:
    case ImageList::WriteLarge:
        return 10;
    case ImageList::Buttons:
        return 5;
    case ImageList::Main:
        return 1;
    case ImageList::None:
        break;
    }
    return 0;
}

int ImageSize(ImageList list) {
    switch (list) {
    case ImageList::FileLarge:
    case ImageList::WriteLarge:
        return 32;
    case ImageList::Main:
        return 26;
    case ImageList::FileSmall:
    case ImageList::WriteSmall:
    case ImageList::Buttons:
        return 16;
    case ImageList::None:
        break;
    }
    return 0;
}

} // namespace tesslin::ribbon
