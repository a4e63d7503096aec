#pragma once
// Who the program runs as.

namespace kx {

// The effective user is root (some engines refuse to sandbox themselves then).
bool runningAsRoot();

} // namespace kx
