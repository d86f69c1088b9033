#include "res/Strings.h"

#include "res/CommandIds.h"

namespace tesslin::text {

const char* CommandDescription(int id) {
    switch (id) {
    case ids::kFileNew:
        return "새 문서를 만듭니다.\n새로 만들기";
    case ids::kFileOpen:
        return "기존 문서를 엽니다.\n열기";
    case ids::kFileSave:
        return "활성 문서를 저장합니다.\n저장";
    case ids::kAppAbout:
        return "프로그램 정보, 버전 번호 및 저작권을 표시합니다.\n정보";
    case ids::kAppExit:
        return "응용 프로그램을 끝냅니다.\n끝내기";
    default:
        return nullptr;
    }
}

} // namespace tesslin::text
