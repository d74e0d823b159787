// A shared library loaded at run time (dlopen) and unloaded when the object
// goes away; symbols are looked up by their plain names.
#pragma once

#include <filesystem>
#include <string>

class SharedLibrary {
 public:
  SharedLibrary() = default;
  ~SharedLibrary();
  SharedLibrary(SharedLibrary&& other) noexcept;
  SharedLibrary& operator=(SharedLibrary&& other) noexcept;
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  // Loads a library by path, or by bare file name through the system's search
  // path. False (and nothing loaded) when it cannot be loaded; an earlier
  // library held by this object is unloaded either way.
  bool Open(const std::filesystem::path& pathOrName);
  // Loads `name` from `directory` when it is there and loads, else by the
  // system's search path.
  bool OpenBeside(const std::filesystem::path& directory, const std::string& name);
  void Close();

  bool IsOpen() const { return m_handle != nullptr; }
  // The address of a symbol, or null when it is missing or nothing is loaded.
  void* Symbol(const char* name) const;
  template <typename Function>
  Function Get(const char* name) const {
    return reinterpret_cast<Function>(Symbol(name));
  }

  // The loader's last error text, for diagnostics.
  const std::string& LastError() const { return m_error; }

 private:
  void* m_handle = nullptr;
  std::string m_error;
};

// The directory of the running executable (from /proc/self/exe), or an empty
// path when it cannot be found.
std::filesystem::path ExecutableDirectory();
