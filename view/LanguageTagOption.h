// The option to keep language tags ("언어 태그 유지"): off unless the user turns it on. With
// it on, a scan counts "Video.ko.smi" as the partner of "Video.mkv", and a proposed pair keeps
// the subtitle's tag in the new name. A preference of the user's profile, beside the look
// ("KeepLanguageTag" next to "ApplicationLook"); the settings file knows nothing of it.
#pragma once

namespace tesslin {

bool KeepLanguageTag();
// Writes the choice to the profile at once, as a change of look is.
void SetKeepLanguageTag(bool keep);

} // namespace tesslin
