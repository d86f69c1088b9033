// The window's side of the pair suggestions at scale, in the program's own window:
//
//   preview_bench make OUT N       N pairs that the episode rule finds, 1,000 to a folder
//                                  ("Drama.S01E001.1080p.WEB-DL.mkv", "Drama 1화.smi")
//   preview_bench preview ROOT     scan ROOT with its sub-folders, then "짝 찾기" until the
//                                  preview is on screen; prints its time and the peak memory
//   preview_bench batch RECORDS    the preview of the records (as `tesslin suggest` writes
//                                  them) and its "이름 변경" of every row; prints its time
//   preview_bench shot ROOT PNG    as preview, and saves a picture of the preview in PNG
//   preview_bench undo ROOT        as preview, then "이름 변경" of every row in it, then
//                                  "되돌리기" until its report opens (the undo and the scan
//                                  that follows it); prints the undo's time. The files end
//                                  under their first names again.
//
// bench/preview_vs_cli runs these beside `tesslin suggest` and `tesslin apply`. Needs a
// display (run under xvfb-run).
#include "app/MainFrame.h"
#include "app/TesslinGUIApp.h"
#include "document/TesslinGUIDoc.h"
#include "rename/RenameBatch.h"
#include "view/SuggestionsDialog.h"
#include "view/TesslinGUIView.h"

#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/docview.h>
#include <wx/listctrl.h>
#include <wx/modalhook.h>

#include <boost/filesystem.hpp>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = boost::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Processor time of the whole process so far (every thread), user and system.
double ProcessorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void MakePairs(const fs::path& out, long pairs) {
    char name[96];
    for (long i = 0; i < pairs; ++i) {
        const fs::path folder = out / ("Series " + std::to_string(i / 1000));
        if (i % 1000 == 0) {
            fs::create_directories(folder);
        }
        std::snprintf(name, sizeof name, "Drama.S01E%03ld.1080p.WEB-DL.mkv", i % 1000 + 1);
        std::ofstream((folder / name).string()) << 'v';
        std::snprintf(name, sizeof name, "Drama %ld화.smi", i % 1000 + 1);
        std::ofstream((folder / name).string()) << 's';
    }
}

// The preview, when it opens: shown and painted, the time taken, then closed.
class OnPreview : public wxModalDialogHook {
public:
    Clock::time_point shown;
    std::string picture; // where to save a picture of it, if anywhere

protected:
    int Enter(wxDialog* dialog) override {
        dialog->Show();
        dialog->Update();
        shown = Clock::now();
        if (!picture.empty()) {
            // A row chosen, and one left out, as a user reading the list would.
            auto& list = static_cast<tesslin::CSuggestionsDialog*>(dialog)->List();
            list.SetItemState(2, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                              wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
            list.CheckItem(4, false);
            for (int i = 0; i < 20; ++i) {
                wxYield();
                wxMilliSleep(50);
            }
            const wxRect rect = dialog->GetScreenRect();
            wxBitmap bitmap(rect.GetSize());
            wxMemoryDC memory(bitmap);
            wxScreenDC screen;
            memory.Blit(0, 0, rect.width, rect.height, &screen, rect.x, rect.y);
            memory.SelectObject(wxNullBitmap);
            wxImage::AddHandler(new wxPNGHandler);
            bitmap.SaveFile(picture, wxBITMAP_TYPE_PNG);
        }
        dialog->Hide();
        return wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}
};

// For "undo": the preview renames every row and closes; the batch's and the undo's reports
// are closed as they open, and the time of the last one's opening is kept.
class RenameAllThenUndo : public wxModalDialogHook {
public:
    Clock::time_point reported;

protected:
    int Enter(wxDialog* dialog) override {
        if (auto* preview = dynamic_cast<tesslin::CSuggestionsDialog*>(dialog)) {
            preview->Show();
            preview->RenameChecked();
            preview->Hide();
            return wxID_CANCEL;
        }
        reported = Clock::now();
        return wxID_OK;
    }
    void Exit(wxDialog*) override {}
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(
            stderr, "usage: preview_bench make OUT N | preview ROOT | batch RECORDS | undo ROOT\n");
        return 2;
    }
    const std::string mode = argv[1];
    if (mode == "make") {
        MakePairs(argv[2], argc > 3 ? std::atol(argv[3]) : 150000);
        return 0;
    }
    const std::string target = fs::absolute(argv[2]).string();
    const std::string picture = argc > 3 ? fs::absolute(argv[3]).string() : "";
    // The program's settings file and profile go to a scratch folder, not the user's.
    const fs::path scratch = fs::temp_directory_path() / fs::unique_path("preview-%%%%%%");
    fs::create_directories(scratch);
    fs::current_path(scratch);
    setenv("HOME", scratch.c_str(), 1);

