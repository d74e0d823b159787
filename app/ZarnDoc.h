// The document: it owns the renderer binding, which in turn owns the loaded
// renderer library and its view. The document itself has no content: it
// reads nothing when opened and writes an empty file when saved.
#pragma once

#include <memory>

#include <QString>

class RendererBinding;

class CZarnDoc {
 public:
  // Loads the renderer library.
  CZarnDoc();
  // Unloads the library.
  ~CZarnDoc();
  CZarnDoc(const CZarnDoc&) = delete;
  CZarnDoc& operator=(const CZarnDoc&) = delete;

  RendererBinding& Binding() { return *m_binding; }

  // A renewed document has no file.
  void OnNewDocument();
  // Takes the file as the document's own; there is nothing to read from it.
  void OnOpenDocument(const QString& path);
  // Writes the (empty) document; false when the file cannot be written.
  bool OnSaveDocument(const QString& path);

  const QString& PathName() const { return m_path; }

 private:
  std::unique_ptr<RendererBinding> m_binding;
  QString m_path;
};
