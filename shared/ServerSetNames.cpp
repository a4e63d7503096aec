#include "ServerSetNames.h"

#include "core/Files.h"

namespace kx {

bool isUsableServerSetName(const std::string& fileName, bool handedOver) {
    return isUsableDiskName(fileName, handedOver);
}

} // namespace kx
