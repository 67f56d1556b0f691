#pragma once
// The platform as Windows provides it: each operation is one or two Win32
// calls, nothing more.
#include "platform/platform.h"

namespace nestova::platform {

// The process-wide instance. The user's short date format is read on the
// first call, which start-up makes before anything else.
Platform& SystemPlatform();

}  // namespace nestova::platform
