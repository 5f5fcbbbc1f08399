#pragma once

#include <QSslConfiguration>
#include <QString>

// Which servers https connections trust: the system's certificate authorities,
// plus those of the PEM file named by TIDEFETCH_EXTRA_CA_FILE when it is set
// (the emulator's own authority, for tests and the demo). Host names are always
// checked and certificate errors are never ignored.
namespace TlsTrust {

inline constexpr char ExtraCaVariable[] = "TIDEFETCH_EXTRA_CA_FILE";

// The configuration for a new https connection or request. Without the variable
// this is Qt's default one, which looks the system's authorities up on demand.
// The authorities are read once for each file the variable names. One thread only.
QSslConfiguration Configuration();

// Why the extra authority file cannot be used; empty when it is fine or not set.
QString ExtraCaProblem();

} // namespace TlsTrust
