// Staging and committing the outputs of one run.
#include "StagedOutputs.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

namespace fs = std::filesystem;

// The file a target names: symbolic links are followed to the file they
// point at, which is the one replaced, even when it does not exist yet.
std::string Resolved(const std::string& target) {
  fs::path path = target;
  std::error_code ec;
  for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(path, ec)); ++hops) {
    const fs::path link = fs::read_symlink(path, ec);
    if (ec) break;
    path = link.is_absolute() ? link : path.parent_path() / link;
  }
  return path.string();
}

// The permission bits a new file gets under the current umask (the tool is
// single-threaded, so reading the mask by setting it is safe here).
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  if (from.empty()) return;
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

}  // namespace

StagedOutputs::~StagedOutputs() {
  for (const Output& output : m_outputs) {
    if (!output.temporary.empty() && !output.committed) ::unlink(output.temporary.c_str());
  }
}

std::string StagedOutputs::Add(const std::string& target) {
  Output output;
  output.target = target;
  output.resolved = target == "-" ? target : Resolved(target);
  struct stat status {};
  const bool exists = ::stat(output.resolved.c_str(), &status) == 0;
  const bool renamable = target != "-" && (exists ? S_ISREG(status.st_mode) : errno == ENOENT);
  if (renamable) {
    // Hidden and beside the target, so the rename stays within one file
    // system; the name is cut short so the suffix never makes it too long.
    const fs::path path(output.resolved);
    fs::path directory = path.parent_path();
    if (directory.empty()) directory = ".";
    const std::string pattern =
        (directory / ("." + path.filename().string().substr(0, 200) + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd >= 0) {
      ::close(fd);
      output.temporary = name.data();
    }
  }
  m_outputs.push_back(output);
  return output.temporary.empty() ? output.resolved : output.temporary;
}

void StagedOutputs::MarkWritten(const std::string& target) {
  for (Output& output : m_outputs) {
    if (output.target == target) output.written = true;
  }
}

bool StagedOutputs::CommitAll(std::string& error) {
  for (Output& output : m_outputs) {
    if (output.temporary.empty()) {
      output.committed = true;
      continue;
    }
    struct stat existing {};
    const bool exists = ::stat(output.resolved.c_str(), &existing) == 0;
    // The new file takes the old one's owner (where allowed) and permissions.
    if (exists) (void)!::chown(output.temporary.c_str(), existing.st_uid, existing.st_gid);
    const mode_t mode = exists ? (existing.st_mode & 07777) : NewFileMode();
    if (::chmod(output.temporary.c_str(), mode) != 0 ||
        ::rename(output.temporary.c_str(), output.resolved.c_str()) != 0) {
      error = std::string("Can not create file '") + output.target + "': cannot replace " + output.resolved +
              ": " + std::strerror(errno);
      return false;
    }
    output.committed = true;
  }
  return true;
}

std::string StagedOutputs::InTargetNames(std::string message) const {
  for (const Output& output : m_outputs) ReplaceAll(message, output.temporary, output.target);
  return message;
}

std::vector<std::string> StagedOutputs::Fates(const std::string& failure) const {
  std::vector<std::string> lines;
  if (m_outputs.size() < 2) return lines;
  for (const Output& output : m_outputs) {
    if (failure.find("'" + output.target + "'") != std::string::npos) continue;
    std::string line = "'" + output.target + "' ";
    std::error_code ec;
    if (output.committed || (output.temporary.empty() && output.written)) {
      line += "was written";
    } else if (!output.temporary.empty() && fs::exists(output.resolved, ec)) {
      line += "was not written; the old file is kept";
    } else {
      line += "was not written";
    }
    lines.push_back(line);
  }
  return lines;
}

bool SameOutputFile(const std::string& a, const std::string& b) {
  if (a == "-" || b == "-") return false;
  std::error_code ec1, ec2;
  const fs::path x = fs::weakly_canonical(fs::absolute(Resolved(a), ec1), ec1);
  const fs::path y = fs::weakly_canonical(fs::absolute(Resolved(b), ec2), ec2);
  if (ec1 || ec2) return a == b;
  return x == y;
}
