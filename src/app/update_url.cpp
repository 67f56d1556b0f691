// The update-information file. The host is a build setting
// (NESTOVA_UPDATE_HOST); the path is fixed.
#include "app/Unit_Update.h"

namespace nestova {

extern const char kUpdateUrl[] = "http://" NESTOVA_UPDATE_HOST "/dataversion/nsv.txt";

}  // namespace nestova
