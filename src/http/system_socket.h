#pragma once
// The operating system's stream sockets. On Windows the first call starts
// Windows Sockets 2.2 for the whole process; a start that fails throws
// HttpError and a later call tries again.
#include "http/socket.h"

namespace nestova::http {

SocketFactory SystemSocketFactory();

}  // namespace nestova::http
