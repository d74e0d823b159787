// The settings file from bytes: two section/key pairs and a value, then the
// rest of the input as the file. Reads both keys, writes the first and checks
// what a settings file promises: a written key reads back as written, the
// other key keeps its value, and writing the same value again changes no byte
// (line ends aside: a rewrite turns each "\r\n" into "\n", one carriage
// return per write, which changes no key).
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "FuzzInput.h"
#include "Profile.h"

namespace fs = std::filesystem;

namespace {

// Names and values as a caller holds them: without blanks at either end,
// which the file format cannot keep.
std::string Trimmed(std::string s) {
  const char* blanks = " \t\r\f\v";
  const auto first = s.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One private directory for the whole run, removed at exit.
const fs::path& Directory() {
  static const fs::path dir = [] {
    std::string pattern = (fs::temp_directory_path() / "fuzz-profile-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    std::atexit([] { std::error_code ec; fs::remove_all(Directory(), ec); });
    return fs::path(pattern);
  }();
  return dir;
}

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "profile invariant broken: %s\n", what);
  std::abort();
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    if (lower(static_cast<unsigned char>(a[i])) != lower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  const std::string section = Trimmed(in.Text(12));
  const std::string key = Trimmed(in.Text(12));
  const std::string otherSection = Trimmed(in.Text(12));
  const std::string otherKey = Trimmed(in.Text(12));
  const std::string value = Trimmed(in.Text(24));
  const int number = in.Raw<int>();
  const std::string content = in.Rest();

  const fs::path path = Directory() / "zarn.ini";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
  }
  const Profile profile(path);
  profile.GetInt(section, key, 7);
  const std::string otherBefore = profile.GetString(otherSection, otherKey, "\n");

  if (profile.WriteString(section, key, value)) {
    Check(profile.GetString(section, key, "\n") == value, "a written string reads back");
    const bool sameKey = SameNameIgnoringCase(section, otherSection) && SameNameIgnoringCase(key, otherKey);
    if (!sameKey) Check(profile.GetString(otherSection, otherKey, "\n") == otherBefore, "other keys are kept");
    const std::string once = ReadAll(path);
    Check(profile.WriteString(section, key, value), "a second write of the same key succeeds");
    if (content.find('\r') == std::string::npos) {
      Check(ReadAll(path) == once, "writing the same value again changes nothing");
    }
  }
  if (profile.WriteInt(section, key, number)) {
    Check(profile.GetInt(section, key, number == 0 ? 1 : 0) == number, "a written number reads back");
  }
  return 0;
}
