// The font dialog: every installed face with TrueType outlines, by family and
// style, with a sample of the chosen face. It has no size control: the
// letters' size is the Height setting, not a point size.
#pragma once

#include <vector>

#include <QDialog>

#include "FontEngine.h"

class QLabel;
class QLineEdit;
class QListWidget;

class CMyFontDialog : public QDialog {
  Q_OBJECT
 public:
  // Starts on the face `initial` describes (or the face it resolves to).
  // `faces` is the list to offer; by default the installed outline faces.
  explicit CMyFontDialog(const FontDescription& initial, QWidget* parent = nullptr,
                         std::vector<FontFaceInfo> faces = ListOutlineFaces());

  // The chosen face once the dialog is accepted.
  FontDescription description;

  QString SelectedFamily() const;
  QString SelectedStyle() const;
  // Picks a family and style as if the user had clicked them; false when absent.
  bool Select(const QString& family, const QString& style);

  void accept() override;

 private:
  void FillStyles(const QString& family, const QString& preferredStyle);
  void UpdateSample();

  std::vector<FontFaceInfo> m_faces;
  QListWidget* m_families;
  QListWidget* m_styles;
  QLineEdit* m_familyEdit;
  QLabel* m_sample;
};
