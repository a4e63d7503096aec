#include "core/RunError.h"

#include "core/Files.h"

#include <cerrno>
#include <map>

namespace kx {

std::string errorDescription(int number) {
    static const std::map<int, std::string> table = {
        {5, "Invalid procedure call or argument"},
        {6, "Overflow"},
        {52, "Bad file name or number"},
        {53, "File not found"},
        {57, "Device I/O error"},
        {61, "Disk full"},
        {62, "Input past end of file"},
        {70, "Permission denied"},
        {71, "Disk not ready"},
        {75, "Path/File access error"},
        {76, "Path not found"},
        {380, "Invalid property value"},
        {481, "Invalid picture"},
    };
    auto it = table.find(number);
    return it == table.end() ? "Application-defined or object-defined error" : it->second;
}

RunError::RunError(int number) : RunError(number, errorDescription(number)) {}

RunError::RunError(int number, const std::string& description)
    : std::runtime_error(description), number_(number), description_(description) {}

RunError RunError::fromErrno(int errnum, const std::string& path) {
    switch (errnum) {
    case ENOENT: {
        const std::string parent = parentDir(path);
        return RunError(parent.empty() || dirExists(parent) ? err::FileNotFound : err::PathNotFound);
    }
    case EACCES:
    case EPERM: return RunError(err::PermissionDenied);
    case EEXIST:
    case EISDIR:
    case ENOTDIR:
    case EROFS: return RunError(err::PathFileAccess);
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return RunError(err::DiskFull); // no room, whatever the limit
    case EIO: return RunError(err::DeviceIO);
    case ENAMETOOLONG:
    case EINVAL: return RunError(err::BadFileName);
    default: return RunError(err::PathFileAccess);
    }
}

} // namespace kx
