// The settings file: every call reads the whole file, and every write replaces
// it through the program's atomic file write, so a crash mid-write leaves
// either the old or the new file and never half of one.
#include "Profile.h"

#include "SaveFile.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string Trim(const std::string& s) {
  const char* blanks = " \t\r\f\v";
  const auto first = s.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(blanks);
  return s.substr(first, last - first + 1);
}

// Section and key names compare without regard to ASCII case, as the
// settings files of desktop programs traditionally do.
bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// "[Name]" gives Name; anything else is not a section header.
std::optional<std::string> SectionName(const std::string& line) {
  const std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[' || t.back() != ']') return std::nullopt;
  return Trim(t.substr(1, t.size() - 2));
}

struct KeyLine {
  std::string key;
  std::string value;
};

// "key = value" gives both, trimmed; comments, blank lines and lines without
// '=' give nothing and are kept as they are when the file is rewritten.
std::optional<KeyLine> ParseKeyLine(const std::string& line) {
  const std::string t = Trim(line);
  if (t.empty() || t.front() == ';' || t.front() == '#') return std::nullopt;
  const auto eq = t.find('=');
  if (eq == std::string::npos || eq == 0) return std::nullopt;
  KeyLine kl{Trim(t.substr(0, eq)), Trim(t.substr(eq + 1))};
  if (kl.key.empty()) return std::nullopt;
  return kl;
}

// Reads the file's lines; a missing file reads as empty. Null when the file
// exists but cannot be read, so that a write does not replace it with a file
// holding only the new key.
std::optional<std::vector<std::string>> TryReadLines(const fs::path& path) {
  std::vector<std::string> lines;
  std::error_code ec;
  if (!fs::exists(path, ec)) return ec ? std::nullopt : std::optional(lines);
  if (fs::is_directory(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  if (in.bad()) return std::nullopt;
  return lines;
}

std::vector<std::string> ReadLines(const fs::path& path) {
  auto lines = TryReadLines(path);
  return lines ? std::move(*lines) : std::vector<std::string>{};
}

// The value of the first matching key in the first matching section.
std::optional<std::string> FindValue(const std::vector<std::string>& lines,
                                     const std::string& section, const std::string& key) {
  bool inSection = false;
  bool seenSection = false;
  for (const auto& line : lines) {
    if (auto name = SectionName(line)) {
      if (seenSection && inSection) return std::nullopt;  // left the first matching section
      inSection = SameName(*name, section);
      seenSection = seenSection || inSection;
      continue;
    }
    if (!inSection) continue;
    if (auto kl = ParseKeyLine(line); kl && SameName(kl->key, key)) return kl->value;
  }
  return std::nullopt;
}

// Names and values that would change the file's structure are refused rather
// than written: a newline in a value would otherwise inject new keys.
bool SafeText(const std::string& s) {
  return s.find_first_of("\r\n") == std::string::npos && s.find('\0') == std::string::npos;
}

bool SafeSection(const std::string& s) {
  return SafeText(s) && !Trim(s).empty() && s.find_first_of("[]") == std::string::npos;
}

bool SafeKey(const std::string& s) {
  const std::string t = Trim(s);
  return SafeText(s) && !t.empty() && s.find('=') == std::string::npos && t.front() != '[' &&
         t.front() != ';' && t.front() != '#';
}

// Sets key in section: replaces the first matching line, or appends the key
// at the end of the first matching section, or appends a new section.
void SetValue(std::vector<std::string>& lines, const std::string& section,
              const std::string& key, const std::string& value) {
  const std::string newLine = key + "=" + value;
  std::size_t i = 0;
  for (; i < lines.size(); ++i) {
    if (auto name = SectionName(lines[i]); name && SameName(*name, section)) break;
  }
  if (i == lines.size()) {
    if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
    lines.push_back("[" + section + "]");
    lines.push_back(newLine);
    return;
  }
  std::size_t insertAt = i + 1;
  for (std::size_t j = i + 1; j < lines.size(); ++j) {
    if (SectionName(lines[j])) break;
    if (auto kl = ParseKeyLine(lines[j])) {
      if (SameName(kl->key, key)) {
        lines[j] = newLine;
        return;
      }
      insertAt = j + 1;
    }
  }
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), newLine);
}

// Replaces the file with the lines; its directory is made first. Returns
// false, leaving the file untouched, on any error.
bool ReplaceFile(const fs::path& path, const std::vector<std::string>& lines, std::string* reason) {
  std::error_code ec;
  const fs::path dir = path.parent_path();
  if (!dir.empty()) fs::create_directories(dir, ec);
  return SaveAtomically(
      path,
      [&lines](std::ostream& out) {
        for (const auto& line : lines) out << line << '\n';
        return static_cast<bool>(out);
      },
      nullptr, reason);
}

std::string HomeDirectory() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return ".";
}

}  // namespace

fs::path Profile::DefaultPath() {
  if (const char* named = std::getenv("GLYPHKILN_PROFILE"); named && *named) return named;
  fs::path config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg && xdg[0] == '/') {
    config = xdg;
  } else {
    config = fs::path(HomeDirectory()) / ".config";
  }
  return config / "glyphkiln" / "zarn.ini";
}

Profile::Profile() : m_path(DefaultPath()) {}

Profile::Profile(fs::path path) : m_path(std::move(path)) {}

// A decimal integer, optionally signed; values up to 2^32 - 1 are taken as
// unsigned 32-bit numbers (colours are written that way by some tools) and
// wrap into int. Anything else gives the default.
int Profile::GetInt(const std::string& section, const std::string& key, int defaultValue) const {
  const auto text = FindValue(ReadLines(m_path), section, key);
  if (!text || text->empty()) return defaultValue;
  const char* first = text->data();
  const char* last = first + text->size();
  if (*first == '+') ++first;
  long long value = 0;
  const auto [end, err] = std::from_chars(first, last, value, 10);
  if (err != std::errc() || end != last) return defaultValue;
  if (value < INT32_MIN || value > static_cast<long long>(UINT32_MAX)) return defaultValue;
  return static_cast<int>(static_cast<std::uint32_t>(value));
}

std::string Profile::GetString(const std::string& section, const std::string& key,
                               const std::string& defaultValue) const {
  const auto text = FindValue(ReadLines(m_path), section, key);
  return text ? *text : defaultValue;
}

bool Profile::WriteInt(const std::string& section, const std::string& key, int value) const {
  return WriteString(section, key, std::to_string(value));
}

bool Profile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) const {
  return WriteAll({{section, key, value}});
}

bool Profile::WriteAll(const std::vector<ProfileEntry>& entries, std::string* reason) const {
  for (const ProfileEntry& e : entries) {
    if (!SafeSection(e.section) || !SafeKey(e.key) || !SafeText(e.value)) {
      if (reason) *reason = "refused to write the key '" + e.key + "'";
      return false;
    }
  }
  auto lines = TryReadLines(m_path);
  if (!lines) {
    if (reason) *reason = "cannot read " + m_path.string();
    return false;
  }
  for (const ProfileEntry& e : entries) SetValue(*lines, Trim(e.section), Trim(e.key), Trim(e.value));
  return ReplaceFile(m_path, *lines, reason);
}
