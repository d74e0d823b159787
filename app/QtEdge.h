// Conversions where Qt meets the layers below: there a colour is a COLORREF,
// 0x00BBGGRR, and a file name a std::filesystem::path.
#pragma once

#include <cstdint>
#include <filesystem>

#include <QColor>
#include <QFile>
#include <QString>

inline QColor FromColorref(std::uint32_t colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

inline std::uint32_t ToColorref(const QColor& colour) {
  return static_cast<std::uint32_t>(colour.red()) | (static_cast<std::uint32_t>(colour.green()) << 8) |
         (static_cast<std::uint32_t>(colour.blue()) << 16);
}

// A file name as the user chose it, in the file system's own encoding.
inline std::filesystem::path FilePath(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}
