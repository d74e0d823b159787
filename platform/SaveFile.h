// Saving a file so that a failure never costs the user the old one: the
// contents go to a temporary file beside the target, which replaces the target
// only once everything has been written and flushed. The program's one way
// of writing a file: worlds, pictures, the help page and the settings file,
// from the command line and from the desktop program.
#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

// The one message the user sees when a file cannot be saved.
inline constexpr const char* kCanNotCreateFile = "Can not create file";

// Writes `target` with `write`, which returns false if it could not produce
// the contents (the stream's state is checked as well). A regular file, or a
// name that does not exist yet, is written to a temporary file in the same
// directory and renamed over the target; a symbolic link is followed and the
// file it names replaced. A target that is not a regular file (standard
// output given as "-", a pipe, a device) is written directly and never
// renamed over.
// On failure returns false, sets *error to "Can not create file" and *reason
// (either may be null) to what went wrong, removes the temporary file and
// leaves an existing target as it was (a directly written target may have
// been partly written).
bool SaveAtomically(const std::filesystem::path& target,
                    const std::function<bool(std::ostream&)>& write, std::string* error = nullptr,
                    std::string* reason = nullptr);
