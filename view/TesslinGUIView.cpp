#include "view/TesslinGUIView.h"

#include "document/TesslinGUIDoc.h"
#include "platform/Error.h"
#include "rename/FileMove.h"
#include "rename/RenamePlan.h"
#include "res/CommandIds.h"
#include "ribbon/CommandMenu.h"
#include "ribbon/Menus.h"
#include "ribbon/PopupMenus.h"
#include "ribbon/RibbonAccess.h"
#include "scan/MatchByFolder.h"
#include "scan/ScanFromSettings.h"
#include "scan/ScanWorkers.h"
#include "settings/SplitWords.h"
#include "view/FolderPicker.h"
#include "view/LanguageTagOption.h"
#include "view/RenamerListCtrl.h"
#include "view/ScanInWindow.h"
#include "view/ScanMessages.h"
#include "view/SuggestionsDialog.h"
#include "view/ViewHost.h"
#include "wxplatform/MessageBoxes.h"
#include "wxplatform/WxText.h"

#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include <atomic>
#include <iostream>
#include <memory>
#include <set>

namespace ids = tesslin::ids;

namespace {

// The captions of the two lists' one column.
constexpr const char* kVideoListCaption = "자막 파일 없는 영상 파일 이름 목록";
constexpr const char* kSubtitleListCaption = "영상 파일 없는 자막 파일 이름";

constexpr const char* kNoVideoSelected = "영상 파일이 선택되지 않았습니다.";
constexpr const char* kNoSubtitleSelected = "자막 파일이 선택되지 않았습니다.";
constexpr const char* kRenamingError = "Renaming error!";
constexpr const char* kNoProposals = "이름만 달라 짝이 될 파일을 찾지 못했습니다.";
constexpr const char* kNothingToUndo = "되돌릴 이름 변경이 없습니다.";
constexpr const char* kFolderUnknown =
    "선택한 폴더의 경로를 알 수 없어 루트 폴더를 바꾸지 않았습니다.";
constexpr const char* kFolderWithLineBreak =
    "폴더 이름에 줄 바꿈 문자가 있어 설정 파일에 저장할 수 없으므로 루트 폴더를 바꾸지 "
    "않았습니다.\n\n폴더: ";
// The captions of the two name boxes.
constexpr const char* kVideoNameBox = "영상 파일 이름";
constexpr const char* kSubtitleNameBox = "자막 파일 이름";

// Texts that may carry paths or patterns, whose bytes need not be UTF-8.
void ShowFrameworkText(const std::string& text) {
    tesslin::ShowFrameworkMessage(tesslin::PathToWx(text));
}

// Why a rename was refused before anything on disk was touched. `partnerBox` is the caption
// of the box whose name the file was to take.
std::string RefusalText(const tesslin::RenameRefused& refusal, const std::string& mover,
                        const std::string& partner, const std::string& partnerBox) {
    using tesslin::RenameRefusal;
    constexpr const char* kNotRenamed = " 이름을 변경하지 않았습니다.";
    constexpr const char* kPickAgain = "\n목록에서 파일을 다시 선택하세요.";
    switch (refusal.reason()) {
    case RenameRefusal::kEmptyName:
        return std::string("변경할 파일 이름이 비어 있어") + kNotRenamed + kPickAgain;
    case RenameRefusal::kNoExtension:
        return std::string("변경할 파일 이름에 확장자가 없어") + kNotRenamed + "\n\n파일: " + mover;
    case RenameRefusal::kNoFileName:
    case RenameRefusal::kNotAFile:
        return std::string("변경할 이름이 파일이 아니어서(폴더 등)") + kNotRenamed +
               "\n\n이름: " + mover;
    case RenameRefusal::kOnlyExtension:
        if (partner.empty()) {
            return partnerBox + "이 비어 있어" + kNotRenamed + kPickAgain;
        }
        return std::string("새 파일 이름이 확장자뿐이어서") + kNotRenamed + "\n\n" + partnerBox +
               ": " + partner;
    case RenameRefusal::kPartnerNotAbsolute:
        return partnerBox + "이 절대 경로가 아니어서" + kNotRenamed + kPickAgain + "\n\n" +
               partnerBox + ": " + partner;
    }
    return refusal.what();
}

} // namespace

wxIMPLEMENT_DYNAMIC_CLASS(CTesslinGUIView, wxView);

