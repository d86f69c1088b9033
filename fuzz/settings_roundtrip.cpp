// A random settings record, written and read back, must be the same record: every value the
// writer produces reads back equal: empty texts, blanks, carriage returns, "#", double quotes
// and bytes of 128 and above included (a text holding a line feed or a NUL byte is refused, and
// nothing is then written). Each input also goes once through the real file: WriteSettings into a
// temporary folder, then the file's bytes must be exactly the formatted text and
// ReadSettings must load the same record without showing any message.
#include "settings/SettingsFile.h"

#include "fuzz/FuzzCheck.h"
#include "fuzz/SettingsProperties.h"
#include "platform/Error.h"
#include "platform/MessageSeam.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

std::string MakeText(FuzzedDataProvider& input) {
    return input.ConsumeRandomLengthString(256);
}

tesslin::WordList MakeList(FuzzedDataProvider& input) {
    tesslin::WordList list(input.ConsumeIntegralInRange<std::size_t>(0, 6));
    for (auto& word : list) {
        word = MakeText(input);
    }
    return list;
}

// The settings file's folder: one per fuzzing process, under $TMPDIR (scripts/fuzz points it
// at a memory file system, as the writer syncs every file it writes). Kept for the process's
// life and removed at exit; the path lives in static storage that outlives that.
const char* SettingsPath() {
    static char folder[4096];
    static char file[4200];
    if (folder[0] == '\0') {
        const char* tmp = std::getenv("TMPDIR");
        std::snprintf(folder, sizeof folder, "%s/tesslin-fuzz-XXXXXX", tmp && *tmp ? tmp : "/tmp");
        FUZZ_CHECK(mkdtemp(folder) != nullptr);
        std::snprintf(file, sizeof file, "%s/TesslinGUI.ini", folder);
        std::atexit([] {
            std::remove(file);
            rmdir(folder);
        });
    }
    return file;
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    tesslin::Settings settings;
    settings.ResetToDefaults();
    settings.autostart.value = input.ConsumeBool();
    settings.root_directory.value = MakeText(input);
    settings.vid_ext.value = MakeList(input);
    settings.sub_ext.value = MakeList(input);
    settings.vid_regex.value = MakeText(input);
    settings.sub_regex.value = MakeText(input);
    settings.use_vid_regex.value = input.ConsumeBool();
    settings.use_sub_regex.value = input.ConsumeBool();
    settings.is_recursive.value = input.ConsumeBool();
    settings.rename_sub_file.value = input.ConsumeBool();

    tesslin::fuzz::CheckRoundTrip(settings);

    std::string text;
    try {
        text = tesslin::FormatSettingsFile(settings);
    } catch (const tesslin::Error&) {
        return 0; // refusal is checked by CheckRoundTrip
    }
    const std::string path = SettingsPath();
    tesslin::WriteSettings(settings, path);
    FUZZ_CHECK(FileBytes(path) == text);

    bool shown = false;
    const auto previous = tesslin::SetMessageSink([&](const std::string&) { shown = true; });
    tesslin::Settings loaded;
    const bool parsed = tesslin::ReadSettings(loaded, path) == tesslin::ReadResult::Read;
    tesslin::SetMessageSink(previous);
    FUZZ_CHECK(parsed && !shown);
    FUZZ_CHECK(loaded == settings);
    return 0;
}
