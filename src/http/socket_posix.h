#pragma once
// POSIX stream sockets under the HTTP client. Failures carry the Windows
// Sockets number of the same error, so they read alike on both systems.
#include "http/socket.h"

namespace nestova::http {

// The Windows Sockets number for an errno value of a socket call.
int WinsockNumberForErrno(int error);
// The Windows Sockets number for a getaddrinfo result (EAI_*).
int WinsockNumberForResolverError(int error);

}  // namespace nestova::http
