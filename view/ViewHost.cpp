#include "view/ViewHost.h"

namespace tesslin {

namespace {
// Only the main thread registers and reads it.
ViewHost* registered_host = nullptr;
} // namespace

void SetViewHost(ViewHost* host) {
    registered_host = host;
}

void WithdrawViewHost(const ViewHost* host) {
    if (registered_host == host) {
        registered_host = nullptr;
    }
}

ViewHost* TheViewHost() {
    return registered_host;
}

} // namespace tesslin
