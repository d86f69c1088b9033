#include "cli/ScanCommand.h"

#include "cli/Arguments.h"
#include "cli/ScanProgressLine.h"
#include "cli/Status.h"
#include "platform/Error.h"
#include "platform/MessageSeam.h"
#include "scan/MismatchScanner.h"
#include "scan/ScanFromSettings.h"
#include "scan/ScanWorkers.h"
#include "settings/Settings.h"
#include "settings/SettingsFile.h"
#include "settings/SplitWords.h"

#include <boost/filesystem/operations.hpp>
#include <boost/program_options.hpp>

#include <atomic>
#include <optional>
#include <ostream>
#include <sstream>
#include <string_view>

namespace po = boost::program_options;
namespace fs = boost::filesystem;

namespace tesslin::cli {

po::options_description ScanOptions() {
    po::options_description options("Options (each defaults from the settings file)");
    options.add_options()                           //
        ("recursive,r", "scan the sub-folders too") //
        ("video-ext", po::value<std::string>()->value_name("LIST"),
         "video extensions without dots, separated by blanks (\"avi mkv\")") //
        ("sub-ext", po::value<std::string>()->value_name("LIST"),
         "subtitle extensions, the same way") //
        ("video-regex", po::value<std::string>()->value_name("RE"),
         "take only the video files whose name contains a match of RE (turns the video "
         "filter on)") //
        ("sub-regex", po::value<std::string>()->value_name("RE"),
         "the same for subtitle files") //
        ("settings", po::value<std::string>()->value_name("FILE"),
         "take the defaults from FILE instead of TesslinGUI.ini in the working folder") //
        ("keep-language-tag",
         "count a subtitle named after a video plus a language tag (Video.ko.smi) as the "
         "video's partner; off unless given")                                //
        ("null,0", "end each record with a NUL byte instead of a line feed") //
        ("jobs,j", po::value<unsigned>()->value_name("N"),
         "walk the folders with N threads side by side (default: the number of cores, at "
         "most 4; 1 walks them one after another); the list is the same") //
        ("help,h", "show this help");
    return options;
}

namespace {

// Puts the settings reader's messages on `err`, naming the file, for one scope.
class SettingsMessagesTo {
public:
    SettingsMessagesTo(std::ostream& err, const std::string& path)
        : previous_(SetMessageSink([&err, path](const std::string& text) {
              err << "tesslin: " << path << ": " << text << '\n';
          })) {}
    ~SettingsMessagesTo() { SetMessageSink(previous_); }
    SettingsMessagesTo(const SettingsMessagesTo&) = delete;
    SettingsMessagesTo& operator=(const SettingsMessagesTo&) = delete;

private:
    MessageSink previous_;
};

// Fills `settings` from the settings file, which is only ever read: a missing
// "TesslinGUI.ini", or a file that is no settings file, leaves the defaults. Returns false
// when the file was named with --settings or exists but cannot be read; the reader has said
// why.
bool LoadSettings(const po::variables_map& values, Settings& settings, std::ostream& err) {
    settings.ResetToDefaults();
    const bool named = values.count("settings") != 0;
    const std::string path = named ? values["settings"].as<std::string>() : kSettingsFileName;
    boost::system::error_code ignored;
    if (!named && fs::status(path, ignored).type() == fs::file_not_found) {
        return true;
    }
    const SettingsMessagesTo messages(err, path);
    // A value the reader rejects is reported and the rest of the record keeps its defaults,
    // as in the desktop program; the scan goes on, since it changes nothing on the disk.
    return ReadSettings(settings, path) != ReadResult::NotOpened;
}

// The scan engine's options: the command line's where given, else the settings record's.
void SetOptions(const po::variables_map& values, const Settings& settings,
                CMismatchScanner& scanner) {
    TakeScanOptions(settings, scanner);
    const auto text = [&values](const char* name) { return values[name].as<std::string>(); };
    if (values.count("root") != 0) {
        scanner.root_directory = text("root");
    }
    if (values.count("video-ext") != 0) {
        scanner.vid_ext = SplitWords(text("video-ext"));
    }
    if (values.count("sub-ext") != 0) {
        scanner.sub_ext = SplitWords(text("sub-ext"));
    }
    if (values.count("video-regex") != 0) {
        scanner.vid_regex = text("video-regex");
        scanner.use_vid_regex = true;
    }
    if (values.count("sub-regex") != 0) {
        scanner.sub_regex = text("sub-regex");
        scanner.use_sub_regex = true;
    }
    scanner.is_recursive = scanner.is_recursive || values.count("recursive") != 0;
    scanner.keep_language_tag = values.count("keep-language-tag") != 0;
}

// Collects records into large blocks: hundreds of thousands of paths leave in a few dozen
// writes, whatever the stream's own buffering.
class RecordWriter {
public:
    // Stops writing at a block's end once `stop` is set, so that no record is cut.
    RecordWriter(std::ostream& out, char end, const std::atomic<bool>& stop)
        : out_(out), end_(end), stop_(stop) {}