bool CTesslinGUIView::OnCreate(wxDocument* doc, long flags) {
    if (!wxView::OnCreate(doc, flags)) {
        return false;
    }
    tesslin::ViewHost* host = tesslin::TheViewHost();
    if (!host) {
        return false;
    }
    SetFrame(&host->Frame());
    m_panel = new wxPanel(&host->Frame(), wxID_ANY, wxDefaultPosition, wxDefaultSize, wxNO_BORDER);

    // The lists keep automatic window IDs: 65000 and 65001 are beyond the toolkit's range
    // of window IDs, and nothing addresses the lists by ID.
    m_videoList = new tesslin::CRenamerListCtrl;
    m_videoList->Create(m_panel, wxID_ANY, wxPoint(0, 0), wxSize(500, 500),
                        tesslin::FromUtf8(kVideoListCaption));
    m_videoList->m_bSubtitleList = false;
    m_subtitleList = new tesslin::CRenamerListCtrl;
    m_subtitleList->Create(m_panel, wxID_ANY, wxPoint(0, 500), wxSize(500, 200),
                           tesslin::FromUtf8(kSubtitleListCaption));
    m_subtitleList->m_bSubtitleList = true;

    m_panel->Bind(wxEVT_SIZE, &CTesslinGUIView::OnSize, this);
    // A right click (or the menu key) anywhere in the view, lists included.
    m_panel->Bind(wxEVT_CONTEXT_MENU, &CTesslinGUIView::OnContextMenu, this);
    host->SetViewWindow(m_panel);
    Activate(true);
    return true;
}

bool CTesslinGUIView::OnClose(bool deleteWindow) {
    // The view closes only as part of its document's close (the document manager closes the
    // document, then its views), so the base class's closing of the document again is left
    // out: it would write the settings a second time.
    Activate(false);
    tesslin::JoinLeftWork();
    if (deleteWindow && m_panel) {
        if (tesslin::ViewHost* host = tesslin::TheViewHost()) {
            host->SetViewWindow(nullptr);
        }
        m_panel->Destroy();
        m_panel = nullptr;
        m_videoList = nullptr;
        m_subtitleList = nullptr;
    }
    return true;
}

void CTesslinGUIView::OnDraw(wxDC*) {}

void CTesslinGUIView::OnUpdate(wxView*, wxObject*) {
    if (!m_videoList) {
        return;
    }
    tesslin::FillFileList({}, *m_videoList);
    tesslin::FillFileList({}, *m_subtitleList);
    m_scanned = false;
    tesslin::SetRibbonEditText(ids::kEditVideoFileName, std::string());
    tesslin::SetRibbonEditText(ids::kEditSubtitleFileName, std::string());
}

CTesslinGUIDoc* CTesslinGUIView::GetDocument() const {
    return static_cast<CTesslinGUIDoc*>(wxView::GetDocument());
}

tesslin::Settings& CTesslinGUIView::Settings() const {
    return GetDocument()->m_settings;
}

void CTesslinGUIView::OnSize(wxSizeEvent& event) {
    event.Skip();
    const wxSize client = m_panel->GetClientSize();
    const int half = client.y / 2;
    // The row at y = half stays the view's own: a one-pixel line between the lists.
    m_videoList->SetSize(0, 0, client.x, half);
    m_subtitleList->SetSize(0, half + 1, client.x, client.y - (half + 1));
    m_videoList->SetColumnWidth(0, client.x);
    m_subtitleList->SetColumnWidth(0, client.x);
}

void CTesslinGUIView::OnContextMenu(wxContextMenuEvent& event) {
    wxPoint where = event.GetPosition();
    if (where == wxDefaultPosition) {
        // From the keyboard: at the mouse pointer.
        where = wxGetMousePosition();
    }
    // Its commands travel from the view's window like any command.
    const std::unique_ptr<tesslin::CommandMenu> menu =
        tesslin::menus::CreatePopupMenu(tesslin::menus::kPopupEdit);
    tesslin::PresentPopupMenu(*m_panel, *menu, m_panel->ScreenToClient(where));
}

// ---- Root folder

