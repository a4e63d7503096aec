#pragma once
// A temporary game directory for tests of every layer: the korvex.wfd folders, removed
// afterwards. Core's tests use it directly; shared/testing/GameDir builds on it.

#include <string>
#include <vector>

namespace kx::test {

class TempDir {
public:
    // Makes <tmp>/korvex-XXXXXX/<name> with korvex.wfd/{config,config/serversets,
    // config/cyclelists,modules,plugins,skins,templates,helpfiles,logs}.
    explicit TempDir(const std::string& name = "Quellfort");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // The folder that holds path(), also removed afterwards.
    const std::string& root() const { return root_; }
    // path() + "/" + rel
    std::string file(const std::string& rel) const;
    // Writes bytes to rel (folders made on the way).
    void write(const std::string& rel, const std::string& bytes) const;
    // Lines joined with CR LF after each.
    void writeLines(const std::string& rel, const std::vector<std::string>& lines) const;
    std::string read(const std::string& rel) const; // "" when missing
    bool exists(const std::string& rel) const;

private:
    std::string root_, path_;
};

} // namespace kx::test
