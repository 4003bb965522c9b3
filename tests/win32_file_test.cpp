// The layer's KERNEL32 file functions and last error on real files, FIFOs,
// pipes and devices. Needs no display.
#include <windows.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

constexpr DWORD kSystemFlags =
    FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;

// FormatMessageA's text for `code`; "" when it fails.
std::string MessageText(DWORD code) {
  char buffer[512];
  const DWORD stored = FormatMessageA(kSystemFlags, nullptr, code, 0, buffer,
                                      sizeof buffer, nullptr);
  return std::string(buffer, stored);
}

HANDLE AsHandle(int fd) { return reinterpret_cast<HANDLE>(INT_PTR{fd}); }

// A hang in the code under test ends the test process (SIGALRM) instead of
// blocking the suite.
class HangGuard {
 public:
  HangGuard() { alarm(20); }
  ~HangGuard() { alarm(0); }
};

class FileTest : public ::testing::Test {
 public:
  std::string Path(const std::string& name) const { return dir_ / name; }

  // A file holding `bytes`, made without the code under test.
  std::string MakeFile(const std::string& name, const std::string& bytes) {
    const std::string path = Path(name);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(write(fd, bytes.data(), bytes.size()),
              static_cast<ssize_t>(bytes.size()));
    close(fd);
    return path;
  }

  std::string MakeFifo(const std::string& name) {
    const std::string path = Path(name);
    EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
    return path;
  }

  // Closes `fd` at the end of the test.
  int Keep(int fd) {
    if (fd >= 0) kept_.push_back(fd);
    return fd;
  }

  // A pipe whose ends both close at the end of the test.
  void MakePipe(int ends[2]) {
    ASSERT_EQ(pipe2(ends, O_CLOEXEC), 0);
    Keep(ends[0]);
    Keep(ends[1]);
  }

 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "win32-file-XXXXXX");
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    SetLastError(NO_ERROR);
  }

  void TearDown() override {
    for (int fd : kept_) close(fd);
    fs::remove_all(dir_);
  }

  fs::path dir_;

 private:
  std::vector<int> kept_;
};

std::string ReadAll(HFILE file, UINT size) {
  std::string bytes(size, '\0');
  const UINT got = _lread(file, bytes.data(), size);
  if (got == static_cast<UINT>(HFILE_ERROR)) return "<failed>";
  bytes.resize(got);
  return bytes;
}

TEST_F(FileTest, WritesSeeksAndReadsBack) {
  const std::string path = Path("round.txt");
  const std::string text = "Zorkel\r\nl33t line two";
  const LONG size = static_cast<LONG>(text.size());

  const HFILE file = _lcreat(path.c_str(), 0);
  ASSERT_NE(file, HFILE_ERROR);
  EXPECT_EQ(_lwrite(file, text.data(), text.size()), text.size());
  EXPECT_EQ(_llseek(file, 0, FILE_END), size);
  EXPECT_EQ(_llseek(file, 0, FILE_BEGIN), 0);
  EXPECT_EQ(_llseek(file, 8, FILE_CURRENT), 8);
  EXPECT_EQ(ReadAll(file, 100), text.substr(8));
  EXPECT_EQ(ReadAll(file, 100), "");  // at the end
  EXPECT_EQ(_llseek(file, -3, FILE_END), size - 3);
  EXPECT_EQ(ReadAll(file, 2), "tw");
  EXPECT_EQ(_lclose(file), 0);

  const HFILE again = _lopen(path.c_str(), OF_READ | OF_SHARE_DENY_WRITE);
  ASSERT_NE(again, HFILE_ERROR);
  EXPECT_EQ(ReadAll(again, 100), text);
  EXPECT_EQ(_lclose(again), 0);
  EXPECT_EQ(GetLastError(), DWORD{NO_ERROR});
}

