#include "core/User.h"

#include <unistd.h>

namespace kx {

bool runningAsRoot() { return ::geteuid() == 0; }

} // namespace kx