void CTesslinGUIView::OnButtonFolder(wxCommandEvent&) {
    const std::optional<std::string> folder = tesslin::PickFolder(m_panel);
    if (!folder) {
        return;
    }
    // The root stays as it was: an empty root is no folder to scan, and a line break cannot
    // be kept in the line-based settings file, whose write at the close would then refuse
    // every other change of the session as well.
    if (folder->empty()) {
        ShowFrameworkText(kFolderUnknown);
        return;
    }
    if (folder->find('\n') != std::string::npos) {
        ShowFrameworkText(std::string(kFolderWithLineBreak) + *folder);
        return;
    }
    Settings().root_directory.value = *folder;
    tesslin::ShowRootFolder(*folder);
    if (tesslin::ViewHost* host = tesslin::TheViewHost()) {
        if (wxStatusBar* bar = host->Frame().GetStatusBar()) {
            bar->Refresh();
        }
    }
}

// ---- Search settings

void CTesslinGUIView::OnEditVideoExtensionList(wxCommandEvent&) {
    Settings().vid_ext.value =
        tesslin::SplitWords(tesslin::GetRibbonEditText(ids::kEditVideoExtensionList));
}

void CTesslinGUIView::OnEditSubtitleExtensionList(wxCommandEvent&) {
    Settings().sub_ext.value =
        tesslin::SplitWords(tesslin::GetRibbonEditText(ids::kEditSubtitleExtensionList));
}

void CTesslinGUIView::OnEditVideoRegularExpression(wxCommandEvent&) {
    Settings().vid_regex.value = tesslin::GetRibbonEditText(ids::kEditVideoRegularExpression);
}

void CTesslinGUIView::OnEditSubtitleRegularExpression(wxCommandEvent&) {
    Settings().sub_regex.value = tesslin::GetRibbonEditText(ids::kEditSubtitleRegularExpression);
}

// The name boxes are filled by the lists and read by the rename command; typing in them
// changes nothing else.
void CTesslinGUIView::OnEditFileName(wxCommandEvent&) {}

void CTesslinGUIView::OnUpdateEditFileName(wxUpdateUIEvent&) {}

void CTesslinGUIView::OnCheckRecursive(wxCommandEvent&) {
    Settings().is_recursive.value = !Settings().is_recursive.value;
}

void CTesslinGUIView::OnCheckUseRegularExpression(wxCommandEvent&) {
    Settings().use_vid_regex.value = !Settings().use_vid_regex.value;
    Settings().use_sub_regex.value = !Settings().use_sub_regex.value;
}

// The two rename check boxes act as a pair of radio buttons on one switch.
void CTesslinGUIView::OnCheckRenameSubtitleFile(wxCommandEvent&) {
    Settings().rename_sub_file.value = true;
}

void CTesslinGUIView::OnCheckRenameVideoFile(wxCommandEvent&) {
    Settings().rename_sub_file.value = false;
}

void CTesslinGUIView::OnUpdateCheckRecursive(wxUpdateUIEvent& event) {
    event.Check(Settings().is_recursive.value);
}

void CTesslinGUIView::OnUpdateCheckUseRegularExpression(wxUpdateUIEvent& event) {
    // One check box governs both filters: the subtitle filter follows the video filter's
    // switch from the first refresh on, whatever the settings file held.
    Settings().use_sub_regex.value = Settings().use_vid_regex.value;
    event.Check(Settings().use_vid_regex.value);
}

void CTesslinGUIView::OnUpdateCheckRenameSubtitleFile(wxUpdateUIEvent& event) {
    event.Check(Settings().rename_sub_file.value);
}

void CTesslinGUIView::OnUpdateCheckRenameVideoFile(wxUpdateUIEvent& event) {
    event.Check(!Settings().rename_sub_file.value);
}

// ---- Scan

void CTesslinGUIView::OnButtonScan(wxCommandEvent&) {
    std::string failure;
    tesslin::ScanProgress progress;
    std::optional<ScanResult> result = RunScan(failure, &progress);
    if (!result) {
        // The lists, the ribbon and the settings are as they were before the scan; a
        // cancelled scan needs no word, the user asked for it.
        if (!failure.empty()) {
            ShowFrameworkText(failure);
        }
        return;
    }
    ShowScanResult(std::move(*result));
}

