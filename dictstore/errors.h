#pragma once

#include <string_view>

namespace dictstore {

// The failures a dictionary or text-file operation can report. Each has the
// one description that every message box of the suite shows for it.
enum class Error {
    None,
    FileNotFound,
    PathNotFound,
    PermissionDenied,
    DiskFull,
    InputPastEnd,
    Overflow,
    BadFileName,
    DeviceIO,
    // Another program holds the dictionary's write lock.
    InUse,
    // A pipe, device or folder where a file should be.
    NotRegularFile,
    // Binary data, or bytes that are text in no encoding the suite reads.
    NotText,
};

// "File not found", "Path not found", ...; empty for Error::None.
std::string_view describe(Error error);

// Maps an errno value from a failed file operation to an Error.
Error errorFromErrno(int err);

}  // namespace dictstore
