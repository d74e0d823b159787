// dlopen/dlsym behind a small owner, so a library is unloaded on every path.
#include "SharedLibrary.h"

#include <dlfcn.h>

#include <system_error>
#include <utility>

namespace fs = std::filesystem;

SharedLibrary::~SharedLibrary() { Close(); }

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)), m_error(std::move(other.m_error)) {}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept {
  if (this != &other) {
    Close();
    m_handle = std::exchange(other.m_handle, nullptr);
    m_error = std::move(other.m_error);
  }
  return *this;
}

bool SharedLibrary::Open(const fs::path& pathOrName) {
  Close();
  m_error.clear();
  // RTLD_LOCAL: the renderer's symbols stay out of the global namespace, so a
  // second library with the same exports cannot bind to the first one's.
  m_handle = dlopen(pathOrName.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!m_handle) {
    const char* error = dlerror();
    m_error = error ? error : "cannot load " + pathOrName.string();
    return false;
  }
  return true;
}

bool SharedLibrary::OpenBeside(const fs::path& directory, const std::string& name) {
  if (!directory.empty()) {
    std::error_code ec;
    const fs::path beside = directory / name;
    if (fs::exists(beside, ec) && Open(beside)) return true;
  }
  // A bare name (no slash) makes dlopen use the system's search path.
  return Open(fs::path(name));
}

void SharedLibrary::Close() {
  if (m_handle) {
    dlclose(m_handle);
    m_handle = nullptr;
  }
}

void* SharedLibrary::Symbol(const char* name) const {
  if (!m_handle || !name) return nullptr;
  return dlsym(m_handle, name);
}

fs::path ExecutableDirectory() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) return {};
  return exe.parent_path();
}