std::optional<CTesslinGUIView::ScanResult>
CTesslinGUIView::RunScan(std::string& failure, tesslin::ScanProgress* progress) const {
    const tesslin::Settings& settings = Settings();
    tesslin::CMismatchScanner scanner;
    tesslin::TakeScanOptions(settings, scanner);
    scanner.keep_language_tag = tesslin::KeepLanguageTag();
    scanner.jobs = tesslin::DefaultScanJobs();
    scanner.progress = progress;

    ScanResult result;
    try {
        const auto scan = [&] {
            scanner.Scan(result.unmatched_videos, result.unmatched_subtitles);
        };
        if (progress) {
            tesslin::RunScanInWindow(*progress, scan);
        } else {
            scan();
        }
    } catch (const tesslin::ScanCancelled&) {
        failure.clear();
        return std::nullopt;
    } catch (const std::exception& e) {
        failure = tesslin::ScanFailureText(scanner, e);
        return std::nullopt;
    }
    result.skipped = scanner.skipped();
    return result;
}

void CTesslinGUIView::ShowScanResult(ScanResult result) {
    const bool both = !result.unmatched_videos.empty() && !result.unmatched_subtitles.empty();
    if (tesslin::ViewHost* host = tesslin::TheViewHost()) {
        host->ShowScanCounts(result.unmatched_videos.size(), result.unmatched_subtitles.size());
    }
    tesslin::FillFileList(std::move(result.unmatched_videos), *m_videoList);
    tesslin::FillFileList(std::move(result.unmatched_subtitles), *m_subtitleList);
    m_scanned = true;
    if (both) {
        if (tesslin::ViewHost* host = tesslin::TheViewHost()) {
            host->ActivateCategory(2);
        }
    }
    if (!result.skipped.empty()) {
        // The rows first, so the user sees what the scan did find behind the message.
        m_panel->Update();
        ShowFrameworkText(tesslin::SkippedEntriesText(result.skipped));
    }
}

// ---- Rename

void CTesslinGUIView::OnButtonRenameFile(wxCommandEvent&) {
    const long videoRow = m_videoList->FirstSelectedRow();
    const long subtitleRow = m_subtitleList->FirstSelectedRow();
    if (videoRow < 0) {
        tesslin::ShowFrameworkMessage(tesslin::FromUtf8(kNoVideoSelected));
        return;
    }
    if (subtitleRow < 0) {
        tesslin::ShowFrameworkMessage(tesslin::FromUtf8(kNoSubtitleSelected));
        return;
    }
    // The names are the boxes' texts as they stand now: the user may have edited them since
    // the rows were selected. The rows only say which pair leaves the lists.
    const std::string videoName = tesslin::GetRibbonEditText(ids::kEditVideoFileName);
    const std::string subtitleName = tesslin::GetRibbonEditText(ids::kEditSubtitleFileName);
    std::cout << "\nVideo: " << videoName << "\n"
              << "Sub:   " << subtitleName << "\n";

    const bool renameSubtitle = Settings().rename_sub_file.value;
    tesslin::RenamePlan plan;
    try {
        // The lists only ever put absolute paths in the boxes; a relative one was typed or
        // left over, and would move the file into the program's working folder.
        plan = tesslin::PrepareRename(videoName, subtitleName, renameSubtitle,
                                      tesslin::PartnerPaths::kAbsoluteOnly);
    } catch (const tesslin::RenameRefused& refusal) {
        // Nothing has changed yet; the lists and boxes stay so the user can correct the name.
        ShowFrameworkText(RefusalText(refusal, renameSubtitle ? subtitleName : videoName,
                                      renameSubtitle ? videoName : subtitleName,
                                      renameSubtitle ? kVideoNameBox : kSubtitleNameBox));
        return;
    }
    try {
        tesslin::MoveFileNoReplace(plan.existingName, plan.newName);
        m_renameHistory.Record({{{plan.existingName, plan.newName}, true, {}}});
    } catch (const std::exception& e) {
        tesslin::ShowViewMessage(
            tesslin::PathToWx(std::string(kRenamingError) + "\n" + tesslin::ErrorText(e)));
    }
    // Whatever the outcome, the pair leaves the lists; the next scan shows it again if it
    // is still unmatched.
    m_videoList->DeleteRow(videoRow);
    m_subtitleList->DeleteRow(subtitleRow);
    tesslin::SetRibbonEditText(ids::kEditVideoFileName, std::string());
    tesslin::SetRibbonEditText(ids::kEditSubtitleFileName, std::string());
}

// ---- Pair suggestions