TEST_F(FileTest, ReadsAFiveMebibyteFileInOneCall) {
  std::string bytes(5 << 20, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<char>((i * 7919) >> 5);
  const std::string path = Path("big.bin");
  const HFILE out = _lcreat(path.c_str(), 0);
  ASSERT_NE(out, HFILE_ERROR);
  ASSERT_EQ(_lwrite(out, bytes.data(), bytes.size()), bytes.size());
  ASSERT_EQ(_lclose(out), 0);
  EXPECT_EQ(fs::file_size(path), bytes.size());

  const HFILE in = _lopen(path.c_str(), OF_READ);
  ASSERT_NE(in, HFILE_ERROR);
  EXPECT_TRUE(ReadAll(in, bytes.size() + 100) == bytes);
  EXPECT_EQ(_lclose(in), 0);
}

// The writer puts each piece in only once the pipe is empty, so every
// read(2) gets at most one piece: _lread must gather them all.
TEST_F(FileTest, ReadGathersAPipeDeliveredInPieces) {
  const HangGuard guard;
  int ends[2];
  ASSERT_EQ(pipe2(ends, O_CLOEXEC), 0);
  Keep(ends[0]);
  std::string message;
  for (int i = 0; i < 100; ++i) message += "piece" + std::to_string(i % 10);
  std::atomic<bool> readerDone = false;
  std::thread writer([&] {
    for (std::size_t at = 0; at < message.size() && !readerDone; at += 6) {
      int queued = 1;
      while (!readerDone && ioctl(ends[0], FIONREAD, &queued) == 0 &&
             queued > 0)
        std::this_thread::yield();
      EXPECT_EQ(write(ends[1], message.data() + at, 6), 6);
    }
    close(ends[1]);
  });
  const std::string got = ReadAll(ends[0], message.size() + 10);
  readerDone = true;
  writer.join();
  EXPECT_EQ(got, message);
}

TEST_F(FileTest, WriteOfNoBytesEndsTheFileAtThePosition) {
  const std::string path = MakeFile("cut.txt", "abcdefgh");
  const HFILE file = Keep(_lopen(path.c_str(), OF_READWRITE));
  ASSERT_NE(file, HFILE_ERROR);
  ASSERT_EQ(_llseek(file, 3, FILE_BEGIN), 3);
  EXPECT_EQ(_lwrite(file, "", 0), 0u);
  EXPECT_EQ(fs::file_size(path), 3u);
  EXPECT_EQ(_llseek(file, 0, FILE_END), 3);
  EXPECT_EQ(_llseek(file, 0, FILE_BEGIN), 0);
  EXPECT_EQ(ReadAll(file, 10), "abc");
}

TEST_F(FileTest, CreateTruncatesAndGivesTheAttributeMode) {
  struct Case {
    const char* name;
    int attribute;
    mode_t mode;  // under umask 022
  };
  const Case cases[] = {{"normal.txt", 0, 0644}, {"read-only.txt", 1, 0444}};
  const mode_t savedMask = umask(022);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = MakeFile(c.name, "old contents");
    fs::remove(path);
    const HFILE created = Keep(_lcreat(path.c_str(), c.attribute));
    ASSERT_NE(created, HFILE_ERROR);
    struct stat status;
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, c.mode);
    // The handle reads and writes whatever the attribute.
    EXPECT_EQ(_lwrite(created, "new", 3), 3u);
    EXPECT_EQ(_llseek(created, 0, FILE_BEGIN), 0);
    EXPECT_EQ(ReadAll(created, 10), "new");
  }
  umask(savedMask);

  const std::string existing = MakeFile("existing.txt", "old contents");
  const HFILE truncated = Keep(_lcreat(existing.c_str(), 0));
  ASSERT_NE(truncated, HFILE_ERROR);
  EXPECT_EQ(fs::file_size(existing), 0u);
}

