// The program's private settings file: a plain INI file with literal section
// names. Every read and write goes to the file itself (read, modify, write to
// a temporary file, rename), so several owners can keep their own keys in it
// without overwriting each other's. A missing, unreadable or malformed file
// gives the defaults and never stops the program.
#pragma once

#include <filesystem>
#include <string>

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

  const std::filesystem::path& Path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};
