// The mesh reader: the format as the simulator reads it, the writer's text
// read back, and the defined outcome of every kind of damaged file.

#include "headless/mesh_file.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using headless::MeshFile;
using headless::ReadMeshText;

// Two groups (one without normals), two materials, two textures: every
// keyword of the format, in mixed case, with comments and CR LF line ends.
const char kFullMesh[] = "MSHX1\r\n"
                         "GROUPS 2\r\n"
                         "LABEL Desk top\r\n"
                         "material 2\r\n"
                         "Texture 1\r\n"
                         "FLAG 1A\r\n"
                         "ZBIAS -3\r\n"
                         "TEXWRAP UV\r\n"
                         "GEOM 3 1 ; the front\r\n"
                         "0 0 0 0 0 -1 0 1\r\n"
                         "0 1 0 0 0 -1 0 0\r\n"
                         "1 1 0 0 0 -1 1 0\r\n"
                         "0 1 2\r\n"
                         "NONORMAL\r\n"
                         "GEOM 3 1\r\n"
                         "0 0 5 0.25 0.75\r\n"
                         "0 1 5\r\n"
                         "1 1 5 1 0\r\n"
                         "0 1 2\r\n"
                         "MATERIALS 2\r\n"
                         "Glow\r\n"
                         "Grey\r\n"
                         "MATERIAL Glow\r\n"
                         "1 1 1 1\r\n"
                         "0.5 0.5 0.5 1\r\n"
                         "0 0 0 1\r\n"
                         "1 0.9 0.8 1\r\n"
                         "MATERIAL Grey\r\n"
                         "0.3 0.3 0.3 1\r\n"
                         "0.3 0.3 0.3 1\r\n"
                         "0.1 0.1 0.1 1 20\r\n"
                         "0 0 0 1\r\n"
                         "TEXTURES 2\r\n"
                         "Korvane\\Screen0.dds D\r\n"
                         "Korvane\\facade.dds\r\n";

TEST(MeshFileTest, ReadsEveryPartOfTheFormat)
{
    MeshFile mesh;
    std::string error;
    ASSERT_TRUE(ReadMeshText(kFullMesh, &mesh, &error)) << error;
    ASSERT_EQ(mesh.groups.size(), 2u);
    const headless::MeshGroup &desk = mesh.groups[0];
    EXPECT_EQ(desk.label, "Desk top");
    EXPECT_EQ(desk.material, 2u);
    EXPECT_EQ(desk.texture, 1u);
    EXPECT_EQ(desk.flags, 0x1Au);
    EXPECT_EQ(desk.zbias, -3);
    EXPECT_EQ(desk.texWrap, 3u);
    EXPECT_FALSE(desk.noNormals);
    ASSERT_EQ(desk.vertices.size(), 3u);
    EXPECT_EQ(desk.vertices[0].v, 1.0);
    EXPECT_EQ(desk.vertices[2].x, 1.0);
    EXPECT_EQ(desk.vertices[2].u, 1.0);
    EXPECT_EQ(desk.vertices[1].nz, -1.0);
    EXPECT_EQ(desk.indices, (std::vector<uint32_t>{0, 1, 2}));

    // Without normals the vertex lines are x y z u v (u v may be missing),
    // and each vertex gets the normal of its triangle: (0,0,5) (0,1,5)
    // (1,1,5) turn clockwise seen from -z, so the front faces -z.
    const headless::MeshGroup &plain = mesh.groups[1];
    EXPECT_TRUE(plain.noNormals);
    EXPECT_EQ(plain.material, 0u);
    EXPECT_EQ(plain.texture, 0u);
    EXPECT_EQ(plain.vertices[0].u, 0.25);
    EXPECT_EQ(plain.vertices[0].v, 0.75);
    EXPECT_EQ(plain.vertices[1].u, 0.0);
    for (const headless::MeshVertex &v : plain.vertices) {
        EXPECT_DOUBLE_EQ(v.nz, -1.0);
        EXPECT_DOUBLE_EQ(v.nx, 0.0);
    }

    ASSERT_EQ(mesh.materials.size(), 2u);
    EXPECT_EQ(mesh.materials[0].name, "Glow");
    EXPECT_EQ(mesh.materials[0].emissive.g, 0.9);
    EXPECT_EQ(mesh.materials[0].specularPower, 0.0);
    EXPECT_EQ(mesh.materials[1].ambient.r, 0.3);
    EXPECT_EQ(mesh.materials[1].specular.r, 0.1);
    EXPECT_EQ(mesh.materials[1].specularPower, 20.0);
    ASSERT_EQ(mesh.textures.size(), 2u);
    EXPECT_EQ(mesh.textures[0].path, "Korvane\\Screen0.dds");
    EXPECT_TRUE(mesh.textures[0].dynamic);
    EXPECT_EQ(mesh.textures[1].path, "Korvane\\facade.dds");
    EXPECT_FALSE(mesh.textures[1].dynamic);
}

