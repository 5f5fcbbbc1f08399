#pragma once

#include <QStringList>

#include <chrono>

// The starting copy's side of the hand-off (HandOffChannel). It runs before the
// program has a window or an event loop, so it waits for the answer, bounded.
namespace LinkHandOff {

// True when a running copy of the program acknowledged the links; false when
// none listens, or it did not answer within `timeout`.
bool Send(const QStringList &links, std::chrono::milliseconds timeout = std::chrono::seconds(5));

} // namespace LinkHandOff
