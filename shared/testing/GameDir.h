#pragma once
// A temporary game directory for tests: the korvex.wfd folders, removed afterwards.

#include "core/testing/TempDir.h"

#include <string>
#include <vector>

namespace kx::test {

// The temporary game directory of core's tests, with what program tests add.
class GameDir : public TempDir {
public:
    using TempDir::TempDir;
    // An executable stand-in program file at rel (a script is never run by the fake).
    void touchProgram(const std::string& rel) const;
};

// The build and source trees of this test binary (KX_BUILD_DIR / KX_SOURCE_DIR in the
// environment win), for end-to-end tests.
std::string buildDir();
std::string sourceDir();

} // namespace kx::test
