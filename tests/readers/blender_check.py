# Runs inside Blender (blender -b --factory-startup --python blender_check.py
# -- FILE...): imports each STL, OBJ or binary glTF file with Blender's own
# importer and judges every imported object as Blender's 3-D print checks
# do: non-manifold edges, manifold edges whose faces run against each other,
# intersecting faces (the print toolbox's bounding-volume overlap test), and
# the volume bmesh computes. Prints one JSON line per file.
import json
import sys

import addon_utils
import bmesh
import bpy
import numpy
from mathutils.bvhtree import BVHTree

# Debian's Blender 3.4 glTF importer still uses numpy.bool, which the numpy
# it is packaged with no longer has; the alias is given back so that the
# importer runs at all.
if "bool" not in vars(numpy):
    numpy.bool = bool


def import_file(path):
    if path.lower().endswith(".stl"):
        bpy.ops.import_mesh.stl(filepath=path)
    elif path.lower().endswith(".obj"):
        bpy.ops.wm.obj_import(filepath=path)
    elif path.lower().endswith(".glb"):
        bpy.ops.import_scene.gltf(filepath=path)
    else:
        raise ValueError("no Blender importer for " + path)


def judge(obj):
    bm = bmesh.new()
    bm.from_mesh(obj.data)
    bm.transform(obj.matrix_world)
    bmesh.ops.triangulate(bm, faces=bm.faces)
    non_manifold = sum(1 for e in bm.edges if not e.is_manifold)
    non_contiguous = sum(1 for e in bm.edges if e.is_manifold and not e.is_contiguous)
    # The print toolbox's intersection check.
    tree = BVHTree.FromBMesh(bm, epsilon=0.00001)
    intersecting = len({i for pair in tree.overlap(tree) for i in pair})
    result = {
        "faces": len(bm.faces),
        "volume": bm.calc_volume(signed=True),
        "nonManifold": non_manifold,
        "nonContiguous": non_contiguous,
        "intersecting": intersecting,
    }
    bm.free()
    return result


def main():
    files = sys.argv[sys.argv.index("--") + 1:] if "--" in sys.argv else []
    for module in ("io_mesh_stl", "io_scene_gltf2"):
        addon_utils.enable(module, default_set=True)
    for path in files:
        bpy.ops.wm.read_factory_settings(use_empty=True)
        for module in ("io_mesh_stl", "io_scene_gltf2"):
            addon_utils.enable(module, default_set=True)
        report = {"file": path, "objects": 0, "faces": 0, "volume": 0.0, "nonManifold": 0,
                  "nonContiguous": 0, "intersecting": 0, "negativeObjects": 0}
        try:
            import_file(path)
        except Exception as error:  # the harness counts a failed import
            report["error"] = str(error)
        for obj in bpy.context.scene.objects:
            if obj.type != "MESH":
                continue
            r = judge(obj)
            report["objects"] += 1
            for key in ("faces", "volume", "nonManifold", "nonContiguous", "intersecting"):
                report[key] += r[key]
            if r["volume"] <= 0:
                report["negativeObjects"] += 1
        print("BLENDER-CHECK " + json.dumps(report), flush=True)


main()
