#pragma once
// The operating-system services start-up needs, in portable text types.
#include <string>

namespace nestova::platform {

// Full path of the running executable, as the system reports it.
std::u16string ModulePath();

// The process's raw command line.
std::u16string RawCommandLine();

// True when the attribute query succeeds and names a directory; nothing
// else is checked.
bool IsExistingDirectory(const std::u16string& path);

}  // namespace nestova::platform
