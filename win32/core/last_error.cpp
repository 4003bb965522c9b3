// GetLastError, SetLastError and FormatMessageA, with the errno mapping the
// layer's KERNEL32 functions share.
#include "last_error.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <type_traits>

namespace {

struct LastError {
  DWORD code = NO_ERROR;
  // The code a failed system call last recorded, and its errno value;
  // `error` is 0 when the layer has since raised that code by itself.
  DWORD systemCode = NO_ERROR;
  int error = 0;
};

thread_local LastError lastError;

struct FixedMessage {
  DWORD code;
  const char* text;
};

// The English wording of the codes the layer reports, for a code that no
// remembered errno value describes.
constexpr FixedMessage kFixedMessages[] = {
    {NO_ERROR, "The operation completed successfully."},
    {ERROR_INVALID_FUNCTION, "Incorrect function."},
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified."},
    {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified."},
    {ERROR_TOO_MANY_OPEN_FILES, "The system cannot open the file."},
    {ERROR_ACCESS_DENIED, "Access is denied."},
    {ERROR_INVALID_HANDLE, "The handle is invalid."},
    {ERROR_NOT_ENOUGH_MEMORY,
     "Not enough memory resources are available to process this command."},
    {ERROR_NOT_SAME_DEVICE,
     "The system cannot move the file to a different disk drive."},
    {ERROR_WRITE_PROTECT, "The media is write protected."},
    {ERROR_BAD_UNIT, "The system cannot find the device specified."},
    {ERROR_GEN_FAILURE, "A device attached to the system is not functioning."},
    {ERROR_SHARING_VIOLATION,
     "The process cannot access the file because it is being used by another "
     "process."},
    {ERROR_HANDLE_DISK_FULL, "The disk is full."},
    {ERROR_NOT_SUPPORTED, "The request is not supported."},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect."},
    {ERROR_BROKEN_PIPE, "The pipe has been ended."},
    {ERROR_DISK_FULL, "There is not enough space on the disk."},
    {ERROR_CALL_NOT_IMPLEMENTED,
     "This function is not supported on this system."},
    {ERROR_INSUFFICIENT_BUFFER,
     "The data area passed to a system call is too small."},
    {ERROR_INVALID_NAME,
     "The filename, directory name, or volume label syntax is incorrect."},
    {ERROR_NEGATIVE_SEEK,
     "An attempt was made to move the file pointer before the beginning of "
     "the file."},
    {ERROR_SEEK_ON_DEVICE,
     "The file pointer cannot be set on the specified device or file."},
    {ERROR_BUSY, "The requested resource is in use."},
    {ERROR_ALREADY_EXISTS,
     "Cannot create a file when that file already exists."},
    {ERROR_FILENAME_EXCED_RANGE, "The filename or extension is too long."},
    {ERROR_FILE_TOO_LARGE,
     "The file size exceeds the limit allowed and cannot be saved."},
    {ERROR_NO_DATA, "The pipe is being closed."},
    {ERROR_DIRECTORY, "The directory name is invalid."},
    {ERROR_NOACCESS, "Invalid access to memory location."},
    {ERROR_IO_DEVICE,
     "The request could not be performed because of an I/O device error."},
    {ERROR_TOO_MANY_LINKS,
     "An attempt was made to create more links on a file than the file "
     "system supports."},
    {ERROR_DISK_QUOTA_EXCEEDED,
     "The requested file operation failed because the storage quota was "
     "exceeded."},
    {ERROR_RESOURCE_LANG_NOT_FOUND,
     "The specified resource language ID cannot be found in the image file."},
    {ERROR_CANT_RESOLVE_FILENAME,
     "The name of the file cannot be resolved by the system."},
};

const char* FixedText(DWORD code) {
  for (const FixedMessage& message : kFixedMessages)
    if (message.code == code) return message.text;
  return nullptr;
}

// strerror_r is the GNU one (returning the text) or the XSI one (returning 0
// and filling the buffer), depending on the C library's feature macros.
template <typename Result>
std::string StrerrorText(Result result, const char* buffer, int error) {
  if constexpr (std::is_same_v<Result, int>) {
    if (result != 0) return "Unknown error " + std::to_string(error);
    return buffer;
  } else {
    return result;
  }
}

std::string SystemText(int error) {
  char buffer[256] = "";
  return StrerrorText(strerror_r(error, buffer, sizeof buffer), buffer, error);
}

// The languages whose text FormatMessageA has: the neutral and default ones,
// and US English.
bool KnownLanguage(DWORD language) {
  return language == 0x0000 || language == 0x0400 || language == 0x0800 ||
         language == 0x0409;
}

}  // namespace

DWORD ErrorCodeForErrno(int error) {
  switch (error) {
    case 0:
      return NO_ERROR;
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
      return ERROR_DIRECTORY;
    case EPERM:
    case EACCES:
    case EISDIR:
      return ERROR_ACCESS_DENIED;
    case EMFILE:
    case ENFILE:
      return ERROR_TOO_MANY_OPEN_FILES;
    case EBADF:
      return ERROR_INVALID_HANDLE;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case EFAULT:
      return ERROR_NOACCESS;
    case EXDEV:
      return ERROR_NOT_SAME_DEVICE;
    case EROFS:
      return ERROR_WRITE_PROTECT;
    case ENODEV:
    case ENXIO:
      return ERROR_BAD_UNIT;
    case ETXTBSY:
      return ERROR_SHARING_VIOLATION;
    case ENOTTY:
      return ERROR_INVALID_FUNCTION;
    case ENOTSUP:
#if EOPNOTSUPP != ENOTSUP
    case EOPNOTSUPP:
#endif
      return ERROR_NOT_SUPPORTED;
    case ENOSYS:
      return ERROR_CALL_NOT_IMPLEMENTED;
    case EINVAL:
      return ERROR_INVALID_PARAMETER;
    case EPIPE:
      return ERROR_BROKEN_PIPE;
    case ENOSPC:
      return ERROR_DISK_FULL;
    case EDQUOT:
      return ERROR_DISK_QUOTA_EXCEEDED;
    case ESPIPE:
      return ERROR_SEEK_ON_DEVICE;
    case EBUSY:
      return ERROR_BUSY;
    case EEXIST:
      return ERROR_ALREADY_EXISTS;
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    case EFBIG:
    case EOVERFLOW:
      return ERROR_FILE_TOO_LARGE;
    case EAGAIN:
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
      return ERROR_NO_DATA;
    case EIO:
      return ERROR_IO_DEVICE;
    case EMLINK:
      return ERROR_TOO_MANY_LINKS;
    case ELOOP:
      return ERROR_CANT_RESOLVE_FILENAME;
    default:
      return ERROR_GEN_FAILURE;
  }
}

void SetLastErrorFromErrno(int error) {
  SetLastErrorFromErrno(error, ErrorCodeForErrno(error));
}

void SetLastErrorFromErrno(int error, DWORD code) {
  lastError.code = code;
  lastError.systemCode = code;
  lastError.error = error;
}

void SetLastErrorFromLayer(DWORD code) {
  lastError.code = code;
  if (lastError.systemCode == code) lastError.error = 0;
}

DWORD WINAPI GetLastError(void) { return lastError.code; }

// The program's own code keeps the remembered errno value: a program that
// saves GetLastError() and restores it with SetLastError still gets the
// system's wording for it.
void WINAPI SetLastError(DWORD dwErrCode) { lastError.code = dwErrCode; }

DWORD WINAPI FormatMessageA(DWORD dwFlags, LPCVOID /*lpSource*/,
                            DWORD dwMessageId, DWORD dwLanguageId,
                            LPSTR lpBuffer, DWORD nSize,
                            va_list* /*Arguments*/) {
  // No system text here holds an insert, so FORMAT_MESSAGE_IGNORE_INSERTS
  // changes nothing.
  if ((dwFlags & ~static_cast<DWORD>(FORMAT_MESSAGE_IGNORE_INSERTS)) !=
          FORMAT_MESSAGE_FROM_SYSTEM ||
      lpBuffer == nullptr) {
    SetLastErrorFromLayer(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!KnownLanguage(dwLanguageId)) {
    SetLastErrorFromLayer(ERROR_RESOURCE_LANG_NOT_FOUND);
    return 0;
  }
  std::string text;
  if (dwMessageId == lastError.systemCode && lastError.error != 0) {
    text = SystemText(lastError.error);
  } else if (const char* fixed = FixedText(dwMessageId)) {
    text = fixed;
  } else {
    SetLastErrorFromLayer(ERROR_MR_MID_NOT_FOUND);
    return 0;
  }
  text += "\r\n";
  if (text.size() >= nSize) {
    SetLastErrorFromLayer(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(lpBuffer, text.c_str(), text.size() + 1);
  return static_cast<DWORD>(text.size());
}
