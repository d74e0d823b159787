#include "ZarnDoc.h"

#include <cstdio>

#include "QtEdge.h"
#include "RendererBinding.h"
#include "SaveFile.h"

std::string RendererSearchDescription(const RendererBindingOptions& options) {
  std::string names;
  for (std::size_t i = 0; i < options.libraries.size(); ++i) {
    if (i > 0) names += i + 1 == options.libraries.size() ? " or " : ", ";
    names += options.libraries[i].name;
  }
  std::string places;
  for (const auto& directory : options.directories) {
    if (!places.empty()) places += ", ";
    places += directory.string();
  }
  if (options.useSystemSearchPath) {
    if (!places.empty()) places += ", then ";
    places += "the system's library search path (LD_LIBRARY_PATH, ld.so.cache, /lib, /usr/lib)";
  }
  if (places.empty()) places = "nowhere";
  return "no usable renderer library " + names + "; looked in " + places;
}

CZarnDoc::CZarnDoc() : CZarnDoc(RendererBindingOptions::Default()) {}

CZarnDoc::CZarnDoc(const RendererBindingOptions& options)
    : m_binding(std::make_unique<RendererBinding>(options)) {
  // The examiner says so in a message box; where it looked goes here.
  if (!m_binding->View()) {
    std::fprintf(stderr, "zarn: can not start the 3D viewer: %s\n", RendererSearchDescription(options).c_str());
  }
}

CZarnDoc::~CZarnDoc() = default;

void CZarnDoc::OnNewDocument() { m_path.clear(); }

void CZarnDoc::OnOpenDocument(const QString& path) { m_path = path; }

bool CZarnDoc::OnSaveDocument(const QString& path) {
  const bool saved = SaveAtomically(FilePath(path), [](std::ostream&) { return true; });
  if (saved) m_path = path;
  return saved;
}