void CTesslinGUIView::OnButtonSuggestPairs(wxCommandEvent& event) {
    if (!m_scanned) {
        // The proposals come from the lists: fill them first.
        OnButtonScan(event);
        if (!m_scanned) {
            return; // the scan failed (and said why) or was cancelled
        }
    }
    // The matching runs on a worker, folder by folder on as many threads as the scan, on copies
    // of the lists (compact, as the lists hold them); Esc stops it before its next folder and drops
    // what it found. The worker owns everything it touches, since a stop does not wait for the
    // folder in hand.
    struct Matching {
        tesslin::PathList videos, subtitles;
        tesslin::MatchOptions options;
        std::vector<tesslin::PairProposal> found;
        tesslin::FolderMatchProgress progress;
    };
    auto matching = std::make_shared<Matching>();
    matching->videos = m_videoList->Rows();
    matching->subtitles = m_subtitleList->Rows();
    matching->options.rename_sub_file = Settings().rename_sub_file.value;
    matching->options.keep_language_tag = tesslin::KeepLanguageTag();
    tesslin::WindowWork work;
    work.stop = &matching->progress.stop;
    work.status = [&progress = matching->progress] {
        return "짝 찾는 중: " + std::to_string(progress.finished.load()) + " / " +
               std::to_string(progress.total.load()) + " (Esc: 취소)";
    };
    work.work = [matching, jobs = tesslin::DefaultScanJobs()] {
        tesslin::MatchFolderByFolder(
            matching->videos, matching->subtitles, matching->options,
            [&found = matching->found](tesslin::PairProposal& proposal) {
                found.push_back(std::move(proposal));
            },
            [](std::size_t, const tesslin::UnpairedFile&) {}, &matching->progress, jobs);
    };
    work.leave_when_stopped = true;
    if (tesslin::RunWorkInWindow(work) || matching->progress.stop) {
        return;
    }
    std::vector<tesslin::PairProposal> proposals = std::move(matching->found);
    // The matcher's copies of the lists are not needed while the preview is open.
    work = {};
    matching.reset();
    if (proposals.empty()) {
        tesslin::ShowViewMessage(std::string(kNoProposals));
        return;
    }
    tesslin::CSuggestionsDialog dialog(m_panel, std::move(proposals), m_renameHistory);
    dialog.ShowModal();

    // Both files of a renamed pair leave the lists, and a box that named one is emptied.
    std::set<std::string> renamed;
    for (const tesslin::PairProposal* pair : dialog.Renamed()) {
        renamed.insert(pair->video.string());
        renamed.insert(pair->subtitle.string());
    }
    if (renamed.empty()) {
        return;
    }
    m_videoList->RemoveRows(renamed);
    m_subtitleList->RemoveRows(renamed);
    for (const int box : {ids::kEditVideoFileName, ids::kEditSubtitleFileName}) {
        if (renamed.count(tesslin::GetRibbonEditText(box)) != 0) {
            tesslin::SetRibbonEditText(box, std::string());
        }
    }
}

void CTesslinGUIView::OnButtonUndoRename(wxCommandEvent&) {
    if (!m_renameHistory.CanUndo()) {
        tesslin::ShowViewMessage(std::string(kNothingToUndo));
        return;
    }
    tesslin::BatchProgress progress;
    std::vector<tesslin::StepResult> results;
    tesslin::WindowWork work;
    work.stop = &progress.stop;
    work.status = [&progress] {
        return "되돌리는 중: " + std::to_string(progress.finished.load()) + " / " +
               std::to_string(progress.total.load()) + " (Esc: 취소)";
    };
    work.work = [&] { results = m_renameHistory.UndoLast(&progress); };
    const bool closing = tesslin::RunWorkInWindow(work);
    std::size_t undone = 0;
    std::string failures;
    for (const tesslin::StepResult& result : results) {
        if (result.done) {
            ++undone;
        } else {
            failures += "\n" + result.error;
        }
    }
    std::string text = "이름 변경 " + std::to_string(undone) + "건을 되돌렸습니다.";
    if (results.size() < progress.total) {
        text += "\n취소하여 " + std::to_string(progress.total - results.size()) +
                "건은 그대로 두었습니다. 다시 되돌리기로 이어서 되돌릴 수 있습니다.";
    }
    if (!failures.empty()) {
        text += "\n\n되돌리지 못한 파일 (그대로 두었습니다):" + failures;
    }
    if (closing) {
        return; // the window closes now; no box, no scan
    }
    if (undone > 0) {
        // The files are back under their old names: the lists show them as the disk has them.
        wxCommandEvent scan;
        OnButtonScan(scan);
    }
    tesslin::ShowViewMessage(tesslin::PathToWx(text));
}

