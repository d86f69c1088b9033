// The core's texts are English, the command line's language. A program that speaks another
// language installs a translation: it is asked for each text as written in the code, with its
// places {0}, {1}, ... still empty, so that a language may put the parts in its own order.
// A text the translation does not know stays English.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>

namespace tesslin {

// The text in the program's language for `english`, or nullptr when it has none.
using Translation = std::function<const char*(const std::string& english)>;

// Installs `translation` (an empty one: English) and returns the one it replaced. Install it
// once at start-up: texts are made on worker threads too, which read it without a lock.
Translation SetTranslation(Translation translation);

// `english` in the installed language, each {n} replaced by parts[n].
std::string Say(const std::string& english, std::initializer_list<std::string> parts = {});

} // namespace tesslin
