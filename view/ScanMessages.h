// The texts the scan command shows when a scan fails or had to leave entries out.
// Texts are UTF-8 Korean with the paths and patterns inserted byte for byte (a path need not
// be UTF-8; show the text losslessly, e.g. with PathToWx).
#pragma once

#include "scan/MismatchScanner.h"

#include <cstddef>
#include <exception>
#include <string>
#include <vector>

namespace tesslin {

// Why the scan with the options of `scanner` failed with `error`, naming the cause:
// - an enabled filter that does not compile: which filter, its pattern and the regular
//   expression library's complaint;
// - a root folder that is empty text, missing, not a folder or unreadable: the folder and,
//   where the system gave one, its reason;
// - anything else: the error's text.
std::string ScanFailureText(const CMismatchScanner& scanner, const std::exception& error);

// The report of what a completed scan left out: how many entries, the first `shown` of them
// with the system's reason each (a path over 100 bytes shortened in its middle, so that the
// box stays on the screen), and how many more. Empty when nothing was skipped.
std::string SkippedEntriesText(const std::vector<SkippedEntry>& skipped, std::size_t shown = 10);

} // namespace tesslin