TEST_F(FileTest, HandlesCloseOnExecAndOnlyFifosStayNonBlocking) {
  const HangGuard guard;
  struct Case {
    const char* name;
    HFILE handle;
    bool nonBlocking;
  };
  const Case cases[] = {
      {"created", Keep(_lcreat(Path("made.txt").c_str(), 0)), false},
      {"opened", Keep(_lopen(MakeFile("f.txt", "x").c_str(), OF_READ)), false},
      {"fifo", Keep(_lopen(MakeFifo("fifo").c_str(), OF_READ)), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NE(c.handle, HFILE_ERROR);
    EXPECT_NE(fcntl(c.handle, F_GETFD) & FD_CLOEXEC, 0);
    EXPECT_EQ((fcntl(c.handle, F_GETFL) & O_NONBLOCK) != 0, c.nonBlocking);
  }
}

TEST_F(FileTest, FileTypeTellsDiskCharAndPipe) {
  const HangGuard guard;
  int sockets[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets), 0);
  Keep(sockets[0]);
  Keep(sockets[1]);
  int ends[2];
  MakePipe(ends);
  struct Case {
    const char* name;
    int fd;
    DWORD type;
  };
  const Case cases[] = {
      {"regular file", Keep(_lcreat(Path("disk.txt").c_str(), 0)),
       FILE_TYPE_DISK},
      {"fifo", Keep(_lopen(MakeFifo("fifo").c_str(), OF_READ)), FILE_TYPE_PIPE},
      {"pipe", ends[1], FILE_TYPE_PIPE},
      {"socket", sockets[0], FILE_TYPE_PIPE},
      {"/dev/zero", Keep(_lopen("/dev/zero", OF_READ)), FILE_TYPE_CHAR},
      {"/dev/null", Keep(_lopen("/dev/null", OF_READWRITE)), FILE_TYPE_CHAR},
      {"directory", Keep(open(dir_.c_str(), O_RDONLY | O_DIRECTORY)),
       FILE_TYPE_UNKNOWN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_GE(c.fd, 0);
    SetLastError(ERROR_GEN_FAILURE);
    EXPECT_EQ(GetFileType(AsHandle(c.fd)), c.type);
    if (c.type == FILE_TYPE_UNKNOWN) {
      EXPECT_EQ(GetLastError(), DWORD{NO_ERROR});
    }
  }
}

TEST_F(FileTest, FifoWithNoWriterReadsNothingAtOnce) {
  const HangGuard guard;
  const HFILE fifo = Keep(_lopen(MakeFifo("fifo").c_str(), OF_READ));
  ASSERT_NE(fifo, HFILE_ERROR);
  char byte;
  EXPECT_EQ(_lread(fifo, &byte, 1), 0u);
}

TEST_F(FileTest, SeekPastWhatLongHoldsFailsAndStays) {
  const HFILE file = Keep(_lcreat(Path("sparse.bin").c_str(), 0));
  ASSERT_NE(file, HFILE_ERROR);
  ASSERT_EQ(ftruncate(file, off_t{3} << 30), 0);
  ASSERT_EQ(_llseek(file, 10, FILE_BEGIN), 10);

  EXPECT_EQ(_llseek(file, 0, FILE_END), HFILE_ERROR);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_FILE_TOO_LARGE});
  EXPECT_EQ(MessageText(ERROR_FILE_TOO_LARGE),
            "The file size exceeds the limit allowed and cannot be saved.\r\n");
  EXPECT_EQ(_llseek(file, 0, FILE_CURRENT), 10);
  // The last position a LONG holds is still reachable.
  EXPECT_EQ(_llseek(file, -(LONG{1} << 30) - 1, FILE_END), INT32_MAX);
}

// Each case sets up, makes one failing call and says whether that call
// returned the documented failure value.
struct FailureCase {
  const char* name;
  bool (*call)(FileTest& test);
  DWORD code;
  const char* text;  // FormatMessageA's, without the CR LF
};

void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.name; }

