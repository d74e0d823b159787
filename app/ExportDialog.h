// File > Export: the save dialog with one filter per format and the export's
// choices (unit, em height, clean or exact solid) below the file list, and
// the writing of the layout view's letters in the chosen format. The meshes
// are the ones glyphkiln writes for the same settings.
#pragma once

#include <optional>

#include <QFileDialog>
#include <QString>

#include "MeshFormats.h"

class CZarnView;
class QComboBox;
class QLineEdit;

// The format for a file the user chose: its extension's when it has one the
// export knows, else the one of the filter it was chosen under.
MeshFormat ExportFormatFor(const QString& path, const QString& selectedFilter);

class CExportDialog : public QFileDialog {
 public:
  CExportDialog(QWidget* parent, const ExportSettings& choices);
  // The choices as the controls hold them; nothing (and the user told why)
  // for an em height that is not a length.
  std::optional<ExportSettings> Choices();
  // The chosen file with the chosen filter's extension added when it had none.
  QString ChosenPath() const;
  MeshFormat ChosenFormat() const;

 private:
  QComboBox* m_unit;
  QLineEdit* m_emHeight;
  QComboBox* m_solid;
};

// Writes the view's letters to `path` in `format` with `choices`; tells the
// user, as saving the world does, and returns false when it cannot be written.
bool ExportLetters(CZarnView& view, const QString& path, MeshFormat format, const ExportSettings& choices);

// The command: asks for the file and choices, keeps the choices in `kept`
// (so the profile has them) and writes the file.
void RunExport(CZarnView& view, std::optional<ExportSettings>& kept);
