/* Rastel16: a software renderer that draws flat-shaded polygons into a
 * 16-bit (5-6-5) frame buffer in memory. Plain C interface over an opaque
 * view handle; every function ignores a null view. Compiles as C and C++. */
#ifndef RASTEL_H
#define RASTEL_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(RASTEL_BUILDING)
#define RASTEL_API __attribute__((visibility("default")))
#else
#define RASTEL_API
#endif

typedef struct RenderView RenderView; /* opaque; the library owns it */

/* A frame: maps a local point p to origin + p.x*xAxis + p.y*yAxis + p.z*zAxis.
 * For the camera the origin is the eye; it looks along its negative z axis. */
typedef struct CameraFrame {
  float origin[3];
  float xAxis[3];
  float yAxis[3];
  float zAxis[3];
} CameraFrame;

/* Material of one face list. Untextured faces get one colour each: lit
 * faces (with the light on) the colour scaled per channel by
 * k = 1 - 0.7 * (n . L), n the face's unit normal pointing away from the eye
 * and L the camera-space light; otherwise, when shadeLow is not 0, scaled by
 * (shadeLow + 16) / 16; otherwise the colour itself.
 *
 * Textured faces (texture set and a FaceTexMap given) write texel + shade
 * as a plain 16-bit sum. The shade is 0 for unlit faces or with the light
 * off. For lit faces it blends, channel by channel, from the dark highlight
 * 0x18C3 (the face's front turned fully away from the light direction) to
 * the bright highlight 0x6B4D (turned fully towards it), the blend factor
 * (1 + cos angle) / 2 rounded to shadeHigh - shadeLow steps. Texels meant
 * to be shaded must leave headroom in each channel: nothing saturates. */
typedef struct FaceMaterial {
  int colour;                     /* PixelFormat565 in the low 16 bits */
  const unsigned short* texture;  /* 256 x 256 texels, row-major, or null */
  int texelsU;                    /* texels spanned by u = 1 */
  int texelsV;                    /* texels spanned by v = 1 */
  int lit;                        /* non-zero: shaded by the directional light */
  int shadeLow;                   /* lower end of the shade range (-16) */
  int shadeHigh;                  /* upper end of the shade range (16) */
  int transparent;                /* non-zero: depth written after the pixels are known */
  const unsigned char* stipple;   /* 8 rows of 8 bits, or null */
} FaceMaterial;

typedef struct FaceTexMap {
  int on;        /* 0: no texture mapping */
  int vertex[3]; /* indices into the face list's vertex array */
  float uv[6];   /* u, v of each of the three vertices */
} FaceTexMap;

/* Views are at most 4096 x 4096; RenderResizeView clamps larger sizes to
 * that, rounds the width up to a multiple of 8 and the height up to an even
 * number, and ignores sizes of 0 or less. When the buffers of a size cannot
 * be had the view is left 0 x 0 (RenderGetBuf gives null) and draws nothing.
 *
 * RenderFaceList returns 0 for a null view, vertex array or index list;
 * otherwise the index of the last face that covered the pick pixel, or -1.
 * It refuses (returns -1, draws nothing) a list of more than 16,777,216
 * (2^24) vertices or one it has no memory for; a negative vertex count is
 * 0 and a face count of 0 or less draws nothing. It skips any face that
 * refers to a vertex outside its list and any face of more than 2^26
 * indices. Every int of a material is valid: shadeLow and shadeHigh are
 * computed in wider arithmetic, so values near INT_MIN or INT_MAX only
 * saturate the colour. The caller promises only that the arrays hold what
 * the counts say and that each face's run ends with -1. */
RASTEL_API RenderView* RenderCreateView(void);
RASTEL_API void RenderDestroyView(RenderView* view);
RASTEL_API void RenderResizeView(RenderView* view, int width, int height);
RASTEL_API void RenderGetViewSize(RenderView* view, int* width, int* height);
RASTEL_API unsigned short* RenderGetBuf(RenderView* view);
RASTEL_API void RenderSetCameraPos(RenderView* view, const CameraFrame* camera);
RASTEL_API void RenderSetTransform(RenderView* view, const CameraFrame* model);
RASTEL_API void RenderSetBgColor(RenderView* view, int colour);
RASTEL_API void RenderSetViewTan(RenderView* view, float tangent);
RASTEL_API void RenderSetFrontClipPlane(RenderView* view, float distance);
RASTEL_API void RenderSetDLight(RenderView* view, const float* direction, int on);
RASTEL_API void RenderTargetMode(RenderView* view, int on, int x, int y);
RASTEL_API void RenderStartFrame(RenderView* view);
RASTEL_API void RenderEndFrame(RenderView* view);
RASTEL_API int RenderFaceList(RenderView* view, int faceCount, int vertexCount,
                              const float* vertices, const int* indices,
                              const FaceTexMap* texMap, const FaceMaterial* material);
RASTEL_API int MLDither(void* dst, const void* src, int width, int height);

#ifdef __cplusplus
}
#endif

#endif /* RASTEL_H */
