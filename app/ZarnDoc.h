// The document: it owns the renderer binding, which in turn owns the loaded
// renderer library and its view. The document itself has no content: it
// reads nothing when opened and writes an empty file when saved.
#pragma once

#include <memory>
#include <string>

#include <QString>

class RendererBinding;
struct RendererBindingOptions;

// Which renderer libraries were looked for and where, for the message when
// none gives a view.
std::string RendererSearchDescription(const RendererBindingOptions& options);

class CZarnDoc {
 public:
  // Loads the renderer library from the usual places, or as the options
  // say; when it gives no view, says on stderr which libraries were looked
  // for and where.
  CZarnDoc();
  explicit CZarnDoc(const RendererBindingOptions& options);
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