const FailureCase kFailures[] = {
    {"OpenMissingFile",
     [](FileTest& t) {
       return _lopen(t.Path("missing.txt").c_str(), OF_READ) == HFILE_ERROR;
     },
     ERROR_FILE_NOT_FOUND, "No such file or directory"},
    {"OpenInMissingFolder",
     [](FileTest& t) {
       return _lopen(t.Path("nowhere/a.txt").c_str(), OF_READ) == HFILE_ERROR;
     },
     ERROR_PATH_NOT_FOUND, "No such file or directory"},
    {"CreateInMissingFolder",
     [](FileTest& t) {
       return _lcreat(t.Path("nowhere/a.txt").c_str(), 0) == HFILE_ERROR;
     },
     ERROR_PATH_NOT_FOUND, "No such file or directory"},
    {"OpenUnderARegularFile",
     [](FileTest& t) {
       const std::string file = t.MakeFile("plain.txt", "x");
       return _lopen((file + "/a.txt").c_str(), OF_READ) == HFILE_ERROR;
     },
     ERROR_DIRECTORY, "Not a directory"},
    {"OpenFolderToRead",
     [](FileTest& t) {
       return _lopen(t.Path("").c_str(), OF_READ) == HFILE_ERROR;
     },
     ERROR_ACCESS_DENIED, "Is a directory"},
    {"OpenFolderToWrite",
     [](FileTest& t) {
       return _lopen(t.Path("").c_str(), OF_READWRITE) == HFILE_ERROR;
     },
     ERROR_ACCESS_DENIED, "Is a directory"},
    {"CreateOverAFolder",
     [](FileTest& t) { return _lcreat(t.Path("").c_str(), 0) == HFILE_ERROR; },
     ERROR_ACCESS_DENIED, "Is a directory"},
    {"OpenNameTooLong",
     [](FileTest& t) {
       return _lopen(t.Path(std::string(300, 'n')).c_str(), OF_READ) ==
              HFILE_ERROR;
     },
     ERROR_FILENAME_EXCED_RANGE, "File name too long"},
    {"OpenSymbolicLinkLoop",
     [](FileTest& t) {
       fs::create_symlink("loop", t.Path("loop"));
       return _lopen(t.Path("loop").c_str(), OF_READ) == HFILE_ERROR;
     },
     ERROR_CANT_RESOLVE_FILENAME, "Too many levels of symbolic links"},
    {"OpenFifoToWriteWithNoReader",
     [](FileTest& t) {
       return _lopen(t.MakeFifo("fifo").c_str(), OF_WRITE) == HFILE_ERROR;
     },
     ERROR_BAD_UNIT, "No such device or address"},
    {"OpenWithUnknownAccess",
     [](FileTest& t) {
       return _lopen(t.MakeFile("a.txt", "x").c_str(), 3) == HFILE_ERROR;
     },
     ERROR_INVALID_PARAMETER, "The parameter is incorrect."},
    {"OpenNoName",
     [](FileTest&) { return _lopen(nullptr, OF_READ) == HFILE_ERROR; },
     ERROR_INVALID_PARAMETER, "The parameter is incorrect."},
    {"CreateWithUnknownAttribute",
     [](FileTest& t) {
       return _lcreat(t.Path("a.txt").c_str(), 8) == HFILE_ERROR;
     },
     ERROR_INVALID_PARAMETER, "The parameter is incorrect."},
    {"WriteToFullDevice",
     [](FileTest& t) {
       const HFILE full = t.Keep(_lopen("/dev/full", OF_WRITE));
       return full != HFILE_ERROR &&
              _lwrite(full, "x", 1) == static_cast<UINT>(HFILE_ERROR);
     },
     ERROR_DISK_FULL, "No space left on device"},
    {"WriteToReadOnlyHandle",
     [](FileTest& t) {
       const HFILE file =
           t.Keep(_lopen(t.MakeFile("a.txt", "x").c_str(), OF_READ));
       return file != HFILE_ERROR &&
              _lwrite(file, "y", 1) == static_cast<UINT>(HFILE_ERROR);
     },
     ERROR_ACCESS_DENIED, "Bad file descriptor"},
    {"TruncateThroughReadOnlyHandle",
     [](FileTest& t) {
       const HFILE file =
           t.Keep(_lopen(t.MakeFile("a.txt", "xyz").c_str(), OF_READ));
       return file != HFILE_ERROR &&
              _lwrite(file, "", 0) == static_cast<UINT>(HFILE_ERROR);
     },
     ERROR_ACCESS_DENIED, "Bad file descriptor"},
    {"ReadFromWriteOnlyHandle",
     [](FileTest& t) {
       const HFILE file =
           t.Keep(_lopen(t.MakeFile("a.txt", "x").c_str(), OF_WRITE));
       char byte;
       return file != HFILE_ERROR &&
              _lread(file, &byte, 1) == static_cast<UINT>(HFILE_ERROR);
     },
     ERROR_ACCESS_DENIED, "Bad file descriptor"},
    {"WriteToPipeNobodyReads",
     [](FileTest& t) {
       int ends[2];
       if (pipe2(ends, O_CLOEXEC) != 0) return false;
       close(ends[0]);
       t.Keep(ends[1]);
       return _lwrite(ends[1], "x", 1) == static_cast<UINT>(HFILE_ERROR);
     },
     ERROR_BROKEN_PIPE, "Broken pipe"},
    {"ReadEmptyFifoThatHasAWriter",
     [](FileTest& t) {
       const std::string fifo = t.MakeFifo("fifo");
       const HFILE reader = t.Keep(_lopen(fifo.c_str(), OF_READ));
       t.Keep(open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
       char byte;
       return reader != HFILE_ERROR &&
              _lread(reader, &byte, 1) == static_cast<UINT>(HFILE_ERROR);
     },
     ERROR_NO_DATA, "Resource temporarily unavailable"},
    {"SeekBeforeTheStart",
     [](FileTest& t) {
       const HFILE file = t.Keep(_lcreat(t.Path("a.txt").c_str(), 0));
       return file != HFILE_ERROR && _llseek(file, -1, FILE_BEGIN) == -1;
     },
     ERROR_NEGATIVE_SEEK, "Invalid argument"},
    {"SeekFromUnknownOrigin",
     [](FileTest& t) {
       const HFILE file = t.Keep(_lcreat(t.Path("a.txt").c_str(), 0));
       return file != HFILE_ERROR && _llseek(file, 0, 3) == -1;
     },
     ERROR_INVALID_PARAMETER, "The parameter is incorrect."},
    {"SeekOnAPipe",
     [](FileTest& t) {
       int ends[2];
       t.MakePipe(ends);
       return _llseek(ends[0], 0, FILE_BEGIN) == -1;
     },
     ERROR_SEEK_ON_DEVICE, "Illegal seek"},
    {"CloseAClosedHandle",
     [](FileTest& t) {
       const HFILE file = _lcreat(t.Path("a.txt").c_str(), 0);
       return file != HFILE_ERROR && _lclose(file) == 0 &&
              _lclose(file) == HFILE_ERROR;
     },
     ERROR_INVALID_HANDLE, "Bad file descriptor"},
    {"ReadAClosedHandle",
     [](FileTest& t) {
       const HFILE file = _lcreat(t.Path("a.txt").c_str(), 0);
       char byte;
       return file != HFILE_ERROR && _lclose(file) == 0 &&
              _lread(file, &byte, 1) == static_cast<UINT>(HFILE_ERROR);
     },
     ERROR_INVALID_HANDLE, "Bad file descriptor"},
    {"FileTypeOfAClosedHandle",
     [](FileTest& t) {
       const HFILE file = _lcreat(t.Path("a.txt").c_str(), 0);
       return file != HFILE_ERROR && _lclose(file) == 0 &&
              GetFileType(AsHandle(file)) == FILE_TYPE_UNKNOWN;
     },
     ERROR_INVALID_HANDLE, "Bad file descriptor"},
    {"FileTypeOfANegativeHandle",
     [](FileTest&) {
       return GetFileType(reinterpret_cast<HANDLE>(INT_PTR{-1})) ==
              FILE_TYPE_UNKNOWN;
     },
     ERROR_INVALID_HANDLE, "The handle is invalid."},
};

class FailureTest : public FileTest,
                    public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailureTest, SetsTheCodeAndItsText) {
  const HangGuard guard;
  const FailureCase& c = GetParam();
  EXPECT_TRUE(c.call(*this));
  const DWORD code = GetLastError();
  EXPECT_EQ(code, c.code);
  EXPECT_EQ(MessageText(code), std::string(c.text) + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(Calls, FailureTest, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return info.param.name; });

TEST_F(FileTest, MessageNeedsRoomForTheTextAndItsZero) {
  ASSERT_EQ(_lopen(Path("").c_str(), OF_READ), HFILE_ERROR);
  const DWORD code = GetLastError();
  const std::string text = "Is a directory\r\n";
  struct Case {
    DWORD size;
    bool fits;
  };
  for (const Case& c : {Case{0, false}, Case{1, false},
                        Case{static_cast<DWORD>(text.size()), false},
                        Case{static_cast<DWORD>(text.size() + 1), true}}) {
    SCOPED_TRACE(c.size);
    std::string buffer(text.size() + 1, '#');
    SetLastError(code);
    const DWORD stored = FormatMessageA(kSystemFlags, nullptr, code, 0,
                                        buffer.data(), c.size, nullptr);
    if (c.fits) {
      EXPECT_EQ(stored, text.size());
      EXPECT_EQ(buffer, text + '\0');
    } else {
      EXPECT_EQ(stored, 0u);
      EXPECT_EQ(GetLastError(), DWORD{ERROR_INSUFFICIENT_BUFFER});
    }
  }
}

TEST_F(FileTest, MessageFlagsLanguagesAndCodes) {
  // A failure from the system: its code has Linux's wording, others not.
  ASSERT_EQ(_lopen(Path("").c_str(), OF_READ), HFILE_ERROR);
  struct Case {
    const char* name;
    DWORD flags;
    DWORD code;
    DWORD language;
    const char* text;  // nullptr: fails with `failure`
    DWORD failure;
  };
  const Case cases[] = {
      {"system code", kSystemFlags, ERROR_ACCESS_DENIED, 0,
       "Is a directory\r\n", 0},
      {"inserts not ignored", FORMAT_MESSAGE_FROM_SYSTEM, ERROR_ACCESS_DENIED,
       0, "Is a directory\r\n", 0},
      {"US English", kSystemFlags, ERROR_ACCESS_DENIED, 0x0409,
       "Is a directory\r\n", 0},
      {"another code", kSystemFlags, ERROR_FILE_NOT_FOUND, 0,
       "The system cannot find the file specified.\r\n", 0},
      {"success", kSystemFlags, NO_ERROR, 0x0400,
       "The operation completed successfully.\r\n", 0},
      {"unknown code", kSystemFlags, 0xDEAD, 0, nullptr,
       ERROR_MR_MID_NOT_FOUND},
      {"French", kSystemFlags, ERROR_ACCESS_DENIED, 0x040C, nullptr,
       ERROR_RESOURCE_LANG_NOT_FOUND},
      {"no source", FORMAT_MESSAGE_IGNORE_INSERTS, ERROR_ACCESS_DENIED, 0,
       nullptr, ERROR_INVALID_PARAMETER},
      {"allocating", kSystemFlags | 0x0100, ERROR_ACCESS_DENIED, 0, nullptr,
       ERROR_INVALID_PARAMETER},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    char buffer[256] = "";
    SetLastError(NO_ERROR);
    const DWORD stored = FormatMessageA(c.flags, nullptr, c.code, c.language,
                                        buffer, sizeof buffer, nullptr);
    if (c.text) {
      EXPECT_EQ(std::string(buffer, stored), c.text);
      EXPECT_EQ(GetLastError(), DWORD{NO_ERROR});
    } else {
      EXPECT_EQ(stored, 0u);
      EXPECT_EQ(GetLastError(), c.failure);
    }
  }
}

TEST_F(FileTest, SetLastErrorAloneGivesTheFixedText) {
  // The thread's last failure from the system is of another code.
  ASSERT_EQ(_lopen(Path("missing").c_str(), OF_READ), HFILE_ERROR);
  SetLastError(ERROR_DISK_FULL);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_DISK_FULL});
  EXPECT_EQ(MessageText(GetLastError()),
            "There is not enough space on the disk.\r\n");
}

TEST_F(FileTest, LastErrorBelongsToItsThread) {
  ASSERT_EQ(_lopen(Path("missing").c_str(), OF_READ), HFILE_ERROR);
  SetLastError(ERROR_BUSY);
  DWORD seenThere = 1;
  std::string textThere;
  std::thread other([&] {
    seenThere = GetLastError();
    if (_lopen(Path("").c_str(), OF_READ) == HFILE_ERROR)
      textThere = MessageText(GetLastError());
  });
  other.join();
  EXPECT_EQ(seenThere, DWORD{NO_ERROR});
  EXPECT_EQ(textThere, "Is a directory\r\n");
  EXPECT_EQ(GetLastError(), DWORD{ERROR_BUSY});
  EXPECT_EQ(MessageText(ERROR_ACCESS_DENIED), "Access is denied.\r\n");
}

}  // namespace
