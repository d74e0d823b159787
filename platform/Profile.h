// The program's private settings file: a plain INI file with literal section
// names. Every read and write goes to the file itself (read, modify, write
// through the program's one atomic file write), so keys the program does not
// know survive. A missing, unreadable or malformed file gives the defaults
// and never stops the program. Writes keep the file's permissions, follow a
// symbolic link to the real file and report what went wrong.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// One key to set: section, key and value, as written.
struct ProfileEntry {
  std::string section;
  std::string key;
  std::string value;
};

class Profile {
 public:
  // $GLYPHKILN_PROFILE if set, else $XDG_CONFIG_HOME/glyphkiln/zarn.ini
  // (default ~/.config/glyphkiln/zarn.ini).
  static std::filesystem::path DefaultPath();

  Profile();  // uses DefaultPath()
  explicit Profile(std::filesystem::path path);

  int GetInt(const std::string& section, const std::string& key, int defaultValue) const;
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& defaultValue) const;
  // False when the file could not be written; the old file is then untouched.
  bool WriteInt(const std::string& section, const std::string& key, int value) const;
  bool WriteString(const std::string& section, const std::string& key,
                   const std::string& value) const;
  // Sets every entry, in order, with one read and one write of the file: the
  // result is the file the same single writes would give. False, with the
  // reason in *reason (may be null), when an entry is refused or the file
  // cannot be read or written; the old file is then untouched.
  bool WriteAll(const std::vector<ProfileEntry>& entries, std::string* reason = nullptr) const;

  const std::filesystem::path& Path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};