void CTesslinGUIView::OnUpdateButtonUndoRename(wxUpdateUIEvent& event) {
    event.Enable(m_renameHistory.CanUndo());
}

void CTesslinGUIView::OnCheckKeepLanguageTag(wxCommandEvent&) {
    tesslin::SetKeepLanguageTag(!tesslin::KeepLanguageTag());
}

void CTesslinGUIView::OnUpdateCheckKeepLanguageTag(wxUpdateUIEvent& event) {
    event.Check(tesslin::KeepLanguageTag());
}

// The ribbon's buttons send their own event type; the application menu, the key tips and
// the accelerators send the same IDs as menu commands. Both reach the same handler.
#define TESSLIN_EVT_BUTTON(id, handler)                                                            \
    EVT_COMMAND(id, wxEVT_RIBBONBUTTONBAR_CLICKED, handler)                                        \
    EVT_MENU(id, handler)

// The command IDs each handler serves. (Kept last: the formatter cannot follow the table.)
// clang-format off
wxBEGIN_EVENT_TABLE(CTesslinGUIView, wxView)
    TESSLIN_EVT_BUTTON(ids::kButtonFolder, CTesslinGUIView::OnButtonFolder)
    TESSLIN_EVT_BUTTON(ids::kMainFolder, CTesslinGUIView::OnButtonFolder)
    TESSLIN_EVT_BUTTON(ids::kButtonScan, CTesslinGUIView::OnButtonScan)
    TESSLIN_EVT_BUTTON(ids::kMainScan, CTesslinGUIView::OnButtonScan)
    TESSLIN_EVT_BUTTON(ids::kButtonRenameFile, CTesslinGUIView::OnButtonRenameFile)
    TESSLIN_EVT_BUTTON(ids::kButtonSuggestPairs, CTesslinGUIView::OnButtonSuggestPairs)
    TESSLIN_EVT_BUTTON(ids::kButtonUndoRename, CTesslinGUIView::OnButtonUndoRename)
    EVT_TEXT(ids::kEditVideoExtensionList, CTesslinGUIView::OnEditVideoExtensionList)
    EVT_TEXT(ids::kEditSubtitleExtensionList, CTesslinGUIView::OnEditSubtitleExtensionList)
    EVT_TEXT(ids::kEditVideoRegularExpression, CTesslinGUIView::OnEditVideoRegularExpression)
    EVT_TEXT(ids::kEditSubtitleRegularExpression,
             CTesslinGUIView::OnEditSubtitleRegularExpression)
    EVT_TEXT(ids::kEditVideoFileName, CTesslinGUIView::OnEditFileName)
    EVT_TEXT(ids::kEditSubtitleFileName, CTesslinGUIView::OnEditFileName)
    EVT_CHECKBOX(ids::kCheckRecursive, CTesslinGUIView::OnCheckRecursive)
    EVT_CHECKBOX(ids::kCheckUseRegularExpression, CTesslinGUIView::OnCheckUseRegularExpression)
    EVT_CHECKBOX(ids::kCheckRenameSubtitleFile, CTesslinGUIView::OnCheckRenameSubtitleFile)
    EVT_CHECKBOX(ids::kCheckRenameVideoFile, CTesslinGUIView::OnCheckRenameVideoFile)
    EVT_CHECKBOX(ids::kCheckKeepLanguageTag, CTesslinGUIView::OnCheckKeepLanguageTag)
    EVT_UPDATE_UI(ids::kCheckRecursive, CTesslinGUIView::OnUpdateCheckRecursive)
    EVT_UPDATE_UI(ids::kCheckUseRegularExpression,
                  CTesslinGUIView::OnUpdateCheckUseRegularExpression)
    EVT_UPDATE_UI(ids::kCheckRenameSubtitleFile, CTesslinGUIView::OnUpdateCheckRenameSubtitleFile)
    EVT_UPDATE_UI(ids::kCheckRenameVideoFile, CTesslinGUIView::OnUpdateCheckRenameVideoFile)
    EVT_UPDATE_UI(ids::kCheckKeepLanguageTag, CTesslinGUIView::OnUpdateCheckKeepLanguageTag)
    EVT_UPDATE_UI(ids::kEditVideoFileName, CTesslinGUIView::OnUpdateEditFileName)
    EVT_UPDATE_UI(ids::kButtonUndoRename, CTesslinGUIView::OnUpdateButtonUndoRename)
wxEND_EVENT_TABLE()
