// The seam through which the toolkit-free core shows a message to the user.
// The desktop program installs a message box; the default writes to standard error.
#pragma once

#include <functional>
#include <string>

namespace tesslin {

using MessageSink = std::function<void(const std::string& text)>;

// Installs `sink` as the place where ShowMessage texts go; an empty sink restores the
// default (standard error, one line per message). Returns the sink it replaced.
MessageSink SetMessageSink(MessageSink sink);

// Shows `text` (UTF-8) to the user and returns when the user has seen it.
void ShowMessage(const std::string& text);

} // namespace tesslin
