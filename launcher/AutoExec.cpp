#include "AutoExec.h"

namespace kx::launcher {

void parseAutoExec(int) {}

} // namespace kx::launcher
