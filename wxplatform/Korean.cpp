#include "wxplatform/Korean.h"

#include "platform/Translation.h"
#include "wxplatform/Desktop.h"

#include <wx/arrstr.h>
#include <wx/translation.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tesslin {

namespace {

constexpr const char* kDomain = "tesslingui-toolkit";

// The toolkit's texts that this window can show, in Korean.
const std::pair<const char*, const char*> kTexts[] = {
    {"Open File", "파일 열기"},
    {"Save As", "다른 이름으로 저장"},
    {"Select a file", "파일 선택"},
    {"All files (%s)|%s", "모든 파일 (%s)|%s"},
    {"unnamed", "이름 없음"},
    {"File error", "파일 오류"},
    {"%s Error", "%s 오류"},
    {"%s Warning", "%s 경고"},
    {"%s Information", "%s 정보"},
    {"Application", "응용 프로그램"},
    {"Message", "메시지"},
    {"Question", "질문"},
    {"&Details", "자세히(&D)"},
    {"Sorry, could not open this file.", "이 파일을 열 수 없습니다."},
    {"Sorry, the format for this file is unknown.", "이 파일의 형식을 알 수 없습니다."},
    {"The format of file '%s' couldn't be determined.", "'%s' 파일의 형식을 알 수 없습니다."},
    {"The file '%s' doesn't exist and couldn't be opened.\nIt has been removed from the most "
     "recently used files list.",
     "'%s' 파일이 없어서 열 수 없습니다.\n최근에 사용한 파일 목록에서 뺐습니다."},
    {"File \"%s\" could not be opened for reading.", "\"%s\" 파일을 읽으려고 열 수 없습니다."},
    {"File \"%s\" could not be opened for writing.", "\"%s\" 파일을 쓰려고 열 수 없습니다."},
    {"Failed to read document from the file \"%s\".", "\"%s\" 파일에서 문서를 읽지 못했습니다."},
    {"Failed to save document to the file \"%s\".", "문서를 \"%s\" 파일에 저장하지 못했습니다."},
    {"Do you want to save changes to %s?", "%s의 변경 내용을 저장하시겠습니까?"},
    {"Discard changes and reload the last saved version?",
     "변경 내용을 버리고 마지막으로 저장한 내용을 다시 불러오시겠습니까?"},
    {"Save log contents to file", "로그 내용을 파일에 저장"},
    {"Clear the log contents", "로그 내용 지우기"},
    {"C&lear", "지우기(&L)"},
    {"Close this window", "이 창 닫기"},
    {"Log saved to the file '%s'.", "로그를 '%s' 파일에 저장했습니다."},
    {"Can't save log contents to file.", "로그 내용을 파일에 저장할 수 없습니다."},
    {"Append log to file '%s' (choosing [No] will overwrite it)?",
     "로그를 '%s' 파일 뒤에 덧붙이시겠습니까? ([아니요]를 고르면 파일을 덮어씁니다.)"},
    {"Failed to copy dialog contents to the clipboard.",
     "대화 상자의 내용을 클립보드에 복사하지 못했습니다."},
};

// The core's own texts (its messages are English for the command line), with their places
// {0}, {1}, ... in Korean order; and the system's reasons for the errors a file operation
// commonly meets, in the words every system gives them (platform/SystemText.h).
const std::pair<const char*, const char*> kCoreTexts[] = {
    // The settings file.
    {"The file is not recognised as a settings file: it was not read and will not be changed; "
     "the default settings are used.",
     "설정 파일이 아니어서 읽지 않았고 이 파일은 바꾸지 않습니다. 기본 설정을 사용합니다."},
    {"it holds a NUL byte", "NUL 바이트가 들어 있습니다"},
    {"no line starts with the name of a setting", "설정 이름으로 시작하는 줄이 없습니다"},
    {"it holds {0} bytes, more than a settings file can ({1})",
     "크기가 {0}바이트로 설정 파일이 가질 수 있는 크기({1}바이트)보다 큽니다"},
    {"Line {0}: {1} \"{2}\" is neither 1 nor 0. These settings were not read and keep their "
     "defaults: {3}.",
     "{0}번째 줄: {1}의 값 \"{2}\"은(는) 1도 0도 아닙니다. 다음 설정은 읽지 않았으며 기본값을 "
     "씁니다: {3}."},
    {"Cannot keep a copy of the old settings file: the file was left as it was and the settings "
     "were not saved.",
     "이전 설정 파일의 사본을 만들 수 없어 파일을 그대로 두었고 설정을 저장하지 않았습니다."},
    {"every name for a copy up to this one is taken",
     "이 이름까지 사본에 쓸 이름이 모두 이미 쓰이고 있습니다"},
    {"A setting cannot hold a line break: {0}", "설정 값에는 줄 바꿈 문자를 넣을 수 없습니다: {0}"},
    {"A setting cannot hold a NUL byte", "설정 값에는 NUL 바이트를 넣을 수 없습니다"},
    {"The settings are too long to be stored: {0}", "설정이 너무 길어 저장할 수 없습니다: {0}"},
    {"cannot create the new file in its folder: {0}", "폴더에 새 파일을 만들 수 없습니다: {0}"},
    {"Cannot write setting.ini", "설정 파일을 쓸 수 없습니다"},
    {"Cannot replace setting.ini", "설정 파일을 새 내용으로 바꿀 수 없습니다"},
    {"not a regular file", "일반 파일이 아닙니다"},
    // Reading folders and patterns.
    {"Cannot read \"{0}\": {1}", "\"{0}\"을(를) 읽을 수 없습니다: {1}"},
    {"Cannot read an empty path: {0}", "빈 경로는 읽을 수 없습니다: {0}"},
    {"Invalid regular expression: {0}", "올바른 정규식이 아닙니다: {0}"},
    {"{0}.  The error occurred while parsing the regular expression: {1}",
     "{0}. 정규식의 이 자리에서 오류가 났습니다: {1}"},
    {"Unmatched marking parenthesis ( or \\(", "여는 괄호 ( 의 짝인 닫는 괄호 ) 가 없습니다"},
    // Renames and their undo.
    {"Cannot rename {0} to {1}", "{0}의 이름을 {1}(으)로 바꾸지 못했습니다"},
    {"Cannot rename {0} to {1} completely: the new name was made but the old one could not be "
     "removed, so both names now refer to the same file: {2}",
     "{0}의 이름을 {1}(으)로 바꾸다가 멈췄습니다. 새 이름은 만들었지만 옛 이름을 지우지 못해 두 "
     "이름이 같은 파일을 가리킵니다: {2}"},
    {"{0} (both names now refer to the same file)", "{0} (두 이름이 같은 파일을 가리킵니다)"},
    {"{0} (this file system cannot rename a file without the risk of replacing another one)",
     "{0} (이 파일 시스템에서는 다른 파일을 덮어쓸 위험 없이 이름을 바꿀 수 없습니다)"},
    {"{0}; the file was left under the name {1}", "{0}; 파일은 {1} 이름으로 남아 있습니다"},
    {"{0} (the file was renamed, but the change could not be written to the disk)",
     "{0} (이름은 바꾸었지만 바뀐 내용을 디스크에 기록하지 못했습니다)"},
    {"Renamed {0} to {1}, but the change could not be written to the disk: {2}",
     "{0}의 이름을 {1}(으)로 바꾸었지만 바뀐 내용을 디스크에 기록하지 못했습니다: {2}"},
    {"Cannot undo the rename of {0}: {1} is gone",
     "{0}(으)로 되돌리지 못했습니다: {1}이(가) 없습니다"},
    {"Cannot undo the rename of {0}: {1} has changed since",
     "{0}(으)로 되돌리지 못했습니다: {1}이(가) 그 뒤에 바뀌었습니다"},
    {"The name of the file to rename is empty", "이름을 바꿀 파일의 이름이 비어 있습니다"},
    {"The name of the file to rename ends with a separator, so it names no file: {0}",
     "이름을 바꿀 파일의 이름이 경로 구분자로 끝나 파일을 가리키지 않습니다: {0}"},
    {"The file to rename has no extension: {0}", "이름을 바꿀 파일에 확장자가 없습니다: {0}"},
    {"The new file name would be nothing but the extension: \"{0}\" (from the name \"{1}\")",
     "새 파일 이름이 확장자뿐입니다: \"{0}\" (\"{1}\"에서 만든 이름)"},
    {"The name of the file to rename names no regular file: {0}",
     "이름을 바꿀 이름이 일반 파일이 아닙니다: {0}"},
    {"The name to take is not an absolute path: {0}", "가져올 이름이 절대 경로가 아닙니다: {0}"},
    {"The new name does not keep the extension {0} of the file to rename: {1} to {2}",
     "새 이름이 바꿀 파일의 확장자 {0}을(를) 지키지 않습니다: {1}에서 {2}(으)로"},
    {"The file to rename is a symbolic link to the relative path {0}, which would lead elsewhere "
     "from another folder: {1} to {2}",
     "바꿀 파일은 상대 경로 {0}을(를) 가리키는 심볼릭 링크라 다른 폴더로 옮기면 다른 곳을 "
     "가리키게 됩니다: {1}에서 {2}(으)로"},
    // The system's reasons.
    {"File exists", "같은 이름의 파일이 이미 있습니다"},
    {"Permission denied", "권한이 없습니다"},
    {"Operation not permitted", "허용되지 않는 작업입니다"},
    {"No such file or directory", "파일이나 폴더가 없습니다"},
    {"Invalid cross-device link", "다른 디스크로는 옮길 수 없습니다"},
    {"Read-only file system", "읽기 전용 디스크입니다"},
    {"Is a directory", "폴더입니다"},
    {"Not a directory", "폴더가 아닙니다"},
    {"Directory not empty", "폴더가 비어 있지 않습니다"},
    {"Too many levels of symbolic links", "심볼릭 링크가 너무 많이 이어집니다"},
    {"No space left on device", "디스크에 남은 공간이 없습니다"},
    {"File name too long", "파일 이름이 너무 깁니다"},
    {"File too large", "파일이 너무 큽니다"},
    {"Input/output error", "입출력 오류가 났습니다"},
    {"Operation not supported", "지원하지 않는 작업입니다"},
    {"Device or resource busy", "장치나 자원이 사용 중입니다"},
};

// The table as a message catalog file (the GNU .mo layout, little-endian): what the
// toolkit's translation machinery reads.
std::string CatalogBytes() {
    std::vector<std::pair<std::string, std::string>> entries;
    entries.emplace_back("", "Content-Type: text/plain; charset=UTF-8\n"
                             "Plural-Forms: nplurals=1; plural=0;\n");
    for (const auto& [original, korean] : kTexts) {
        entries.emplace_back(original, korean);
    }
    std::sort(entries.begin(), entries.end());

    const auto count = static_cast<std::uint32_t>(entries.size());
    const std::uint32_t headerSize = 7 * 4;
    const std::uint32_t originals = headerSize;
    const std::uint32_t translations = originals + count * 8;
    std::uint32_t offset = translations + count * 8;

    std::string bytes;
    auto put = [&bytes](std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
        }
    };
    put(0x950412de); // magic
    put(0);          // revision
    put(count);
    put(originals);
    put(translations);
    put(0); // no hash table
    put(offset);
    std::string strings;
    for (int side = 0; side < 2; ++side) {
        for (const auto& entry : entries) {
            const std::string& text = side == 0 ? entry.first : entry.second;
            put(static_cast<std::uint32_t>(text.size()));
            put(offset + static_cast<std::uint32_t>(strings.size()));
            strings += text;
            strings.push_back('\0');
        }
    }
    return bytes + strings;
}

