#include "wxplatform/Korean.h"

#include "wxplatform/Desktop.h"

#include <wx/arrstr.h>
#include <wx/translation.h>

#include <algorithm>
#include <cstdint>
#include <string>
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
    AskDesktopForKorean();
}

} // namespace tesslin
