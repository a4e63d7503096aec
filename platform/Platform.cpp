#include "platform/Platform.h"

#include <stdexcept>

namespace kx {

namespace {
Platform* installed = nullptr;
}

Platform& platform() {
    if (!installed) throw std::logic_error("no platform installed");
    return *installed;
}

Platform* setPlatform(Platform* p) {
    Platform* old = installed;
    installed = p;
    return old;
}

} // namespace kx
