// The scan as the settings record describes it: one copy of the record's eight scan options
// into the engine, shared by the window and `tesslin`.
#pragma once

namespace tesslin {

struct Settings;
class CMismatchScanner;

// Sets the root folder, the two extension lists, the two filters with their switches and the
// recursion of `scanner` from `settings`; leaves the rest of the scanner (the language-tag
// option, the jobs, the progress) as it is.
void TakeScanOptions(const Settings& settings, CMismatchScanner& scanner);

} // namespace tesslin
