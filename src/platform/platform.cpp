#include "platform/platform.h"

namespace nestova::platform {

bool IsNotFound(ErrorCode code) {
  return code == error::kFileNotFound || code == error::kPathNotFound ||
         code == error::kInvalidName;
}

bool IsExistingDirectory(Platform& platform, const Text& path) {
  const AttributeQuery query = platform.Attributes(path);
  return query.error == error::kNone && (query.attributes & attr::kDirectory) != 0;
}

bool IsExistingFile(Platform& platform, const Text& path) {
  const AttributeQuery query = platform.Attributes(path);
  if (query.error == error::kNone) return (query.attributes & attr::kDirectory) == 0;
  if (IsNotFound(query.error)) return false;
  // A search reports what an attribute query may not be allowed to see.
  for (const FoundEntry& entry : platform.Find(path)) {
    if ((entry.attributes & attr::kDirectory) == 0) return true;
  }
  return false;
}

}  // namespace nestova::platform
