#pragma once
// Run errors carry the target platform's run-time error numbers and descriptions, so that
// boxes and logs read as the programs state them ("File not found, 53").

#include <stdexcept>
#include <string>

namespace kx {

namespace err {
constexpr int InvalidCall = 5, Overflow = 6, BadFileName = 52, FileNotFound = 53, DeviceIO = 57,
              DiskFull = 61, InputPastEnd = 62, PermissionDenied = 70, DiskNotReady = 71,
              PathFileAccess = 75, PathNotFound = 76, InvalidPropertyValue = 380,
              InvalidPicture = 481;
}

// The description of a run-time error number ("Application-defined or object-defined error"
// for numbers outside the table).
std::string errorDescription(int number);

class RunError : public std::runtime_error {
public:
    explicit RunError(int number);
    RunError(int number, const std::string& description);
    int number() const { return number_; }
    const std::string& description() const { return description_; }

    // Maps errno after a failed file operation on path. ENOENT is 53 when the folder that
    // should hold path exists and 76 when a folder on the way is missing.
    static RunError fromErrno(int errnum, const std::string& path);

private:
    int number_;
    std::string description_;
};

// The program's end requested through Platform::endProgram in tests (FakePlatform throws it).
struct ProgramEnded {
    int exitCode = 0;
};

} // namespace kx
