#pragma once
// Where the life-table logic sends its messages to the user. The screen shows each message in a
// modal box with an OK button and returns when the user has answered; tests collect them.
#include <functional>
#include <string>

namespace lifetables {

using LTMessageSink = std::function<void(const std::string& message)>;

// Sends a message when a sink is set.
inline void ltShowMessage(const LTMessageSink& sink, const std::string& message) {
    if (sink) sink(message);
}

}  // namespace lifetables
