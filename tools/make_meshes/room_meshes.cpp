#include "tools/make_meshes/room_meshes.h"

#include <cmath>

#include "cockpit/panel_geometry.h"
#include "module/mesh_layout.h"
#include "tools/make_meshes/mesh_builder.h"

namespace meshgen {

namespace {

using headless::MeshColour;
using headless::MeshFile;
using headless::MeshGroup;
using headless::MeshMaterial;
using headless::MeshTexture;

// --- The room (vessel frame, metres) ------------------------------------------
constexpr double kGroundY = -5.0;        // the touchdown plane
constexpr double kFloorY = -2.8;         // the main floor
constexpr double kCeilingY = 4.0;
constexpr double kWallX = 6.9;           // the side walls at +-x
constexpr double kFrontWallZ = 9.4;      // just behind the screens
constexpr double kBackWallZ = -10.1;
constexpr double kGalleryY = 0.0;        // the raised gallery at the back
constexpr double kGalleryFrontZ = -7.8;
constexpr double kRailTopY = 0.9;        // below the line of sight from position 2 to the desk
constexpr double kRailZ = -7.86;
constexpr double kConsoleTopY = -2.1;    // below -2.0: never in front of the screens
constexpr double kStairsX = 5.6;         // the stairs run along the right wall, x 5.6..6.9

// The exterior: a block about the touchdown circle (radius 10 m) that
// encloses the room.
constexpr double kOuterX = 7.4;
constexpr double kOuterFrontZ = 9.9;
constexpr double kOuterBackZ = -10.5;
constexpr double kRoofY = 4.6;
constexpr double kParapetTopY = 5.2;

// The screens' face in each screen mesh's own frame, and the bezel behind it.
// With the mesh offsets the faces span y -1.5..2.4: from the seat (position
// 0) just above the desk's top edge, which hides everything below -1.1
// degrees, and from the forward place (position 1, eye at y -1, 5.3 m away)
// the lower three fifths in view straight ahead, their centres within the
// 20 degrees above the eye's line.
constexpr double kScreenLeft = -0.7, kScreenRight = 3.2, kScreenBottom = -1.4, kScreenTop = 2.5;
constexpr double kBezelMargin = 0.08, kBezelDepth = 0.08;

const char *const kScreenTexturePaths[3] = {"Korvane\\Screen0.dds", "Korvane\\Screen1.dds", "Korvane\\Screen2.dds"};
constexpr int kScreenPixels = 1024;

// The desk: how far its body reaches around and behind each panel (m).
constexpr double kDeskRecess = 0.003;             // the desk's face lies this far behind the panel plane
constexpr double kDeskTopB = -0.03, kDeskBottomB = 0.43;
constexpr double kDeskDepth = 0.5;
constexpr double kLeftDeskA0 = -0.04, kLeftDeskA1 = 0.82;
constexpr double kRightDeskA0 = -0.44, kRightDeskA1 = 0.42;
// The MFD displays, inboard of their label panels (panel coordinates, m).
constexpr double kMfdDisplaySide = 0.38;
constexpr double kLeftDisplayA0 = 0.40, kRightDisplayA0 = -0.40;

MeshColour Grey(double v) { return {v, v, v, 1.0}; }

MeshMaterial Lit(const char *name, double r, double g, double b, double shine = 0.1)
{
    return MeshMaterial{name, {r, g, b, 1.0}, {r, g, b, 1.0}, Grey(shine), Grey(0.0), 10.0};
}

// Shows its texture (or its colour) at full brightness whatever the light:
// screens, MFD displays, label panels, lamps.
MeshMaterial Glowing(const char *name, double r = 1.0, double g = 1.0, double b = 1.0)
{
    return MeshMaterial{name, {r, g, b, 1.0}, {r, g, b, 1.0}, Grey(0.0), {r, g, b, 1.0}, 0.0};
}

// Adds a group with a material and texture (1-based, 0 none) and returns
// its builder.
MeshGroup &AddGroup(MeshFile &mesh, const char *label, uint32_t material, uint32_t texture = 0)
{
    mesh.groups.emplace_back();
    MeshGroup &g = mesh.groups.back();
    g.label = label;
    g.material = material;
    g.texture = texture;
    return g;
}

std::string MeshPath(const char *meshName)
{
    std::string path = std::string("Meshes/") + meshName + ".msh";
    for (char &c : path)
        if (c == '\\')
            c = '/';
    return path;
}

std::string TexturePath(const char *textureName)
{
    std::string path = std::string("Textures/") + textureName;
    for (char &c : path)
        if (c == '\\')
            c = '/';
    return path;
}

const Vec kUp{0, 1, 0}, kDown{0, -1, 0}, kForward{0, 0, 1}, kBack{0, 0, -1}, kRight{1, 0, 0}, kLeft{-1, 0, 0};

// --- Korvane.msh: the interior, seen from inside ---------------------------------
MeshFile Interior()
{
    MeshFile mesh;
    mesh.materials = {Lit("Carpet", 0.8, 0.8, 0.8), Lit("Wall", 0.9, 0.9, 0.88), Lit("Ceiling", 0.75, 0.75, 0.75),
                      Glowing("Lamp", 1.0, 0.97, 0.9), Lit("Front wall", 0.12, 0.12, 0.14),
                      Lit("Gallery", 0.35, 0.36, 0.4), Lit("Metal", 0.6, 0.62, 0.65, 0.6),
                      Lit("Console", 0.3, 0.32, 0.36, 0.3), Glowing("Console display", 0.15, 0.45, 0.3),
                      Lit("Chair", 0.15, 0.15, 0.17)};
    mesh.textures = {{"Korvane\\floor.dds", false}, {"Korvane\\wall.dds", false}};
    enum { kCarpet = 1, kWall, kCeiling, kLamp, kFrontWall, kGallery, kMetal, kConsole, kDisplay, kChair };
    enum { kFloorTexture = 1, kWallTexture };

    const double width = 2 * kWallX;
    const double height = kCeilingY - kFloorY;
    const double midY = (kCeilingY + kFloorY) / 2;

    // Floors: the main floor up to the gallery, the gallery's floor behind it.
    {
        GroupBuilder floor(AddGroup(mesh, "Floor", kCarpet, kFloorTexture));
        const double mainLength = kFrontWallZ - kGalleryFrontZ;
        floor.tiledFace({0, kFloorY, (kFrontWallZ + kGalleryFrontZ) / 2}, kUp, kForward, width, mainLength, 7, 9);
        const double galleryLength = kGalleryFrontZ - kBackWallZ;
        floor.tiledFace({0, kGalleryY, (kGalleryFrontZ + kBackWallZ) / 2}, kUp, kForward, width, galleryLength, 7, 1);
    }
    // The side walls and the back wall, panelled.
    {
        GroupBuilder walls(AddGroup(mesh, "Walls", kWall, kWallTexture));
        const double length = kFrontWallZ - kBackWallZ;
        const double midZ = (kFrontWallZ + kBackWallZ) / 2;
        walls.tiledFace({-kWallX, midY, midZ}, kRight, kUp, length, height, 10, 3);
        walls.tiledFace({kWallX, midY, midZ}, kLeft, kUp, length, height, 10, 3);
        walls.tiledFace({0, midY, kBackWallZ}, kForward, kUp, width, height, 7, 3);
    }
    // The dark wall behind the screens, so that they stand out.
    GroupBuilder(AddGroup(mesh, "Front wall", kFrontWall)).face({0, midY, kFrontWallZ}, kBack, kUp, width, height);
    GroupBuilder(AddGroup(mesh, "Ceiling", kCeiling))
        .face({0, kCeilingY, (kFrontWallZ + kBackWallZ) / 2}, kDown, kForward, width, kFrontWallZ - kBackWallZ);
    {
        GroupBuilder lamps(AddGroup(mesh, "Lamps", kLamp));
        for (int row = 0; row < 4; ++row)
            for (int column = 0; column < 3; ++column)
                lamps.face({-4.0 + 4.0 * column, kCeilingY - 0.01, -7.0 + 5.0 * row}, kDown, kForward, 1.2, 0.6);
    }
    // The gallery's front face, from the main floor up to its floor.
    GroupBuilder(AddGroup(mesh, "Gallery", kGallery))
        .face({0, (kFloorY + kGalleryY) / 2, kGalleryFrontZ}, kForward, kUp, width, kGalleryY - kFloorY);
    {
        GroupBuilder metal(AddGroup(mesh, "Railing", kMetal));
        const double railEnd = kStairsX - 0.05; // open where the stairs arrive
        // The rails are seen from below too, from the main floor.
        const unsigned allSides = kBoxAllButBottom | kBoxBottom;
        metal.box({-kWallX, kRailTopY - 0.05, kRailZ - 0.025}, {railEnd, kRailTopY, kRailZ + 0.025}, allSides);
        metal.box({-kWallX, kRailTopY - 0.45, kRailZ - 0.015}, {railEnd, kRailTopY - 0.42, kRailZ + 0.015}, allSides);
        for (double x = -6.0; x <= railEnd; x += 1.5)
            metal.box({x - 0.025, kGalleryY, kRailZ - 0.025}, {x + 0.025, kRailTopY - 0.05, kRailZ + 0.025});
    }
    {
        // Eight steps up to the gallery along the right wall, the highest
        // against the gallery's front.
        GroupBuilder stairs(AddGroup(mesh, "Stairs", kGallery));
        const int steps = 8;
        const double rise = (kGalleryY - kFloorY) / steps, run = 0.375;
        for (int i = 0; i < steps; ++i) {
            double zNear = kGalleryFrontZ + run * (steps - i), zFar = kGalleryFrontZ + run * (steps - 1 - i);
            stairs.box({kStairsX, kFloorY, zFar}, {kWallX, kFloorY + rise * (i + 1), zNear},
                       kBoxLeft | kBoxTop | kBoxFront);
        }
    }
    {
        // Two rows of low consoles either side of the aisle, with their
        // displays let into the tops.
        GroupBuilder consoles(AddGroup(mesh, "Consoles", kConsole));
        GroupBuilder displays(AddGroup(mesh, "Console displays", kDisplay));
        for (double rowZ : {-2.0, 1.8})
            for (double side : {-1.0, 1.0}) {
                double x0 = side < 0 ? -5.6 : 0.9, x1 = side < 0 ? -0.9 : 5.6;
                consoles.box({x0, kFloorY, rowZ - 0.4}, {x1, kConsoleTopY, rowZ + 0.4});
                for (int k = 0; k < 3; ++k) {
                    double cx = x0 + (x1 - x0) * (k + 0.5) / 3.0;
                    displays.face({cx, kConsoleTopY + 0.002, rowZ}, kUp, kForward, 0.9, 0.4);
                }
            }
    }
    {
        // The operator's chair at the main desk (cockpit position 0).
        GroupBuilder chair(AddGroup(mesh, "Chair", kChair));
        chair.box({-0.25, -2.35, -7.3}, {0.25, -2.28, -6.8});
        chair.box({-0.25, -2.28, -7.42}, {0.25, -1.75, -7.35});
        chair.box({-0.04, kFloorY, -7.09}, {0.04, -2.35, -7.01});
    }
    return mesh;
}

// --- building.msh: the exterior, seen from outside --------------------------------
MeshFile Exterior()
{
    MeshFile mesh;
    mesh.materials = {Lit("Facade", 1.0, 1.0, 1.0), Lit("Roof", 0.45, 0.45, 0.43), Lit("Parapet", 0.78, 0.77, 0.73),
                      Lit("Mast", 0.7, 0.72, 0.75, 0.6), Lit("Dish", 0.92, 0.92, 0.9, 0.4),
                      Lit("Door", 0.2, 0.22, 0.25, 0.3)};
    mesh.textures = {{"Korvane\\facade.dds", false}};
    enum { kFacade = 1, kRoof, kParapet, kMast, kDish, kDoor };

    const double height = kRoofY - kGroundY, midY = (kRoofY + kGroundY) / 2;
    const double length = kOuterFrontZ - kOuterBackZ, midZ = (kOuterFrontZ + kOuterBackZ) / 2;
    {
        // Window bays about 3 m wide, three storeys of 3.2 m.
        GroupBuilder facade(AddGroup(mesh, "Facade", kFacade, 1));
        facade.tiledFace({0, midY, kOuterFrontZ}, kForward, kUp, 2 * kOuterX, height, 5, 3);
        facade.tiledFace({0, midY, kOuterBackZ}, kBack, kUp, 2 * kOuterX, height, 5, 3);
        facade.tiledFace({-kOuterX, midY, midZ}, kLeft, kUp, length, height, 7, 3);
        facade.tiledFace({kOuterX, midY, midZ}, kRight, kUp, length, height, 7, 3);
    }
    GroupBuilder(AddGroup(mesh, "Roof", kRoof)).face({0, kRoofY, midZ}, kUp, kForward, 2 * kOuterX, length);
    {
        GroupBuilder parapet(AddGroup(mesh, "Parapet", kParapet));
        const double t = 0.3;
        parapet.box({-kOuterX, kRoofY, kOuterFrontZ - t}, {kOuterX, kParapetTopY, kOuterFrontZ});
        parapet.box({-kOuterX, kRoofY, kOuterBackZ}, {kOuterX, kParapetTopY, kOuterBackZ + t});
        parapet.box({-kOuterX, kRoofY, kOuterBackZ + t}, {-kOuterX + t, kParapetTopY, kOuterFrontZ - t});
        parapet.box({kOuterX - t, kRoofY, kOuterBackZ + t}, {kOuterX, kParapetTopY, kOuterFrontZ - t});
        parapet.box({-3.0, kRoofY, -2.0}, {-1.0, kRoofY + 1.0, -0.5}); // the air-conditioning plant
    }
    {
        // A lattice mast with two cross-arms, and a dish on a post.
        GroupBuilder mast(AddGroup(mesh, "Mast", kMast));
        mast.box({4.4, kRoofY, -7.6}, {4.6, 12.6, -7.4});
        mast.box({3.6, 11.0, -7.54}, {5.4, 11.08, -7.46}, kBoxAllButBottom | kBoxBottom);
        mast.box({3.9, 9.4, -7.54}, {5.1, 9.48, -7.46}, kBoxAllButBottom | kBoxBottom);
        mast.box({-4.06, kRoofY, -6.06}, {-3.94, 6.2, -5.94});
    }
    {
        GroupBuilder dish(AddGroup(mesh, "Dish", kDish));
        const Vec centre{-4.0, 6.3, -6.0};
        const Vec facing = Normalised({0.0, 0.6, 0.8}); // up and towards the south-east sky
        const Vec across{1, 0, 0}, along = Cross(facing, across);
        std::vector<Vec> rim;
        for (int k = 0; k < 12; ++k) {
            double angle = 2.0 * 3.14159265358979323846 * k / 12;
            rim.push_back(centre + across * (0.9 * std::cos(angle)) + along * (0.9 * std::sin(angle)));
        }
        dish.polygonAwayFrom(rim, centre - facing);  // the bowl's face
        dish.polygonAwayFrom(rim, centre + facing);  // its back
    }
    GroupBuilder(AddGroup(mesh, "Door", kDoor)).face({0, -3.8, kOuterFrontZ + 0.01}, kForward, kUp, 2.0, 2.4);
    return mesh;
}

// --- ScreenUpdN.msh: one large screen and its bezel --------------------------------
MeshFile Screen(int index)
{
    MeshFile mesh;
    mesh.materials = {Glowing("Screen"), Lit("Bezel", 0.08, 0.08, 0.09, 0.3)};
    mesh.textures = {{kScreenTexturePaths[index], true}};
    // The face towards -z, the whole 1024 x 1024 texture on it, (0, 0) at
    // the top left as the room sees it.
    GroupBuilder(AddGroup(mesh, "Screen", 1, 1))
        .quad({kScreenLeft, kScreenTop, 0}, {kScreenRight, kScreenTop, 0}, {kScreenRight, kScreenBottom, 0},
              {kScreenLeft, kScreenBottom, 0});
    GroupBuilder(AddGroup(mesh, "Bezel", 2))
        .box({kScreenLeft - kBezelMargin, kScreenBottom - kBezelMargin, 0.005},
             {kScreenRight + kBezelMargin, kScreenTop + kBezelMargin, 0.005 + kBezelDepth},
             kBoxAllButBottom | kBoxBottom);
    return mesh;
}

// --- Flight_Dir_Screen.msh: the desk, the MFD displays, the label panels ---------
Vec FromVessel(korvane::PanelPoint p)
{
    const double *offset = korvane::kFlightDirMeshOffset;
    return {p.x - offset[0], p.y - offset[1], p.z - offset[2]};
}

Vec OnPanel(korvane::MfdSide side, double a, double b) { return FromVessel(korvane::PanelToVessel(side, a, b)); }

Vec AsVec(korvane::PanelPoint p) { return {p.x, p.y, p.z}; }

// A quad on a panel from (a0, b0) to (a1, b1), the whole texture on it.
void PanelQuad(GroupBuilder &group, korvane::MfdSide side, double a0, double b0, double a1, double b1)
{
    group.quad(OnPanel(side, a0, b0), OnPanel(side, a1, b0), OnPanel(side, a1, b1), OnPanel(side, a0, b1));
}

// The cross-section of the desk at panel coordinate a: the top and bottom
// of its face (just behind the panel), the foot below that, the back's foot
// and the back's top.
std::vector<Vec> DeskSection(korvane::MfdSide side, double a)
{
    const Vec front = AsVec(korvane::PanelFront(side));
    const Vec back = Normalised({-front.x, 0.0, -front.z});
    const Vec recess = front * -kDeskRecess;
    const Vec top = OnPanel(side, a, kDeskTopB) + recess, bottom = OnPanel(side, a, kDeskBottomB) + recess;
    const Vec backTop = top + back * kDeskDepth;
    return {top, bottom, {bottom.x, kFloorY, bottom.z}, {backTop.x, kFloorY, backTop.z}, backTop};
}

Vec Centroid(const std::vector<Vec> &a, const std::vector<Vec> &b)
{
    Vec sum{0, 0, 0};
    for (const Vec &p : a)
        sum = sum + p;
    for (const Vec &p : b)
        sum = sum + p;
    return sum * (1.0 / static_cast<double>(a.size() + b.size()));
}

// The desk's body between two cross-sections: every side but the floor's.
void DeskPart(GroupBuilder &desk, const std::vector<Vec> &from, const std::vector<Vec> &to)
{
    const Vec inside = Centroid(from, to);
    for (size_t i = 0; i < from.size(); ++i) {
        size_t j = (i + 1) % from.size();
        if (i == 2)
            continue; // from the face's foot to the back's foot: on the floor
        desk.triangleAwayFrom(from[i], from[j], to[j], inside);
        desk.triangleAwayFrom(from[i], to[j], to[i], inside);
    }
}

MeshFile FlightDirector()
{
    using korvane::kLeftMfd;
    using korvane::kRightMfd;
    MeshFile mesh;
    mesh.materials = {Lit("Desk", 0.28, 0.3, 0.33, 0.3), Glowing("MFD display"), Glowing("Button panel")};
    mesh.textures = {{"Korvane\\MfdLabelsLeft.dds", true}, {"Korvane\\MfdLabelsRight.dds", true}};
    enum { kDesk = 1, kDisplay, kPanel };

    {
        // The desk wraps round the seat: the left panel's segment, a piece
        // joining it to the right panel's segment, and that segment.
        GroupBuilder desk(AddGroup(mesh, "Desk", kDesk));
        const std::vector<Vec> l0 = DeskSection(kLeftMfd, kLeftDeskA0), l1 = DeskSection(kLeftMfd, kLeftDeskA1);
        const std::vector<Vec> r0 = DeskSection(kRightMfd, kRightDeskA0), r1 = DeskSection(kRightMfd, kRightDeskA1);
        DeskPart(desk, l0, l1);
        DeskPart(desk, l1, r0);
        DeskPart(desk, r0, r1);
        const Vec leftInside = Centroid(l0, l1), rightInside = Centroid(r0, r1);
        desk.polygonAwayFrom(l0, leftInside);
        desk.polygonAwayFrom(r1, rightInside);
    }
    const double side = korvane::kLabelPanelMetres;
    {
        GroupBuilder display(AddGroup(mesh, "MFD 0 display", kDisplay));
        PanelQuad(display, kLeftMfd, kLeftDisplayA0, 0.0, kLeftDisplayA0 + kMfdDisplaySide, kMfdDisplaySide);
    }
    {
        GroupBuilder display(AddGroup(mesh, "MFD 1 display", kDisplay));
        PanelQuad(display, kRightMfd, kRightDisplayA0, 0.0, kRightDisplayA0 + kMfdDisplaySide, kMfdDisplaySide);
    }
    {
        GroupBuilder panel(AddGroup(mesh, "MFD 0 buttons", kPanel, 1));
        PanelQuad(panel, kLeftMfd, 0.0, 0.0, side, side);
    }
    {
        GroupBuilder panel(AddGroup(mesh, "MFD 1 buttons", kPanel, 2));
        PanelQuad(panel, kRightMfd, 0.0, 0.0, side, side);
    }
    return mesh;
}

// --- Site.msh: a node of the tracking network --------------------------------------
// A dish antenna on a pedestal standing on its pad, the origin at the middle
// of the pad's foot; within the 12 m of the site class's Size. The same
// mesh stands for a relay satellite in orbit.
MeshFile Site()
{
    MeshFile mesh;
    mesh.materials = {Lit("Pad", 0.55, 0.55, 0.53), Lit("Pedestal", 0.78, 0.78, 0.8, 0.3),
                      Lit("Dish", 0.95, 0.95, 0.93, 0.5)};
    enum { kPad = 1, kPedestal, kDish };
    GroupBuilder(AddGroup(mesh, "Pad", kPad)).box({-4.0, 0.0, -4.0}, {4.0, 0.4, 4.0});
    {
        GroupBuilder pedestal(AddGroup(mesh, "Pedestal", kPedestal));
        pedestal.box({-0.7, 0.4, -0.7}, {0.7, 5.0, 0.7});
        pedestal.box({-1.2, 5.0, -1.2}, {1.2, 5.8, 1.2}, kBoxAllButBottom | kBoxBottom); // the mount
    }
    {
        // The bowl, 9 m across, looking up at 45 degrees to the north (+z),
        // with its feed on a short boom.
        GroupBuilder dish(AddGroup(mesh, "Dish", kDish));
        const Vec centre{0.0, 7.2, 0.0};
        const Vec facing = Normalised({0.0, 1.0, 1.0});
        const Vec across{1, 0, 0}, along = Cross(facing, across);
        std::vector<Vec> rim;
        for (int k = 0; k < 16; ++k) {
            double angle = 2.0 * 3.14159265358979323846 * k / 16;
            rim.push_back(centre + across * (4.5 * std::cos(angle)) + along * (4.5 * std::sin(angle)));
        }
        dish.polygonAwayFrom(rim, centre - facing); // its face
        dish.polygonAwayFrom(rim, centre + facing); // its back
        const Vec feed = centre + facing * 2.5;
        dish.box(feed - Vec{0.25, 0.25, 0.25}, feed + Vec{0.25, 0.25, 0.25}, kBoxAllButBottom | kBoxBottom);
    }
    return mesh;
}

Picture Black(int side)
{
    return Picture{side, side, std::vector<uint32_t>(static_cast<size_t>(side) * side, 0xFF000000u)};
}

} // namespace

std::vector<GeneratedMesh> RoomMeshes()
{
    std::vector<GeneratedMesh> meshes;
    meshes.push_back({MeshPath(korvane::kMainMeshName), Interior()});
    meshes.push_back({MeshPath(korvane::kBuildingMeshName), Exterior()});
    for (int i = 0; i < 3; ++i)
        meshes.push_back({MeshPath(korvane::kScreenMeshNames[i]), Screen(i)});
    meshes.push_back({MeshPath(korvane::kFlightDirMeshName), FlightDirector()});
    return meshes;
}

std::vector<GeneratedMesh> NetworkMeshes()
{
    return {{MeshPath("Korvane\\Site"), Site()}};
}

std::vector<GeneratedTexture> RoomTextures()
{
    std::vector<GeneratedTexture> textures;
    for (const char *screen : kScreenTexturePaths)
        textures.push_back({TexturePath(screen), true, Black(kScreenPixels)});
    textures.push_back({TexturePath("Korvane\\MfdLabelsLeft.dds"), true, Black(korvane::kLabelPanelPixels)});
    textures.push_back({TexturePath("Korvane\\MfdLabelsRight.dds"), true, Black(korvane::kLabelPanelPixels)});
    textures.push_back({TexturePath("Korvane\\facade.dds"), false, FacadeTexture()});
    textures.push_back({TexturePath("Korvane\\floor.dds"), false, FloorTexture()});
    textures.push_back({TexturePath("Korvane\\wall.dds"), false, WallTexture()});
    return textures;
}

} // namespace meshgen
