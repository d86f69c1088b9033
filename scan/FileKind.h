// What the scan makes of a file: a video, a subtitle, or anything else.
#pragma once

namespace tesslin {

enum class FileKind { Video, Subtitle, Other };

} // namespace tesslin