// Serves the built-in catalog; every other catalog comes from the files as usual.
class Loader : public wxFileTranslationsLoader {
public:
    wxMsgCatalog* LoadCatalog(const wxString& domain, const wxString& lang) override {
        if (domain == kDomain) {
            if (!lang.StartsWith("ko")) {
                return nullptr;
            }
            const std::string bytes = CatalogBytes();
            return wxMsgCatalog::CreateFromData(
                wxScopedCharBuffer::CreateNonOwned(bytes.data(), bytes.size()), domain);
        }
        return wxFileTranslationsLoader::LoadCatalog(domain, lang);
    }
    wxArrayString GetAvailableTranslations(const wxString& domain) const override {
        if (domain == kDomain) {
            return wxArrayString(1, "ko");
        }
        return wxFileTranslationsLoader::GetAvailableTranslations(domain);
    }
};

} // namespace

void UseKorean() {
    auto* translations = new wxTranslations;
    translations->SetLoader(new Loader);
    translations->SetLanguage("ko");
    wxTranslations::Set(translations);
    // The system's Korean catalog of the toolkit, where there is one, then ours above it.
    translations->AddStdCatalog();
    translations->AddCatalog(kDomain);
    // Built once, read by every thread (a scan's reasons are worded on its own thread).
    static const std::unordered_map<std::string, const char*> core(std::begin(kCoreTexts),
                                                                   std::end(kCoreTexts));
    SetTranslation([](const std::string& english) -> const char* {
        const auto found = core.find(english);
        return found == core.end() ? nullptr : found->second;
    });
    AskDesktopForKorean();
}

} // namespace tesslin
