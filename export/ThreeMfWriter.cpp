// 3MF through lib3mf: the library builds the package (a zip of XML parts) in
// memory, which is then handed to the stream so the one atomic save applies.
#include <cstdint>
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

std::uint32_t Get(const std::vector<BYTE>& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int k = 0; k < bytes; ++k) v |= static_cast<std::uint32_t>(b[at + k]) << (8 * k);
  return v;
}

void Put(std::string& out, std::uint32_t v, int bytes) {
  for (int k = 0; k < bytes; ++k) out.push_back(static_cast<char>((v >> (8 * k)) & 0xFF));
}

// One entry of the package, as both zip headers describe it.
struct ZipEntry {
  std::uint32_t method, time, crc, compressed, size, offset;
  std::string name;
};

// The fields the local header and the central directory share, in order.
void PutEntryFields(std::string& out, const ZipEntry& e) {
  Put(out, e.method, 2);
  Put(out, e.time, 4);
  Put(out, e.crc, 4);
  Put(out, e.compressed, 4);
  Put(out, e.size, 4);
}

// The library marks every entry of its package as Zip64, which common
// readers' unzip code misreads. The package is far below the sizes that
// need it, so the entries are copied, still compressed, into a plain zip.
// Empty when the package is not laid out as expected; the caller then keeps
// the library's bytes.
std::string PlainZip(const std::vector<BYTE>& zip) {
  std::vector<ZipEntry> entries;
  std::string out;
  std::size_t at = 0;
  while (at + 30 <= zip.size() && Get(zip, at, 4) == 0x04034b50) {
    const std::uint32_t flags = Get(zip, at + 6, 2);
    ZipEntry e{Get(zip, at + 8, 2), Get(zip, at + 10, 4), Get(zip, at + 14, 4), Get(zip, at + 18, 4),
            Get(zip, at + 22, 4), static_cast<std::uint32_t>(out.size()), {}};
    const std::size_t nameLength = Get(zip, at + 26, 2), extraLength = Get(zip, at + 28, 2);
    if ((flags & 0x8) != 0 || at + 30 + nameLength + extraLength > zip.size()) return {};
    e.name.assign(reinterpret_cast<const char*>(&zip[at + 30]), nameLength);
    std::uint64_t size = e.size, compressed = e.compressed;
    for (std::size_t x = at + 30 + nameLength; x + 4 <= at + 30 + nameLength + extraLength;) {
      const std::uint32_t id = Get(zip, x, 2), length = Get(zip, x + 2, 2);
      std::size_t field = x + 4;
      if (id == 1) {
        if (e.size == 0xFFFFFFFF && field + 8 <= x + 4 + length) {
          size = Get(zip, field, 4) | (static_cast<std::uint64_t>(Get(zip, field + 4, 4)) << 32);
          field += 8;
        }
        if (e.compressed == 0xFFFFFFFF && field + 8 <= x + 4 + length) {
          compressed = Get(zip, field, 4) | (static_cast<std::uint64_t>(Get(zip, field + 4, 4)) << 32);
        }
      }
      x += 4 + length;
    }
    if (size >= 0xFFFFFFFF || compressed >= 0xFFFFFFFF) return {};
    e.size = static_cast<std::uint32_t>(size);
    e.compressed = static_cast<std::uint32_t>(compressed);
    const std::size_t data = at + 30 + nameLength + extraLength;
    if (data + e.compressed > zip.size()) return {};
    Put(out, 0x04034b50, 4);
    Put(out, 20, 2);
    Put(out, 0, 2);
    PutEntryFields(out, e);
    Put(out, static_cast<std::uint32_t>(nameLength), 2);
    Put(out, 0, 2);
    out += e.name;
    out.append(reinterpret_cast<const char*>(&zip[data]), e.compressed);
    entries.push_back(e);
    at = data + e.compressed;
  }
  if (entries.empty()) return {};
  const auto directory = static_cast<std::uint32_t>(out.size());
  for (const ZipEntry& e : entries) {
    Put(out, 0x02014b50, 4);
    Put(out, 20, 2);
    Put(out, 20, 2);
    Put(out, 0, 2);
    PutEntryFields(out, e);
    Put(out, static_cast<std::uint32_t>(e.name.size()), 2);
    Put(out, 0, 2);
    Put(out, 0, 2);
    Put(out, 0, 2);
    Put(out, 0, 2);
    Put(out, 0, 4);
    Put(out, e.offset, 4);
    out += e.name;
  }
  const auto directorySize = static_cast<std::uint32_t>(out.size()) - directory;
  Put(out, 0x06054b50, 4);
  Put(out, 0, 2);
  Put(out, 0, 2);
  Put(out, static_cast<std::uint32_t>(entries.size()), 2);
  Put(out, static_cast<std::uint32_t>(entries.size()), 2);
  Put(out, directorySize, 4);
  Put(out, directory, 4);
  Put(out, 0, 2);
  return out;
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
  const std::string plain = PlainZip(bytes);
  if (!plain.empty()) {
    out.write(plain.data(), static_cast<std::streamsize>(plain.size()));
  } else {
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  return true;
}
