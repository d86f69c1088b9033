#include "settings/Settings.h"

namespace tesslin {

const char* DefaultRootDirectory() {
#ifdef _WIN32
    return "C:\\";
#else
    return "/";
#endif
}

void Settings::ResetToDefaults() {
    autostart = {"autostart", false,
                 "프로그램이 시작할 때 미리 기록된 세팅 하에 자동 검색을 수행."};
    root_directory = {"root_directory", DefaultRootDirectory(), "검색을 수행하는 기준 디렉토리."};
    vid_ext = {"vid_ext", {"avi", "mkv", "mp4", "wmv"}, "영상 파일의 확장자."};
    sub_ext = {"sub_ext", {"smi"}, "자막 파일의 확장자."};
    vid_regex = {"vid_regex", "", "검색된 영상 파일에 대해 수행할 정규식."};
    sub_regex = {"sub_regex", "", "검색된 자막 파일에 대해 수행할 정규식."};
    use_vid_regex = {"use_vid_regex", false, "영상 파일에 대해 정규식 검사 수행 여부를 결정."};
    use_sub_regex = {"use_sub_regex", false, "자막 파일에 대해 정규식 검사 수행 여부를 결정."};
    is_recursive = {"is_recursive", false, "재귀 검색을 수행할지를 결정."};
    rename_sub_file = {"rename_sub_file", true,
                       "true 이면 자막 파일을 영상 파일 이름에 맞춰 변경하고, false이면 그 반대로 "
                       "한다."};
}

} // namespace tesslin
