#pragma once
// The shell state of the test process (OLE, the Desktop object), made once,
// and the platform the shell controls report through.
#include "recording_platform.h"

namespace nestova {

RecordingPlatform& TestPlatform();

}  // namespace nestova
