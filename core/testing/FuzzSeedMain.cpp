// Runs a fuzz target once over each seed file (folders: every file in them), so the ordinary
// build checks that the shipped files pass through every reader without a fault.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

static int runOne(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "seed not readable: %s\n", p.c_str());
        return 1;
    }
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return 0;
}

int main(int argc, char** argv)
{
    int failed = 0, ran = 0;
    LLVMFuzzerTestOneInput(nullptr, 0); // the empty input is always a case
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path p(argv[i]);
        if (std::filesystem::is_directory(p)) {
            for (const auto& e : std::filesystem::recursive_directory_iterator(p))
                if (e.is_regular_file()) { failed += runOne(e.path()); ++ran; }
        } else {
            failed += runOne(p);
            ++ran;
        }
    }
    std::printf("%d seeds run, %d unreadable\n", ran, failed);
    return failed == 0 ? 0 : 1;
}
