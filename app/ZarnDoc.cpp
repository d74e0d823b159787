#include "ZarnDoc.h"

#include "QtEdge.h"
#include "RendererBinding.h"
#include "SaveFile.h"

CZarnDoc::CZarnDoc() : m_binding(std::make_unique<RendererBinding>()) {}

CZarnDoc::~CZarnDoc() = default;

void CZarnDoc::OnNewDocument() { m_path.clear(); }

void CZarnDoc::OnOpenDocument(const QString& path) { m_path = path; }

bool CZarnDoc::OnSaveDocument(const QString& path) {
  const bool saved = SaveAtomically(FilePath(path), [](std::ostream&) { return true; });
  if (saved) m_path = path;
  return saved;
}
