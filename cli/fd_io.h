// Reading and writing file descriptors with the retries POSIX asks for:
// again after EINTR, and on after a short write.
//
// Reports nothing and decides nothing about errors; callers get errno values.
#pragma once

#include <cstddef>
#include <string_view>
#include <sys/types.h>

namespace cli {

// Reads up to `size` bytes: the count, 0 at the end, or -1 with errno set.
ssize_t ReadSome(int fd, char* buffer, std::size_t size);

// Writes all of `bytes`: 0, or the errno of the write that failed.
int WriteAll(int fd, std::string_view bytes);

}  // namespace cli
