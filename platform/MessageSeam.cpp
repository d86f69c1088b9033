#include "platform/MessageSeam.h"

#include <iostream>
#include <utility>

namespace tesslin {

namespace {
MessageSink& CurrentSink() {
    static MessageSink sink;
    return sink;
}
} // namespace

MessageSink SetMessageSink(MessageSink sink) {
    return std::exchange(CurrentSink(), std::move(sink));
}

void ShowMessage(const std::string& text) {
    if (const MessageSink& sink = CurrentSink()) {
        sink(text);
        return;
    }
    std::cerr << text << '\n';
}

} // namespace tesslin
