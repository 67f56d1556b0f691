#pragma once
// Owner for a Windows Sockets socket; INVALID_SOCKET when there is none.
// Kept apart from handles.h so that only code that uses sockets links ws2_32.
#include <winsock2.h>

#include "platform/handles.h"

namespace nestova::platform {

struct SocketTraits {
  using Handle = SOCKET;
  static constexpr Handle Invalid() { return INVALID_SOCKET; }
  static void Close(Handle s) { ::closesocket(s); }
};
using UniqueSocket = Unique<SocketTraits>;

}  // namespace nestova::platform
