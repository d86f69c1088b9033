// List fill benchmark: in the program's own window, the time from the end of a scan to both
// file lists shown, and the program's peak memory for that scan, with 100,000 unmatched
// videos and 100,000 unmatched subtitles. For comparison, side by side in the same run, the
// same rows put into two plain (non-virtual) list controls, which the program does not use.
//
//   list_fill [--files N] [--plain-rows N] [--repeat N] [--tree DIR | --scan DIR]
//
// Needs a display (run under xvfb-run). The tree of 2N one-byte files is made under DIR
// (default: a folder in the system's temporary folder) and kept for the next run; --scan
// scans the existing tree DIR recursively instead and leaves it as it is.
#include "app/MainFrame.h"
#include "app/TesslinGUIApp.h"
#include "document/TesslinGUIDoc.h"
#include "view/TesslinGUIView.h"

#include <wx/docview.h>
#include <wx/frame.h>
#include <wx/listctrl.h>
#include <wx/modalhook.h>
#include <wx/utils.h>

#include <boost/filesystem.hpp>

#include <sys/resource.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace fs = boost::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

struct Options {
    long files = 100000;
    long plain_rows = 100000;
    int repeat = 3;
    std::string tree;
    bool existing = false; // DIR is someone else's tree: scan it, never make it
};

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char* value = argv[i + 1];
        if (name == "--files") {
            options.files = std::atol(value);
        } else if (name == "--plain-rows") {
            options.plain_rows = std::atol(value);
        } else if (name == "--repeat") {
            options.repeat = std::max(1, std::atoi(value));
        } else if (name == "--tree" || name == "--scan") {
            options.tree = value;
            options.existing = name == "--scan";
        } else {
            std::fprintf(stderr, "unknown option %s\n", name.c_str());
            std::exit(2);
        }
    }
    if (options.tree.empty()) {
        options.tree =
            (fs::temp_directory_path() / ("tesslin-list-fill-" + std::to_string(options.files)))
                .string();
    }
    return options;
}

// N videos and N subtitles whose names never pair: every one of them is unmatched.
void MakeTree(const fs::path& root, long files) {
    const fs::path done = root / ".complete";
    if (fs::exists(done)) {
        return;
    }
    fs::remove_all(root);
    fs::create_directories(root);
    char name[64];
    for (long i = 0; i < files; ++i) {
        std::snprintf(name, sizeof name, "movie %06ld.avi", i);
        std::ofstream((root / name).string()) << 'v';
        std::snprintf(name, sizeof name, "subtitle %06ld.smi", i);
        std::ofstream((root / name).string()) << 's';
    }
    std::ofstream(done.string()) << files;
}

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

long PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// The peak so far, and the memory resident now split by where it comes from (the mappings of
// /proc/self/smaps): shared libraries' pages (code and data of the toolkit, GTK, the X and GL
// drivers) against the heap and other anonymous memory, which is the program's own.
void PrintMemory(const char* when) {
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    bool library = false;
    long library_kb = 0, other_kb = 0;
    while (std::getline(smaps, line)) {
        if (!line.empty() && std::isxdigit(static_cast<unsigned char>(line[0])) &&
            line.find('-') < line.find(' ')) {
            library = line.find(".so") != std::string::npos;
        } else if (line.rfind("Rss:", 0) == 0) {
            (library ? library_kb : other_kb) += std::atol(line.c_str() + 4);
        }
    }
    std::printf("memory %s: peak %ld MB; resident %ld MB in shared libraries, %ld MB else\n", when,
                PeakMegabytes(), library_kb / 1024, other_kb / 1024);
}

// A box in an unattended run would wait for ever: report it and answer "cancel".
class NoDialogs : public wxModalDialogHook {
protected:
    int Enter(wxDialog* dialog) override {
        std::fprintf(stderr, "unexpected dialog: %s\n", dialog->GetTitle().utf8_str().data());
        return wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}
};

} // namespace