TEST(MeshFileTest, WrittenTextReadsBackAsTheSameMesh)
{
    MeshFile mesh;
    ASSERT_TRUE(ReadMeshText(kFullMesh, &mesh));
    mesh.groups[0].vertices[0].x = -5.342756; // six decimals survive
    mesh.groups[0].vertices[1].y = -0.0000001; // below a micrometre reads 0
    mesh.groups[0].vertices[2].z = -1.5e20;    // huge values in exponent form, the line stays short
    const std::string text = headless::WriteMeshText(mesh);
    MeshFile again;
    std::string error;
    ASSERT_TRUE(ReadMeshText(text, &again, &error)) << error << "\n" << text;
    ASSERT_EQ(again.groups.size(), mesh.groups.size());
    for (size_t g = 0; g < mesh.groups.size(); ++g) {
        const headless::MeshGroup &a = mesh.groups[g], &b = again.groups[g];
        EXPECT_EQ(a.label, b.label);
        EXPECT_EQ(a.material, b.material);
        EXPECT_EQ(a.texture, b.texture);
        EXPECT_EQ(a.noNormals, b.noNormals);
        EXPECT_EQ(a.flags, b.flags);
        EXPECT_EQ(a.zbias, b.zbias);
        EXPECT_EQ(a.texWrap, b.texWrap);
        EXPECT_EQ(a.indices, b.indices);
        ASSERT_EQ(a.vertices.size(), b.vertices.size());
        for (size_t i = 0; i < a.vertices.size(); ++i) {
            EXPECT_NEAR(a.vertices[i].x, b.vertices[i].x, 5e-7);
            EXPECT_NEAR(a.vertices[i].y, b.vertices[i].y, 5e-7);
            EXPECT_NEAR(a.vertices[i].nz, b.vertices[i].nz, 5e-7);
            EXPECT_NEAR(a.vertices[i].u, b.vertices[i].u, 5e-7);
        }
    }
    EXPECT_EQ(again.groups[0].vertices[0].x, -5.342756);
    EXPECT_EQ(again.groups[0].vertices[2].z, -1.5e20);
    EXPECT_NE(text.find("\n0 0 0 0 0 -1 0 0\n"), std::string::npos) << "-0 is written as 0";
    EXPECT_EQ(again.materials[1].specularPower, 20.0);
    EXPECT_EQ(again.textures[0].dynamic, true);
    EXPECT_EQ(headless::WriteMeshText(again), text);
}

// Names as long as a line can hold come back whole: the writer must not
// make their lines longer than the reader takes.
TEST(MeshFileTest, NamesAsLongAsALineReadBack)
{
    const std::string label(250, 'L'), name(255, 'M');
    const std::string text = "MSHX1\nGROUPS 1\nLABEL" + label + "\nMATERIAL 1\nGEOM 3 1\n" +
                             "0 0 0 0 0 -1\n0 1 0 0 0 -1\n1 1 0 0 0 -1\n0 1 2\n" + "MATERIALS 1\n" + name +
                             "\nMATERIAL\n1 1 1 1\n1 1 1 1\n0 0 0 1\n0 0 0 1\n";
    MeshFile mesh, again;
    std::string error;
    ASSERT_TRUE(ReadMeshText(text, &mesh, &error)) << error;
    ASSERT_TRUE(ReadMeshText(headless::WriteMeshText(mesh), &again, &error)) << error;
    EXPECT_EQ(again.groups.at(0).label, label);
    EXPECT_EQ(again.materials.at(0).name, name);
    EXPECT_EQ(again.groups.at(0).material, 1u);
}

std::string Group(const std::string &geom, const std::string &body) { return "MSHX1\nGROUPS 1\n" + geom + "\n" + body; }

const std::string kTriangle = "0 0 0 0 0 -1 0 0\n0 1 0 0 0 -1 0 0\n1 1 0 0 0 -1 0 0\n";

struct DamagedCase {
    const char *what;
    std::string text;
    const char *reason; // part of the error message
};

