#include "app/FileMove.h"

#include "app/Error.h"

// Placeholder until the move lands.
namespace tesslin {
void MoveFileNoReplace(const std::string&, const std::string&) {
    throw Error("not yet implemented");
}
} // namespace tesslin
