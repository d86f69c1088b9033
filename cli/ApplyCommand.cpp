#include "cli/ApplyCommand.h"

#include "cli/Arguments.h"
#include "cli/Status.h"
#include "platform/PathStatus.h"
#include "rename/RenameBatch.h"

#include <boost/program_options.hpp>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

namespace po = boost::program_options;

namespace tesslin::cli {

namespace {

po::options_description ApplyOptions() {
    po::options_description options("Options");
    options.add_options()                                                             //
        ("null,0", "records end with a NUL byte instead of a line feed (suggest -0)") //
        ("help,h", "show this help");
    return options;
}

// A signal ends the run at once while it waits for a record, and after the rename in hand
// (with its line written) otherwise: a rename is never cut off from its report.
std::atomic<bool> g_renaming{false};
std::atomic<bool> g_stop{false};

extern "C" void OnStopSignal(int) {
    if (!g_renaming.load()) {
        std::_Exit(kInterrupted); // every line written so far is flushed already
    }
    g_stop.store(true);
}

class StopOnSignal {
public:
    StopOnSignal()
        : previous_int_(std::signal(SIGINT, &OnStopSignal)),
          previous_term_(std::signal(SIGTERM, &OnStopSignal)) {}
    ~StopOnSignal() {
        std::signal(SIGINT, previous_int_);
        std::signal(SIGTERM, previous_term_);
        g_stop.store(false);
    }
    StopOnSignal(const StopOnSignal&) = delete;
    StopOnSignal& operator=(const StopOnSignal&) = delete;

private:
    using Handler = void (*)(int);
    Handler previous_int_;
    Handler previous_term_;
};

// The two names of a record, or why it is refused. `cut`: the input ended inside it.
struct Record {
    std::string from;
    std::string to;
    std::string refusal;
};

Record ReadRecord(std::string text, bool cut, bool nul_ended, bool from_regular_file) {
    // A record that ends without its end mark is a stream cut off (a writer that died), except
    // for the last line of a file edited by hand, whose final line feed may be missing.
    if (cut && (nul_ended || !from_regular_file)) {
        return {{},
                {},
                nul_ended ? "is cut off: the input ends without its NUL byte"
                          : "is cut off: the input ends without its line feed"};
    }
    if (!nul_ended) {
        // CR LF is one line end: the CR is no part of the last name.
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        // No file name holds a NUL byte; whatever follows one is not a name either.
        if (text.find('\0') != std::string::npos) {
            return {{}, {}, "holds a NUL byte"};
        }
    }
    const std::size_t tab = text.find('\t');
    if (tab == std::string::npos) {
        return {{}, {}, "has no tab between the two names"};
    }
    const std::size_t rule = text.find('\t', tab + 1);
    return {text.substr(0, tab), text.substr(tab + 1, rule - tab - 1), {}};
}

} // namespace

std::string ApplyUsage() {
    std::ostringstream text;
    text << "Usage: tesslin apply [FILE] [-0]\n\n"
            "Renames files as the records of FILE (or standard input) say: the current path,\n"
            "a tab, the new path and optionally a tab and a rule, as 'tesslin suggest' writes\n"
            "them. An existing file is never replaced, and a file keeps its own extension; a\n"
            "record or rename that fails is reported and the rest go on. A record that the\n"
            "input cuts off is refused; so is a last line without its line feed, unless FILE\n"
            "is a file. Ctrl+C stops after the rename in hand.\n\n"
         << ApplyOptions()
         << "\nExit status: 0 when every rename was done, 1 when any was not, 2 for a usage "
            "error, 130 when stopped by a signal.\n";
    return text.str();
}

int RunApply(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
             std::ostream& err) {
    po::options_description all = ApplyOptions();
    all.add_options()("file", po::value<std::string>());
    po::positional_options_description positional;
    positional.add("file", 1);
    po::variables_map values;
    if (const auto status =
            ParseCommand("apply", args, all, positional, ApplyUsage, out, err, values)) {
        return *status;
    }

    std::ifstream file;
    std::istream* input = &in;
    bool regular_file = &in == &std::cin && StandardInputIsRegularFile();
    if (values.count("file") != 0) {
        const std::string path = values["file"].as<std::string>();
        file.open(path, std::ios::binary);
        if (!file) {
            return ReportFailure(err, path + ": " + std::strerror(errno));
        }
        input = &file;
        regular_file = StatusOf(path, true).regular_file;
    }

    const bool nul_ended = values.count("null") != 0;
    const StopOnSignal signals;
    bool failed = false;
    std::string text;
    // One record at a time, each reported as it happens: a long batch shows its progress, a
    // pipe from `suggest` is renamed as it comes, and an interrupted run has said what it did.
    for (std::size_t number = 1; std::getline(*input, text, nul_ended ? '\0' : '\n'); ++number) {
        if (text.empty() || (!nul_ended && text == "\r")) {
            continue;
        }
        const Record record = ReadRecord(text, input->eof(), nul_ended, regular_file);
        g_renaming.store(true);
        if (!record.refusal.empty()) {
            failed = true;
            err << "tesslin: record " << number << ' ' << record.refusal << '\n' << std::flush;
        } else if (const StepResult result = RunRenames({{record.from, record.to}}).front();
                   result.done) {
            out << result.step.from << " -> " << result.step.to << '\n' << std::flush;
        } else {
            failed = true;
            err << "tesslin: " << result.error << '\n' << std::flush;
        }
        g_renaming.store(false);
        if (!out) {
            // Renaming on without saying so would leave the caller not knowing what moved.
            return ReportFailure(err, "cannot write to standard output");
        }
        if (g_stop.load()) {
            return kInterrupted;
        }
    }
    if (input->bad()) {
        return ReportFailure(err, "cannot read the records to the end");
    }
    return failed ? kFailed : kDone;
}

} // namespace tesslin::cli
