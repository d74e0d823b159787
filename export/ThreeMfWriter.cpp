// 3MF through lib3mf: the library builds the package (a zip of XML parts) in
// memory, which is then handed to the stream so the one atomic save applies.
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Model/COM/NMR_DLLInterfaces.h"

#include "MeshWriters.h"

namespace {

using namespace NMR;

// Releases a lib3mf object when it goes out of scope.
struct Released {
  void operator()(PLib3MFBase* object) const { lib3mf_release(object); }
};
using Handle = std::unique_ptr<PLib3MFBase, Released>;

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

DWORD UnitCode(LengthUnit unit) {
  switch (unit) {
    case LengthUnit::Centimetre: return MODELUNIT_CENTIMETER;
    case LengthUnit::Metre: return MODELUNIT_METER;
    case LengthUnit::Inch: return MODELUNIT_INCH;
    case LengthUnit::Millimetre: break;
  }
  return MODELUNIT_MILLIMETER;
}

// Fixed identifiers numbered by kind and object, so that the same letters
// give the same file every time.
std::string Uuid(unsigned kind, unsigned serial) {
  char text[40];
  std::snprintf(text, sizeof text, "6c79706b-0000-4000-8%03x-%012x", kind, serial);
  return text;
}

}  // namespace

bool WriteThreeMf(const std::vector<PieceMesh>& meshes, LengthUnit unit, std::ostream& out,
                  std::string& error) {
  auto failed = [&](const char* what) {
    error = std::string("the 3MF library failed to ") + what;
    return false;
  };
  PLib3MFModel* rawModel = nullptr;
  if (lib3mf_createmodel(&rawModel) != LIB3MF_OK) return failed("create a model");
  const Handle model(rawModel);
  if (lib3mf_model_setunit(rawModel, UnitCode(unit)) != LIB3MF_OK) return failed("set the unit");

  PLib3MFModelBaseMaterial* rawGroup = nullptr;
  if (lib3mf_model_addbasematerialgroup(rawModel, &rawGroup) != LIB3MF_OK) {
    return failed("add the materials");
  }
  const Handle group(rawGroup);
  DWORD groupId = 0;
  if (lib3mf_resource_getresourceid(rawGroup, &groupId) != LIB3MF_OK) return failed("add the materials");
  std::map<int, DWORD> materialOfColour;

  std::vector<MODELMESHVERTEX> vertices;
  std::vector<MODELMESHTRIANGLE> triangles;
  unsigned serial = 0;
  for (const PieceMesh& mesh : meshes) {
    auto found = materialOfColour.find(mesh.colour);
    if (found == materialOfColour.end()) {
      DWORD index = 0;
      const int c = mesh.colour;
      if (lib3mf_basematerial_addmaterial(rawGroup, Wide(ColourMaterialName(c)).c_str(),
                                          static_cast<BYTE>(c & 0xFF), static_cast<BYTE>((c >> 8) & 0xFF),
                                          static_cast<BYTE>((c >> 16) & 0xFF), &index) != LIB3MF_OK) {
        return failed("add a material");
      }
      if (lib3mf_basematerial_setdisplaycolorrgba(rawGroup, index, static_cast<BYTE>(c & 0xFF),
                                                  static_cast<BYTE>((c >> 8) & 0xFF),
                                                  static_cast<BYTE>((c >> 16) & 0xFF), 255) != LIB3MF_OK) {
        return failed("add a material");
      }
      found = materialOfColour.emplace(c, index).first;
    }

    PLib3MFModelMeshObject* rawObject = nullptr;
    if (lib3mf_model_addmeshobject(rawModel, &rawObject) != LIB3MF_OK) return failed("add an object");
    const Handle object(rawObject);
    const std::string name = LetterName(mesh.letterCode) + "_" + std::to_string(mesh.letterIndex + 1) +
                             "_" + std::to_string(mesh.pieceIndex + 1);
    if (lib3mf_object_setname(rawObject, Wide(name).c_str()) != LIB3MF_OK) return failed("name an object");
    vertices.clear();
    for (const CVertex3F& v : mesh.vertices) vertices.push_back(MODELMESHVERTEX{{v.x, v.y, v.z}});
    triangles.clear();
    for (const auto& t : mesh.triangles) triangles.push_back(MODELMESHTRIANGLE{{t[0], t[1], t[2]}});
    if (lib3mf_meshobject_setgeometry(rawObject, vertices.data(), static_cast<DWORD>(vertices.size()),
                                      triangles.data(), static_cast<DWORD>(triangles.size())) != LIB3MF_OK) {
      return failed("store a mesh");
    }
    PLib3MFDefaultPropertyHandler* rawDefault = nullptr;
    if (lib3mf_object_createdefaultpropertyhandler(rawObject, &rawDefault) != LIB3MF_OK) {
      return failed("colour an object");
    }
    const Handle defaults(rawDefault);
    if (lib3mf_defaultpropertyhandler_setbasematerial(rawDefault, groupId, found->second) != LIB3MF_OK) {
      return failed("colour an object");
    }
    if (lib3mf_object_setuuidutf8(rawObject, Uuid(1, ++serial).c_str()) != LIB3MF_OK) {
      return failed("name an object");
    }
    PLib3MFModelBuildItem* rawItem = nullptr;
    if (lib3mf_model_addbuilditem(rawModel, rawObject, nullptr, &rawItem) != LIB3MF_OK) {
      return failed("place an object");
    }
    const Handle item(rawItem);
    if (lib3mf_builditem_setuuidutf8(rawItem, Uuid(2, serial).c_str()) != LIB3MF_OK) {
      return failed("place an object");
    }
  }

  if (lib3mf_model_setbuilduuidutf8(rawModel, Uuid(3, 0).c_str()) != LIB3MF_OK) {
    return failed("write the build");
  }
  PLib3MFModelWriter* rawWriter = nullptr;
  if (lib3mf_model_querywriter(rawModel, "3mf", &rawWriter) != LIB3MF_OK) return failed("make a writer");
  const Handle writer(rawWriter);
  ULONG64 size = 0;
  if (lib3mf_writer_getstreamsize(rawWriter, &size) != LIB3MF_OK) {
    DWORD code = 0;
    LPCSTR text = nullptr;
    lib3mf_getlasterror(rawWriter, &code, &text);
    error = std::string("the 3MF library failed to write the package") + (text ? std::string(": ") + text : "");
    return false;
  }
  std::vector<BYTE> bytes(static_cast<std::size_t>(size));
  if (lib3mf_writer_writetobuffer(rawWriter, bytes.data(), size) != LIB3MF_OK) {
    return failed("write the package");
  }
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return true;
}
