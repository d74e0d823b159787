// File > Export Picture and File > Export Turntable: the save dialog with the
// picture's choices below the file list (size, anti-aliasing, framing, and
// transparency for a PNG, or frames, speed and palette for a turntable),
// then the picture drawn with progress shown and a Cancel button. The files
// are the ones glyphkiln writes for the same settings; nothing is written
// when the user cancels or the picture cannot be made.
#pragma once

#include <cstdint>
#include <optional>

#include <QFileDialog>
#include <QString>

#include "PictureExportChoices.h"

class CText3D;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

class CPictureExportDialog : public QFileDialog {
 public:
  CPictureExportDialog(QWidget* parent, const PictureExportChoices& choices, bool turntable);
  // The choices as the controls hold them (the still format from the chosen
  // name or filter).
  PictureExportChoices Choices() const;
  // The chosen file with the filter's extension added when it had none.
  QString ChosenPath() const;

 private:
  void UpdateTransparency();

  bool m_turntable;
  PictureExportChoices m_start;
  QSpinBox* m_width;
  QSpinBox* m_height;
  QSpinBox* m_antialias;
  QComboBox* m_fit;
  QCheckBox* m_transparent = nullptr;
  QSpinBox* m_frames = nullptr;
  QDoubleSpinBox* m_fps = nullptr;
  QComboBox* m_palette = nullptr;
};

// Draws and writes the picture the request asks for to `path` through the
// atomic save, with a progress dialog whose Cancel stops it; `background`
// is the examiner's (COLORREF). True when the file was written; a failure
// is told to the user, a cancel is not.
bool ExportPicture(QWidget* parent, const CText3D& text, std::uint32_t background, const QString& path,
                   const PictureFileRequest& request);

// The command: asks for the file and choices, keeps the choices in `kept`
// (so the profile has them) and writes the file.
void RunPictureExport(QWidget* parent, const CText3D* text, std::uint32_t background,
                      std::optional<PictureExportChoices>& kept, bool turntable);
