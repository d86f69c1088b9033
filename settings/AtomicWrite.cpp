#include "settings/AtomicWrite.h"
namespace tesslin {
void ReplaceFileAtomically(const std::string&, std::string_view, const std::string&) {}
} // namespace tesslin