    wxApp::SetInstance(new CTesslinGUIApp);
    int wx_argc = 1;
    if (!wxEntryStart(wx_argc, argv)) {
        std::fprintf(stderr, "no display (run under xvfb-run)\n");
        return 2;
    }
    CTesslinGUIApp& app = wxGetApp();
    app.InitProfile();
    app.InitDocManager();
    if (!app.OpenMainWindow()) {
        return 1;
    }
    auto* view = dynamic_cast<CTesslinGUIView*>(app.GetDocManager()->GetAnyUsableView());
    wxYield();

    if (mode == "undo") {
        RenameAllThenUndo hook;
        hook.Register();
        tesslin::Settings& settings = view->GetDocument()->m_settings;
        settings.root_directory.value = target;
        settings.is_recursive.value = true;
        std::string failure;
        view->ShowScanResult(std::move(*view->RunScan(failure)));
        wxCommandEvent press;
        view->OnButtonSuggestPairs(press);
        const auto start = Clock::now();
        const double cpu = ProcessorSeconds();
        view->OnButtonUndoRename(press);
        std::printf("undo_s %.3f\ncpu_s %.3f\n", Seconds(hook.reported - start),
                    ProcessorSeconds() - cpu);
        hook.Unregister();
    } else if (mode == "preview" || mode == "shot") {
        // As the user does it: a scan, then "짝 찾기" (its matching on the worker).
        OnPreview hook;
        if (mode == "shot") {
            hook.picture = picture;
        }
        hook.Register();
        tesslin::Settings& settings = view->GetDocument()->m_settings;
        settings.root_directory.value = target;
        settings.is_recursive.value = true;
        const auto start = Clock::now();
        const double cpu = ProcessorSeconds();
        std::string failure;
        auto result = view->RunScan(failure);
        view->ShowScanResult(std::move(*result));
        wxCommandEvent press;
        view->OnButtonSuggestPairs(press);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("preview_s %.3f\npeak_kb %ld\ncpu_s %.3f\n", Seconds(hook.shown - start),
                    usage.ru_maxrss, ProcessorSeconds() - cpu);
        hook.Unregister();
    } else {
        std::ifstream in(target, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        std::vector<tesslin::PairProposal> proposals;
        for (std::size_t at = 0, end; at < text.size(); at = end + 1) {
            end = text.find('\n', at);
            const std::string record = text.substr(at, end - at);
            const std::size_t tab = record.find('\t');
            const std::size_t rule = record.find('\t', tab + 1);
            proposals.push_back({{},
                                 {},
                                 record.substr(0, tab),
                                 record.substr(tab + 1, rule - tab - 1),
                                 record.substr(rule + 1)});
        }
        tesslin::RenameHistory history;
        tesslin::CSuggestionsDialog dialog(CMainFrame::Get(), std::move(proposals), history);
        dialog.Show();
        wxYield();
        const auto start = Clock::now();
        const double cpu = ProcessorSeconds();
        dialog.RenameChecked();
        std::printf("batch_s %.3f\ncpu_s %.3f\n", Seconds(Clock::now() - start),
                    ProcessorSeconds() - cpu);
    }
    CMainFrame::Get()->Close(true);
    wxYield();
    app.OnExit();
    wxEntryCleanup();
    fs::current_path("/");
    fs::remove_all(scratch);
    return 0;
}
