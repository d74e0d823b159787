// Temporary file, check every write, flush to disk, rename: the target is
// either the old file or the complete new one, never a truncated mixture.
#include "SaveFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <streambuf>
#include <string>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A stream buffer over a file descriptor that remembers the first failed
// write (a full disk, a file-size limit, a closed pipe) and fails every
// write after it, so the stream's state reports it.
class DescriptorBuffer : public std::streambuf {
 public:
  explicit DescriptorBuffer(int fd) : m_fd(fd), m_buffer(1 << 16) {
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
  }
  int ErrorNumber() const { return m_errno; }

 protected:
  int_type overflow(int_type ch) override {
    if (!Drain()) return traits_type::eof();
    if (!traits_type::eq_int_type(ch, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(ch);
      pbump(1);
    }
    return traits_type::not_eof(ch);
  }
  int sync() override { return Drain() ? 0 : -1; }

 private:
  bool Drain() {
    if (m_errno != 0) return false;
    const char* data = pbase();
    std::size_t left = static_cast<std::size_t>(pptr() - pbase());
    while (left > 0) {
      const ssize_t written = ::write(m_fd, data, left);
      if (written < 0) {
        if (errno == EINTR) continue;
        m_errno = errno;
        return false;
      }
      data += written;
      left -= static_cast<std::size_t>(written);
    }
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    return true;
  }

  int m_fd;
  int m_errno = 0;
  std::vector<char> m_buffer;
};

// Writing past a file-size limit raises SIGXFSZ, which would end the program
// before it could remove its temporary file; while saving, the write fails
// with EFBIG instead.
class IgnoreFileSizeSignal {
 public:
  IgnoreFileSizeSignal() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    m_saved = sigaction(SIGXFSZ, &ignore, &m_previous) == 0;
  }
  ~IgnoreFileSizeSignal() {
    if (m_saved) sigaction(SIGXFSZ, &m_previous, nullptr);
  }
  IgnoreFileSizeSignal(const IgnoreFileSizeSignal&) = delete;
  IgnoreFileSizeSignal& operator=(const IgnoreFileSizeSignal&) = delete;

 private:
  struct sigaction m_previous {};
  bool m_saved = false;
};

struct Outcome {
  bool ok = true;
  std::string reason;
};

Outcome Failure(const std::string& what, int errorNumber) {
  Outcome outcome;
  outcome.ok = false;
  outcome.reason = errorNumber != 0 ? what + ": " + std::strerror(errorNumber) : what;
  return outcome;
}

// Runs the writer on an open descriptor and flushes; does not close it.
Outcome WriteToDescriptor(int fd, const std::function<bool(std::ostream&)>& write) {
  DescriptorBuffer buffer(fd);
  std::ostream out(&buffer);
  bool produced = false;
  try {
    produced = write(out);
  } catch (const std::exception& e) {
    return Failure(std::string("writing failed: ") + e.what(), 0);
  }
  out.flush();
  if (buffer.ErrorNumber() != 0) return Failure("writing failed", buffer.ErrorNumber());
  if (!produced || !out.good()) return Failure("writing failed", 0);
  return {};
}

Outcome WriteDirectly(const fs::path& target, const std::function<bool(std::ostream&)>& write) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return Failure("cannot open " + target.string(), errno);
  Outcome outcome = WriteToDescriptor(fd, write);
  if (::close(fd) != 0 && outcome.ok) outcome = Failure("closing failed", errno);
  return outcome;
}

// The permission bits a newly created file gets under the current umask.
// Linux reports the umask in /proc; setting and restoring it is the
// fallback, which briefly changes it for every thread.
mode_t NewFileMode() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Umask:", 0) == 0) {
      try {
        return 0666 & ~static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
      } catch (const std::exception&) {
        break;
      }
    }
  }
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

Outcome WriteAndReplace(const fs::path& target, const struct stat* existing,
                        const std::function<bool(std::ostream&)>& write) {
  fs::path directory = target.parent_path();
  if (directory.empty()) directory = ".";
  // Hidden and beside the target, so the rename stays within one file system;
  // the name is cut short so the suffix never makes it too long.
  std::string name = target.filename().string().substr(0, 200);
  std::string pattern = (directory / ("." + name + ".XXXXXX")).string();
  std::vector<char> temporaryName(pattern.begin(), pattern.end());
  temporaryName.push_back('\0');
  const int fd = ::mkstemp(temporaryName.data());
  if (fd < 0) return Failure("cannot create a file in " + directory.string(), errno);
  const std::string temporary(temporaryName.data());

  Outcome outcome;
  // The new file takes the old one's owner (where allowed) and permissions.
  if (existing) (void)!::fchown(fd, existing->st_uid, existing->st_gid);
  const mode_t mode = existing ? (existing->st_mode & 07777) : NewFileMode();
  if (::fchmod(fd, mode) != 0) outcome = Failure("cannot set the file's permissions", errno);
  if (outcome.ok) outcome = WriteToDescriptor(fd, write);
  if (outcome.ok && ::fsync(fd) != 0) outcome = Failure("writing failed", errno);
  if (::close(fd) != 0 && outcome.ok) outcome = Failure("writing failed", errno);
  if (outcome.ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
    outcome = Failure("cannot replace " + target.string(), errno);
  }
  if (!outcome.ok) ::unlink(temporary.c_str());
  return outcome;
}

Outcome Save(const fs::path& target, const std::function<bool(std::ostream&)>& write) {
  if (target.empty()) return Failure("no file name", 0);
  if (target == "-") {
    std::cout.flush();
    std::fflush(stdout);
    return WriteToDescriptor(STDOUT_FILENO, write);
  }

  // Replace the file a symbolic link names rather than the link itself.
  fs::path resolved = target;
  std::error_code ec;
  if (fs::is_symlink(fs::symlink_status(target, ec))) {
    resolved = fs::weakly_canonical(target, ec);
    if (ec) return Failure("cannot follow the link " + target.string(), ec.value());
  }

  struct stat status {};
  if (::stat(resolved.c_str(), &status) != 0) {
    if (errno != ENOENT) return Failure("cannot reach " + target.string(), errno);
    return WriteAndReplace(resolved, nullptr, write);
  }
  if (S_ISDIR(status.st_mode)) return Failure(target.string() + " is a directory", 0);
  if (!S_ISREG(status.st_mode)) return WriteDirectly(resolved, write);
  return WriteAndReplace(resolved, &status, write);
}

}  // namespace

bool SaveAtomically(const std::filesystem::path& target,
                    const std::function<bool(std::ostream&)>& write, std::string* error,
                    std::string* reason) {
  IgnoreFileSizeSignal guard;
  const Outcome outcome = Save(target, write);
  if (!outcome.ok) {
    if (error) *error = kCanNotCreateFile;
    if (reason) *reason = outcome.reason;
  }
  return outcome.ok;
}