    // Writes every path of `paths` as a record of `kind`.
    void Write(std::string_view kind, const PathList& paths) {
        for (std::size_t i = 0; i < paths.size(); ++i) {
            Write(kind, paths.Folder(i), paths.Name(i));
        }
    }

    void Write(std::string_view kind, std::string_view folder, std::string_view name) {
        block_.append(kind);
        block_ += '\t';
        block_.append(folder); // the bytes as the file system gave them (UTF-8 on Windows)
        block_.append(name);
        block_ += end_;
        if (block_.size() >= kBlockSize) {
            Flush();
        }
    }

    void Flush() {
        if (!stop_) {
            out_.write(block_.data(), static_cast<std::streamsize>(block_.size()));
        }
        block_.clear();
    }

private:
    static constexpr std::size_t kBlockSize = 1 << 16;
    std::ostream& out_;
    const char end_;
    const std::atomic<bool>& stop_;
    std::string block_;
};

} // namespace

int ScanAsOptionsSay(const po::variables_map& values, PathList& videos, PathList& subtitles,
                     std::ostream& err, ScanProgress* progress) {
    Settings settings;
    if (!LoadSettings(values, settings, err)) {
        return kFailed;
    }
    CMismatchScanner scanner;
    SetOptions(values, settings, scanner);
    scanner.jobs = values.count("jobs") != 0 ? values["jobs"].as<unsigned>() : DefaultScanJobs();
    if (scanner.jobs == 0) {
        return ReportUsageError(err, "scan", "--jobs needs at least 1");
    }
    ScanProgress own_progress;
    scanner.progress = progress ? progress : &own_progress;
    std::optional<CancelOnInterrupt> interrupt;
    if (!progress) {
        interrupt.emplace(own_progress);
    }
    try {
        const ProgressLine line(*scanner.progress, err);
        scanner.Scan(videos, subtitles);
    } catch (const ScanCancelled&) {
        return kInterrupted;
    } catch (const std::exception& e) {
        return ReportFailure(err, ErrorText(e));
    }
    for (const SkippedEntry& skipped : scanner.skipped()) {
        err << "tesslin: skipped " << skipped.path.string() << ": " << skipped.reason << '\n';
    }
    return kDone;
}

std::string ScanUsage() {
    std::ostringstream text;
    text << "Usage: tesslin scan [ROOT] [OPTIONS]\n\n"
            "Lists the video files of ROOT that have no subtitle of the same name and the\n"
            "subtitle files that have no video, one record each: \"video\" or \"subtitle\", a\n"
            "tab and the path. ROOT defaults to the settings file's root folder.\n\n"
         << ScanOptions()
         << "\nExit status: 0 when the scan completed, 1 when it failed, 2 for a usage error,\n"
            "130 when it was interrupted (Ctrl+C); the list is then not written, or ends\n"
            "with a whole record.\n";
    return text.str();
}

int RunScan(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    po::options_description all = ScanOptions();
    all.add_options()("root", po::value<std::string>());
    po::positional_options_description positional;
    positional.add("root", 1);
    po::variables_map values;
    if (const auto status =
            ParseCommand("scan", args, all, positional, ScanUsage, out, err, values)) {
        return *status;
    }

    // Ctrl+C stops the scan, or the writing at a record's end.
    ScanProgress progress;
    const CancelOnInterrupt interrupt(progress);
    PathList videos;
    PathList subtitles;
    if (const int status = ScanAsOptionsSay(values, videos, subtitles, err, &progress);
        status != kDone) {
        return status;
    }

    RecordWriter records(out, values.count("null") != 0 ? '\0' : '\n', progress.cancel);
    records.Write("video", videos);
    records.Write("subtitle", subtitles);
    records.Flush();
    if (!out.flush()) {
        return ReportFailure(err, "cannot write the list to standard output");
    }
    return interrupt.interrupted() ? kInterrupted : kDone;
}

} // namespace tesslin::cli
