#include "scan/ScanFromSettings.h"

#include "scan/MismatchScanner.h"
#include "settings/Settings.h"

namespace tesslin {

void TakeScanOptions(const Settings& settings, CMismatchScanner& scanner) {
    scanner.root_directory = settings.root_directory.value;
    scanner.vid_ext = settings.vid_ext.value;
    scanner.sub_ext = settings.sub_ext.value;
    scanner.vid_regex = settings.vid_regex.value;
    scanner.sub_regex = settings.sub_regex.value;
    scanner.use_vid_regex = settings.use_vid_regex.value;
    scanner.use_sub_regex = settings.use_sub_regex.value;
    scanner.is_recursive = settings.is_recursive.value;
}

} // namespace tesslin
