// The font dialog: every installed face with scalable outlines (TrueType and
// PostScript flavoured: CFF, Type 1), by family and style, with a sample of
// the chosen face, and "Open font file..." for a font that is not
// installed. It has no size control: the letters' size is the Height
// setting, not a point size.
#pragma once

#include <map>
#include <optional>
#include <utility>
#include <vector>

#include <QDialog>

#include "FontEngine.h"

class QLabel;
class QLineEdit;
class QListWidget;

class CMyFontDialog : public QDialog {
  Q_OBJECT
 public:
  // Starts on the face `initial` describes (or the face it resolves to), or
  // on `file`'s face when the letters come from a font file. `faces` is the
  // list to offer; by default the installed outline faces.
  explicit CMyFontDialog(const FontDescription& initial, QWidget* parent = nullptr,
                         std::vector<FontFaceInfo> faces = ListOutlineFaces(),
                         const std::optional<FontFaceInfo>& file = std::nullopt);

  // The chosen face once the dialog is accepted: an installed face's
  // description, or a face of an opened font file (then description is
  // left as it was).
  FontDescription description;
  std::optional<FontFaceInfo> fontFile;

  QString SelectedFamily() const;
  QString SelectedStyle() const;
  // Picks a family and style as if the user had clicked them; false when absent.
  bool Select(const QString& family, const QString& style);
  // Offers every face of a font file, listed as "Family (file name)", and
  // selects its first face; false, with the reason told to the user, when
  // the file holds no outline face. "Open font file..." ends here.
  bool AddFontFile(const QString& path);

  void accept() override;

 private:
  void FillStyles(const QString& family, const QString& preferredStyle);
  void UpdateSample();
  void ChooseFontFile();
  // The opened file's face shown under this family and style, if it is one.
  const FontFaceInfo* OpenedFace(const QString& family, const QString& style) const;

  std::vector<FontFaceInfo> m_faces;
  // Faces of opened files by the family and style the lists show.
  std::map<std::pair<QString, QString>, FontFaceInfo> m_opened;
  // The family the window system knows each opened file by, for the sample.
  std::map<QString, QString> m_sampleFamily;
  QListWidget* m_families;
  QListWidget* m_styles;
  QLineEdit* m_familyEdit;
  QLabel* m_sample;
};
