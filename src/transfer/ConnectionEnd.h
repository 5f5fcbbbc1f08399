#pragma once

#include <QtGlobal>

// Tells an orderly close of a TCP connection from a reset. Qt reports both as
// the remote host closing, so a body that runs until the close would pass for
// whole after a reset; looking at the socket before Qt reads it keeps them apart.
namespace ConnectionEnd {

enum class State { DataWaiting, NothingYet, Closed, Reset, Failed };

// Looks at what the socket holds next without taking it.
State Peek(qintptr descriptor);

} // namespace ConnectionEnd
