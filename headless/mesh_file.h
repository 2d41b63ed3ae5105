// The simulator's mesh files (Meshes/<name>.msh), as the simulator reads
// them, and the writer that the add-on's mesh generator uses.
//
// The file is text, read line by line into 256-character buffers; keywords
// are compared case-insensitively by prefix, and text after the numbers a
// line needs is ignored (a "; comment" for example):
//
//   MSHX1                           first line
//   GROUPS <n>
//   then n groups, each:
//     LABEL <text>                  optional: the group's name
//     MATERIAL <m>                  optional: 1-based into the material list, 0 none (default)
//     TEXTURE <t>                   optional: 1-based into the texture list, 0 none (default)
//     NONORMAL                      optional: vertex lines carry no normals
//     FLAG <hex>                    optional: user flags, hexadecimal
//     ZBIAS <z>                     optional: depth bias, integer
//     TEXWRAP <U|V|UV>              optional: wrap texture coordinates
//     GEOM <nv> <nt>
//     nv vertex lines  x y z nx ny nz u v   (metres, unit normal, texture
//                                           coordinates; u v may be left
//                                           out and read 0; with NONORMAL:
//                                           x y z u v)
//     nt triangle lines  i j k      0-based vertex indices, clockwise as
//                                   seen from the front (left-handed frame)
//   MATERIALS <n>                   optional section; n material names follow
//   then per material:
//     MATERIAL <name>
//     r g b a                       diffuse
//     r g b a                       ambient
//     r g b a [power]               specular, with its power (default 0)
//     r g b a                       emissive
//   TEXTURES <n>                    optional section
//   n lines  <path> [D]             relative to Textures/, backslashes; D
//                                   marks a dynamic texture (a module draws on it)
//
// UV (0, 0) is the top-left corner of a texture. Lines may end in CR LF; a
// CR within a line is a blank between words.
//
// Damaged files have these outcomes (the reader returns false with the line
// number and the reason; the caller sees no mesh, as the simulator gives a
// null handle for a mesh it cannot read):
//   - a first line other than MSHX1, no GROUPS line;
//   - a line of 256 characters or more (the simulator's buffer would cut it);
//   - a file cut short: fewer groups, vertex, triangle, material or texture
//     lines than announced, or a group without its GEOM line (an announced
//     count larger than the rest of the file is refused before anything is
//     allocated for it);
//   - counts above the limits below or negative, numbers that cannot be read
//     or are not finite, vertex lines with too few numbers;
//   - triangle indices outside the group's vertices.
// Missing MATERIALS or TEXTURES sections mean no materials or textures; a
// group whose material or texture index lies past its list keeps its
// geometry and gets index 0 (none).

#ifndef KORVANE_HEADLESS_MESH_FILE_H
#define KORVANE_HEADLESS_MESH_FILE_H

#include <cstdint>
#include <string>
#include <vector>

namespace headless {

struct MeshVertex {
    double x, y, z;    // vessel-frame metres (before the mesh's offset)
    double nx, ny, nz; // unit normal towards the front
    double u, v;       // texture coordinates, (0, 0) = texture top-left
};

struct MeshColour {
    double r, g, b, a;
};

struct MeshMaterial {
    std::string name;
    MeshColour diffuse, ambient, specular, emissive;
    double specularPower;
};

struct MeshTexture {
    std::string path; // as written in the file: relative to Textures/, backslashes
    bool dynamic;     // the "D" flag: a texture a module draws on
};

struct MeshGroup {
    std::string label;
    uint32_t material = 0; // 1-based index into MeshFile::materials, 0 = none
    uint32_t texture = 0;  // 1-based index into MeshFile::textures, 0 = none
    bool noNormals = false;
    uint32_t flags = 0;
    int zbias = 0;
    uint32_t texWrap = 0; // bit 0: wrap u, bit 1: wrap v
    std::vector<MeshVertex> vertices;
    std::vector<uint32_t> indices; // three 0-based vertex indices per triangle, clockwise seen from the front
};

struct MeshFile {
    std::vector<MeshGroup> groups;
    std::vector<MeshMaterial> materials;
    std::vector<MeshTexture> textures;
};

// Limits of what is read.
constexpr int kMeshLineChars = 256;              // a line must be shorter
constexpr uint32_t kMaxMeshGroups = 4096;
constexpr uint32_t kMaxGroupVertices = 1u << 20;
constexpr uint32_t kMaxGroupTriangles = 1u << 21;
constexpr uint32_t kMaxMeshMaterials = 4096;
constexpr uint32_t kMaxMeshTextures = 4096;

// Reads a mesh from its text. False for a damaged file (see above); *error
// then tells the line and the reason, and *mesh is left empty.
bool ReadMeshText(const std::string &text, MeshFile *mesh, std::string *error = nullptr);
// The same from a file; false also if the file cannot be read.
bool ReadMeshFile(const std::string &path, MeshFile *mesh, std::string *error = nullptr);

// The text of a mesh: every group with its LABEL, MATERIAL and TEXTURE
// lines (and NONORMAL, FLAG, ZBIAS, TEXWRAP where set), numbers with up to
// six decimals and no trailing zeros (a billion or more in exponent form),
// LF line ends. Reading it back gives the mesh again (to those six decimals);
// a material's own MATERIAL line leaves out a name too long for the line.
std::string WriteMeshText(const MeshFile &mesh);

} // namespace headless

#endif // KORVANE_HEADLESS_MESH_FILE_H