int main(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    if (!options.existing) {
        MakeTree(options.tree, options.files);
    }

    // The program's settings file and profile go to a scratch folder, not the user's.
    const fs::path scratch = fs::temp_directory_path() / fs::unique_path("list-fill-%%%%%%");
    fs::create_directories(scratch);
    fs::current_path(scratch);
    setenv("HOME", scratch.c_str(), 1);

    wxApp::SetInstance(new CTesslinGUIApp);
    int wx_argc = 1; // our options are not the program's
    if (!wxEntryStart(wx_argc, argv)) {
        std::fprintf(stderr, "no display (run under xvfb-run)\n");
        return 2;
    }
    PrintMemory("with the toolkit started, no window");
    wxSetAssertHandler([](const wxString& file, int line, const wxString&, const wxString& cond,
                          const wxString& msg) {
        std::fprintf(stderr, "%s:%d: %s %s\n", file.utf8_str().data(), line, cond.utf8_str().data(),
                     msg.utf8_str().data());
        std::abort();
    });
    NoDialogs noDialogs;
    noDialogs.Register();

    CTesslinGUIApp& app = wxGetApp();
    app.InitProfile();
    app.InitDocManager();
    if (!app.OpenMainWindow()) {
        std::fprintf(stderr, "the window did not open\n");
        return 1;
    }
    CMainFrame* frame = CMainFrame::Get();
    auto* view = dynamic_cast<CTesslinGUIView*>(app.GetDocManager()->GetAnyUsableView());
    view->GetDocument()->m_settings.root_directory.value = options.tree;
    view->GetDocument()->m_settings.is_recursive.value = options.existing;
    wxYield();
    PrintMemory("with the window open, no scan");

    // The scan command in its two halves: the engine's scan, then the part measured here,
    // from the end of the scan to both lists filled and painted.
    std::vector<double> scan_ms, show_ms;
    std::size_t videos = 0, subtitles = 0;
    for (int run = 0; run < options.repeat; ++run) {
        std::string failure;
        const auto scan_start = Clock::now();
        auto result = view->RunScan(failure);
        scan_ms.push_back(Milliseconds(Clock::now() - scan_start));
        if (!result) {
            std::fprintf(stderr, "scan failed: %s\n", failure.c_str());
            return 1;
        }
        videos = result->unmatched_videos.size();
        subtitles = result->unmatched_subtitles.size();
        const auto start = Clock::now();
        view->ShowScanResult(std::move(*result));
        frame->Refresh();
        frame->Update();
        show_ms.push_back(Milliseconds(Clock::now() - start));
    }
    const long peak_mb = PeakMegabytes();
    std::sort(show_ms.begin(), show_ms.end());
    std::sort(scan_ms.begin(), scan_ms.end());

    std::printf("unmatched: %zu videos, %zu subtitles\n", videos, subtitles);
    std::printf("scan (engine): median %.0f ms\n", scan_ms[scan_ms.size() / 2]);
    std::printf("scan end -> both virtual lists shown: median %.1f ms, min %.1f, max %.1f "
                "(%d runs)\n",
                show_ms[show_ms.size() / 2], show_ms.front(), show_ms.back(), options.repeat);
    std::printf("peak memory of the program after %d scans: %ld MB\n", options.repeat, peak_mb);
    PrintMemory("after the scans");

    if (options.plain_rows > 0) {
        // The comparison, side by side in each round on the same scan result: the program's
        // virtual lists against two plain list controls in a window of their own, which
        // store and measure every row as it is inserted. The order alternates per round.
        auto* other = new wxFrame(nullptr, wxID_ANY, "plain lists", wxDefaultPosition, {800, 600});
        auto* plainVideos = new wxListCtrl(other, wxID_ANY, {0, 0}, {800, 300}, wxLC_REPORT);
        auto* plainSubtitles = new wxListCtrl(other, wxID_ANY, {0, 301}, {800, 299}, wxLC_REPORT);
        for (wxListCtrl* list : {plainVideos, plainSubtitles}) {
            list->AppendColumn("plain", wxLIST_FORMAT_LEFT, 800);
        }
        other->Show();
        wxYield();
        std::vector<double> virtual_ms, plain_ms, ratios;
        for (int round = 0; round < options.repeat; ++round) {
            std::string failure;
            auto result = view->RunScan(failure);
            const auto fill_plain = [&] {
                const auto start = Clock::now();
                for (auto [list, paths] :
                     {std::pair{plainVideos, &result->unmatched_videos},
                      std::pair{plainSubtitles, &result->unmatched_subtitles}}) {
                    list->DeleteAllItems();
                    const long rows = std::min<long>(options.plain_rows, paths->size());
                    for (long i = 0; i < rows; ++i) {
                        list->InsertItem(
                            i, wxString::FromUTF8(paths->Text(static_cast<std::size_t>(i))));
                    }
                }
                other->Refresh();
                other->Update();
                plain_ms.push_back(Milliseconds(Clock::now() - start));
            };
            if (round % 2 == 1) {
                fill_plain();
            }
            auto copy = *result;
            const auto start = Clock::now();
            view->ShowScanResult(std::move(copy));
            frame->Refresh();
            frame->Update();
            virtual_ms.push_back(Milliseconds(Clock::now() - start));
            if (round % 2 == 0) {
                fill_plain();
            }
            ratios.push_back(plain_ms.back() / virtual_ms.back());
        }
        std::sort(virtual_ms.begin(), virtual_ms.end());
        std::sort(plain_ms.begin(), plain_ms.end());
        std::sort(ratios.begin(), ratios.end());
        std::printf("side by side, %ld rows per list (%d rounds): virtual median %.1f ms, plain "
                    "median %.1f ms, plain/virtual median %.0f x\n",
                    std::min<long>(options.plain_rows, static_cast<long>(videos)), options.repeat,
                    virtual_ms[virtual_ms.size() / 2], plain_ms[plain_ms.size() / 2],
                    ratios[ratios.size() / 2]);
        other->Destroy();
    }

    frame->Close(true);
    wxYield();
    noDialogs.Unregister();
    app.OnExit();
    wxEntryCleanup();
    fs::current_path("/");
    fs::remove_all(scratch);
    return 0;
}
