#pragma once
// A temporary game directory for tests: the korvex.wfd folders, removed afterwards.

#include <string>
#include <vector>

namespace kx::test {

class GameDir {
public:
    // Makes <tmp>/korvex-XXXXXX/<name> with korvex.wfd/{config,config/serversets,
    // config/cyclelists,modules,plugins,skins,templates,helpfiles,logs}.
    explicit GameDir(const std::string& name = "Quellfort");
    ~GameDir();
    GameDir(const GameDir&) = delete;
    GameDir& operator=(const GameDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + "/" + rel
    std::string file(const std::string& rel) const;
    // Writes bytes to rel (folders made on the way).
    void write(const std::string& rel, const std::string& bytes) const;
    // Lines joined with CR LF after each.
    void writeLines(const std::string& rel, const std::vector<std::string>& lines) const;
    std::string read(const std::string& rel) const; // "" when missing
    bool exists(const std::string& rel) const;
    // An executable stand-in program file at rel (a script is never run by the fake).
    void touchProgram(const std::string& rel) const;

private:
    std::string root_, path_;
};

// The build and source trees of this test binary (KX_BUILD_DIR / KX_SOURCE_DIR in the
// environment win), for end-to-end tests.
std::string buildDir();
std::string sourceDir();

} // namespace kx::test
