// The letter tree as JSON, for checking the geometry stages by eye or by script.
#include "DumpGeometry.h"

#include <nlohmann/json.hpp>

#include "Windows1252.h"

namespace {

using Json = nlohmann::ordered_json;

Json BoundsJson(const CBoundRect& r) { return Json::array({r.left, r.top, r.right, r.bottom}); }

Json PieceJson(const CLetterPiece& piece) {
  Json contours = Json::array();
  for (const auto& contour : piece.contours) {
    Json points = Json::array();
    if (contour) {
      for (const CPoint2D& p : contour->points) points.push_back(Json::array({p.x, p.y}));
    }
    contours.push_back(std::move(points));
  }
  // Per contour of a piece with holes: 1 for a hole in the merged outline.
  std::vector<int> joined(piece.contours.size() > 1 ? piece.contours.size() : 0, 0);
  Json merged = Json::array();
  for (const auto& [c, p] : piece.mergedOutline) {
    merged.push_back(Json::array({c, p}));
    if (c > 0 && c < joined.size()) joined[c] = 1;
  }
  Json holeMerged = Json::array();
  for (int flag : joined) holeMerged.push_back(flag);
  Json json = Json::object();
  json["contours"] = std::move(contours);
  json["merged"] = std::move(merged);
  json["holeMerged"] = std::move(holeMerged);
  return json;
}

}  // namespace

std::string GeometryJson(const CText3D& text, const std::u32string& characters) {
  Json letters = Json::array();
  for (const CLetter& letter : text.letters) {
    Json pieces = Json::array();
    for (const auto& piece : letter.pieces) pieces.push_back(PieceJson(*piece));
    Json json = Json::object();
    json["code"] = letter.code;
    json["bounds"] = BoundsJson(letter.bounds);
    json["pieces"] = std::move(pieces);
    letters.push_back(std::move(json));
  }
  Json root = Json::object();
  root["text"] = CodePointsToUtf8(characters);
  root["bounds"] = BoundsJson(text.bounds);
  root["letters"] = std::move(letters);
  return root.dump();
}

bool DumpGeometry(const CText3D& text, const std::u32string& characters, std::FILE* out) {
  const std::string json = GeometryJson(text, characters);
  return std::fwrite(json.data(), 1, json.size(), out) == json.size() && std::fputc('\n', out) != EOF;
}
