#include "dictstore/errors.h"

#include <cerrno>

namespace dictstore {

std::string_view describe(Error error)
{
    switch (error) {
    case Error::None: return {};
    case Error::FileNotFound: return "File not found";
    case Error::PathNotFound: return "Path not found";
    case Error::PermissionDenied: return "Permission denied";
    case Error::DiskFull: return "Disk full";
    case Error::InputPastEnd: return "Input past end of file";
    case Error::Overflow: return "Overflow";
    case Error::BadFileName: return "Bad file name or number";
    case Error::DeviceIO: return "Device I/O error";
    case Error::InUse: return "File in use by another program";
    case Error::NotRegularFile: return "Not a regular file (a pipe or a device)";
    case Error::NotText: return "Not a text file";
    }
    return "Device I/O error";
}

Error errorFromErrno(int err)
{
    switch (err) {
    case ENOENT: return Error::FileNotFound;
    case ENOTDIR: return Error::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY: return Error::PermissionDenied;
    case ENOSPC:
    case EFBIG:  // past the largest file allowed: no more room, as far as the writer can tell
#ifdef EDQUOT
    case EDQUOT:
#endif
        return Error::DiskFull;
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ: return Error::BadFileName;
    case EOVERFLOW: return Error::Overflow;
    default: return Error::DeviceIO;
    }
}

}  // namespace dictstore