TEST(MeshFileTest, DamagedFilesAreRefusedWithTheirReason)
{
    const std::string longLine(256, 'x');
    const std::vector<DamagedCase> cases = {
        {"empty file", "", "MSHX1"},
        {"another format", "MSHX2\nGROUPS 0\n", "MSHX1"},
        {"no GROUPS line", "MSHX1\nMATERIALS 0\n", "GROUPS"},
        {"fewer groups than announced", "MSHX1\nGROUPS 2\nGEOM 3 1\n" + kTriangle + "0 1 2\n", "GEOM"},
        {"cut short in the vertices", Group("GEOM 3 1", "0 0 0 0 0 -1 0 0\n0 1 0 0 0 -1 0 0\n"), "larger than"},
        {"cut short in the triangles", Group("GEOM 3 2", kTriangle + "0 1 2\n"), "larger than"},
        {"a count far beyond the lines", Group("GEOM 1000000 1000000", kTriangle), "larger than"},
        {"absurd vertex count", Group("GEOM 99999999999 0", ""), "too many vertices"},
        {"absurd group count", "MSHX1\nGROUPS 4294967296\n", "too many groups"},
        {"negative count", Group("GEOM -3 1", kTriangle), "bad vertices"},
        {"GEOM with one count", Group("GEOM 3", kTriangle), "two counts"},
        {"index past the vertices", Group("GEOM 3 1", kTriangle + "0 1 3\n"), "outside"},
        {"negative index", Group("GEOM 3 1", kTriangle + "0 -1 2\n"), "outside"},
        {"two indices", Group("GEOM 3 1", kTriangle + "0 1\n"), "three indices"},
        {"an index that is no number", Group("GEOM 3 1", kTriangle + "0 one 2\n"), "cannot be read"},
        {"a vertex without its normal", Group("GEOM 3 1", "0 0 0\n0 1 0\n1 1 0\n0 1 2\n"), "too few numbers"},
        {"a coordinate that is no number", Group("GEOM 1 0", "0 zero 0 0 0 -1 0 0\n"), "cannot be read"},
        {"a coordinate that is not finite", Group("GEOM 1 0", "0 nan 0 0 0 -1 0 0\n"), "cannot be read"},
        {"a line of 256 characters", Group("GEOM 3 1", kTriangle + "0 1 2 ;" + longLine + "\n"), "255"},
        {"materials cut short", Group("GEOM 3 1", kTriangle + "0 1 2\nMATERIALS 1\nA\nMATERIAL A\n1 1 1 1\n"),
         "larger than"},
        {"a colour of three numbers",
         Group("GEOM 3 1", kTriangle + "0 1 2\nMATERIALS 1\nA\nMATERIAL A\n1 1 1\n1 1 1 1\n0 0 0 1\n0 0 0 1\n"),
         "too few numbers"},
        {"textures cut short", Group("GEOM 3 1", kTriangle + "0 1 2\nTEXTURES 2\na.dds\n"), "larger than"},
        {"an empty texture line", Group("GEOM 3 1", kTriangle + "0 1 2\nTEXTURES 1\n \n"), "without a path"},
        {"bad flags", Group("FLAG zz\nGEOM 3 1", kTriangle + "0 1 2\n"), "bad flags"},
    };
    for (const DamagedCase &c : cases) {
        MeshFile mesh;
        mesh.groups.resize(1); // must come back empty
        std::string error;
        EXPECT_FALSE(ReadMeshText(c.text, &mesh, &error)) << c.what;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
        EXPECT_NE(error.find("line "), std::string::npos) << c.what << ": " << error;
        EXPECT_TRUE(mesh.groups.empty()) << c.what;
    }
}

TEST(MeshFileTest, TolerableFilesReadWithTheirDefinedMeaning)
{
    MeshFile mesh;
    std::string error;
    // A line of 255 characters is still read (the comment after the indices).
    const std::string longest = "0 1 2 ;" + std::string(255 - 7, 'x');
    ASSERT_EQ(longest.size(), 255u);
    EXPECT_TRUE(ReadMeshText(Group("GEOM 3 1", kTriangle + longest + "\n"), &mesh, &error)) << error;

    // No MATERIALS and no TEXTURES section: none of either; indices that
    // point past the lists read 0 (none), the geometry stays.
    ASSERT_TRUE(ReadMeshText(Group("MATERIAL 3\nTEXTURE 1\nGEOM 3 1", kTriangle + "0 1 2"), &mesh, &error))
        << error;
    EXPECT_TRUE(mesh.materials.empty());
    EXPECT_TRUE(mesh.textures.empty());
    EXPECT_EQ(mesh.groups[0].material, 0u);
    EXPECT_EQ(mesh.groups[0].texture, 0u);
    EXPECT_EQ(mesh.groups[0].indices.size(), 3u); // the last line had no line end

    // Unknown lines of a group's header are skipped; an empty mesh is a mesh.
    EXPECT_TRUE(ReadMeshText(Group("SHADOW\nGEOM 3 1", kTriangle + "0 1 2\n"), &mesh, &error)) << error;
    EXPECT_TRUE(ReadMeshText("MSHX1\nGROUPS 0\n", &mesh, &error)) << error;
    EXPECT_TRUE(mesh.groups.empty());

    // A carriage return inside a line is a blank between words, so a texture
    // path never ends in one (the writer's line would lose it).
    ASSERT_TRUE(ReadMeshText(Group("GEOM 3 1", kTriangle + "0 1 2\nTEXTURES 1\n\r Korvane\\x.dds\rD\n"), &mesh,
                             &error))
        << error;
    EXPECT_EQ(mesh.textures.at(0).path, "Korvane\\x.dds");
    EXPECT_TRUE(mesh.textures.at(0).dynamic);

    EXPECT_FALSE(headless::ReadMeshFile("/nonexistent/Korvane.msh", &mesh, &error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
}

} // namespace
