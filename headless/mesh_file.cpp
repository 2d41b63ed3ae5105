#include "headless/mesh_file.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <new>
#include <string_view>

namespace headless {

namespace {

class Damaged {
public:
    Damaged(size_t line, std::string why) : line_(line), why_(std::move(why)) {}
    std::string message() const { return "line " + std::to_string(line_) + ": " + why_; }

private:
    size_t line_;
    std::string why_;
};

// The blanks between words, as the simulator's scanf-style reading sees
// them: a carriage return inside a line separates words too.
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// The words of a line, up to a ';' that starts a comment.
std::vector<std::string_view> Words(std::string_view s)
{
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && IsSpace(s[i]))
            ++i;
        if (i >= s.size() || s[i] == ';')
            break;
        size_t start = i;
        while (i < s.size() && !IsSpace(s[i]))
            ++i;
        words.push_back(s.substr(start, i - start));
    }
    return words;
}

bool ParseDouble(std::string_view word, double *out)
{
    std::string text(word);
    char *end = nullptr;
    errno = 0;
    double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !std::isfinite(value))
        return false;
    *out = value;
    return true;
}

bool ParseInteger(std::string_view word, int base, long long *out)
{
    std::string text(word);
    char *end = nullptr;
    errno = 0;
    long long value = std::strtoll(text.c_str(), &end, base);
    if (end == text.c_str() || *end != '\0' || errno == ERANGE)
        return false;
    *out = value;
    return true;
}

// The file's lines, and the reader's place in them (line numbers from 1).
class Lines {
public:
    explicit Lines(const std::string &text)
    {
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            std::string_view line(text.data() + start, end - start);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            lines_.push_back(line);
            if (line.size() >= static_cast<size_t>(kMeshLineChars))
                throw Damaged(lines_.size(), "longer than 255 characters");
            start = end + 1;
        }
    }

    bool atEnd() const { return next_ >= lines_.size(); }
    size_t remaining() const { return lines_.size() - next_; }
    size_t number() const { return next_; } // of the line read last
    std::string_view take()
    {
        if (atEnd())
            throw Damaged(lines_.size(), "the file ends early");
        return Trim(lines_[next_++]);
    }
    size_t position() const { return next_; }
    void seek(size_t position) { next_ = position; }

private:
    std::vector<std::string_view> lines_;
    size_t next_ = 0;
};

// True if the line starts with the keyword (any case); *rest is what follows.
bool Keyword(std::string_view line, const char *keyword, std::string_view *rest = nullptr)
{
    size_t n = std::char_traits<char>::length(keyword);
    if (line.size() < n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (std::toupper(static_cast<unsigned char>(line[i])) != keyword[i])
            return false;
    if (rest)
        *rest = line.substr(n);
    return true;
}

uint32_t Count(const Lines &lines, std::string_view word, uint32_t limit, const char *what)
{
    long long value = 0;
    if (!ParseInteger(word, 10, &value) || value < 0)
        throw Damaged(lines.number(), std::string("bad ") + what);
    if (value > static_cast<long long>(limit))
        throw Damaged(lines.number(), std::string("too many ") + what);
    return static_cast<uint32_t>(value);
}

uint32_t CountAfter(const Lines &lines, std::string_view rest, uint32_t limit, const char *what)
{
    std::vector<std::string_view> words = Words(rest);
    if (words.empty())
        throw Damaged(lines.number(), std::string("no ") + what);
    return Count(lines, words[0], limit, what);
}

void NeedLines(const Lines &lines, size_t count)
{
    if (count > lines.remaining())
        throw Damaged(lines.number(), "a count larger than the rest of the file");
}

// Reads `needed` numbers, then up to `optional` more while they are numbers.
std::vector<double> Numbers(const Lines &lines, std::string_view line, size_t needed, size_t optional)
{
    std::vector<std::string_view> words = Words(line);
    std::vector<double> values;
    for (size_t i = 0; i < words.size() && i < needed + optional; ++i) {
        double value = 0.0;
        if (!ParseDouble(words[i], &value)) {
            if (i < needed)
                throw Damaged(lines.number(), "a number that cannot be read");
            break;
        }
        values.push_back(value);
    }
    if (values.size() < needed)
        throw Damaged(lines.number(), "too few numbers");
    return values;
}

void ComputeNormals(MeshGroup &group)
{
    for (MeshVertex &v : group.vertices)
        v.nx = v.ny = v.nz = 0.0;
    for (size_t t = 0; t + 2 < group.indices.size(); t += 3) {
        MeshVertex &a = group.vertices[group.indices[t]];
        MeshVertex &b = group.vertices[group.indices[t + 1]];
        MeshVertex &c = group.vertices[group.indices[t + 2]];
        double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
        double vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
        double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
        for (MeshVertex *p : {&a, &b, &c}) {
            p->nx += nx;
            p->ny += ny;
            p->nz += nz;
        }
    }
    for (MeshVertex &v : group.vertices) {
        double length = std::sqrt(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz);
        if (length > 0.0) {
            v.nx /= length;
            v.ny /= length;
            v.nz /= length;
        }
    }
}

MeshGroup ReadGroup(Lines &lines)
{
    MeshGroup group;
    uint32_t vertexCount = 0, triangleCount = 0;
    for (;;) {
        if (lines.atEnd())
            throw Damaged(lines.number(), "a group without its GEOM line");
        std::string_view line = lines.take(), rest;
        if (Keyword(line, "LABEL", &rest)) {
            group.label = std::string(Trim(rest));
        } else if (Keyword(line, "MATERIAL", &rest)) {
            group.material = CountAfter(lines, rest, UINT32_MAX, "material index");
        } else if (Keyword(line, "TEXTURE", &rest)) {
            group.texture = CountAfter(lines, rest, UINT32_MAX, "texture index");
        } else if (Keyword(line, "NONORMAL")) {
            group.noNormals = true;
        } else if (Keyword(line, "FLAG", &rest)) {
            std::vector<std::string_view> words = Words(rest);
            long long flags = 0;
            if (words.empty() || !ParseInteger(words[0], 16, &flags) || flags < 0 || flags > UINT32_MAX)
                throw Damaged(lines.number(), "bad flags");
            group.flags = static_cast<uint32_t>(flags);
        } else if (Keyword(line, "ZBIAS", &rest)) {
            std::vector<std::string_view> words = Words(rest);
            long long zbias = 0;
            if (words.empty() || !ParseInteger(words[0], 10, &zbias) || zbias < INT32_MIN || zbias > INT32_MAX)
                throw Damaged(lines.number(), "bad depth bias");
            group.zbias = static_cast<int>(zbias);
        } else if (Keyword(line, "TEXWRAP", &rest)) {
            for (char c : Trim(rest)) {
                if (c == 'U' || c == 'u')
                    group.texWrap |= 1u;
                else if (c == 'V' || c == 'v')
                    group.texWrap |= 2u;
            }
        } else if (Keyword(line, "GEOM", &rest)) {
            std::vector<std::string_view> words = Words(rest);
            if (words.size() < 2)
                throw Damaged(lines.number(), "a GEOM line without its two counts");
            vertexCount = Count(lines, words[0], kMaxGroupVertices, "vertices");
            triangleCount = Count(lines, words[1], kMaxGroupTriangles, "triangles");
            break;
        }
        // Other lines of a group's header are not the reader's business.
    }
    NeedLines(lines, static_cast<size_t>(vertexCount) + triangleCount);

    group.vertices.reserve(vertexCount);
    const size_t normals = group.noNormals ? 0 : 3;
    for (uint32_t i = 0; i < vertexCount; ++i) {
        std::vector<double> n = Numbers(lines, lines.take(), 3 + normals, 2);
        MeshVertex v{n[0], n[1], n[2], 0.0, 0.0, 0.0, 0.0, 0.0};
        if (normals) {
            v.nx = n[3];
            v.ny = n[4];
            v.nz = n[5];
        }
        if (n.size() >= 3 + normals + 2) {
            v.u = n[3 + normals];
            v.v = n[4 + normals];
        }
        group.vertices.push_back(v);
    }
    group.indices.reserve(static_cast<size_t>(triangleCount) * 3);
    for (uint32_t i = 0; i < triangleCount; ++i) {
        std::vector<std::string_view> words = Words(lines.take());
        if (words.size() < 3)
            throw Damaged(lines.number(), "a triangle without three indices");
        for (size_t k = 0; k < 3; ++k) {
            long long index = 0;
            if (!ParseInteger(words[k], 10, &index))
                throw Damaged(lines.number(), "a triangle index that cannot be read");
            if (index < 0 || index >= static_cast<long long>(vertexCount))
                throw Damaged(lines.number(), "a triangle index outside the group's vertices");
            group.indices.push_back(static_cast<uint32_t>(index));
        }
    }
    if (group.noNormals)
        ComputeNormals(group);
    return group;
}

// Moves to the line after the first one (from the current place) that
// starts with the keyword; false, and the place unchanged, if none does.
bool FindSection(Lines &lines, const char *keyword, std::string_view *rest)
{
    size_t start = lines.position();
    while (!lines.atEnd())
        if (Keyword(lines.take(), keyword, rest))
            return true;
    lines.seek(start);
    return false;
}

MeshColour Colour(const Lines &lines, std::string_view line, double *power)
{
    std::vector<double> n = Numbers(lines, line, 4, power ? 1 : 0);
    if (power)
        *power = n.size() > 4 ? n[4] : 0.0;
    return MeshColour{n[0], n[1], n[2], n[3]};
}

void ReadMaterials(Lines &lines, MeshFile &mesh)
{
    std::string_view rest;
    if (!FindSection(lines, "MATERIALS", &rest))
        return;
    uint32_t count = CountAfter(lines, rest, kMaxMeshMaterials, "materials");
    NeedLines(lines, static_cast<size_t>(count) * 6);
    mesh.materials.resize(count);
    for (MeshMaterial &m : mesh.materials)
        m.name = std::string(lines.take());
    for (MeshMaterial &m : mesh.materials) {
        std::string_view line;
        do
            line = lines.take();
        while (!Keyword(line, "MATERIAL"));
        m.diffuse = Colour(lines, lines.take(), nullptr);
        m.ambient = Colour(lines, lines.take(), nullptr);
        m.specular = Colour(lines, lines.take(), &m.specularPower);
        m.emissive = Colour(lines, lines.take(), nullptr);
    }
}

void ReadTextures(Lines &lines, MeshFile &mesh)
{
    std::string_view rest;
    if (!FindSection(lines, "TEXTURES", &rest))
        return;
    uint32_t count = CountAfter(lines, rest, kMaxMeshTextures, "textures");
    NeedLines(lines, count);
    mesh.textures.resize(count);
    for (MeshTexture &t : mesh.textures) {
        std::vector<std::string_view> words = Words(lines.take());
        if (words.empty())
            throw Damaged(lines.number(), "a texture line without a path");
        t.path = std::string(words[0]);
        t.dynamic = words.size() > 1 && (words[1] == "D" || words[1] == "d");
    }
}

MeshFile Read(const std::string &text)
{
    Lines lines(text);
    MeshFile mesh;
    if (lines.atEnd() || !Keyword(lines.take(), "MSHX1"))
        throw Damaged(1, "not a mesh file (no MSHX1 line)");
    std::string_view rest;
    if (!FindSection(lines, "GROUPS", &rest))
        throw Damaged(lines.number(), "no GROUPS line");
    uint32_t groupCount = CountAfter(lines, rest, kMaxMeshGroups, "groups");
    NeedLines(lines, groupCount); // every group has at least its GEOM line
    for (uint32_t i = 0; i < groupCount; ++i)
        mesh.groups.push_back(ReadGroup(lines));
    size_t afterGroups = lines.position();
    ReadMaterials(lines, mesh);
    if (mesh.materials.empty())
        lines.seek(afterGroups);
    ReadTextures(lines, mesh);
    for (MeshGroup &g : mesh.groups) {
        if (g.material > mesh.materials.size())
            g.material = 0;
        if (g.texture > mesh.textures.size())
            g.texture = 0;
    }
    return mesh;
}

// A number with up to six decimals and no trailing zeros ("-0" as "0");
// one of a billion or more in exponent form, so that a line of them stays
// within the reader's 255 characters.
std::string Number(double value)
{
    char text[64];
    if (std::fabs(value) >= 1e9) {
        std::snprintf(text, sizeof(text), "%.17g", value);
        return text;
    }
    std::snprintf(text, sizeof(text), "%.6f", value);
    std::string s(text);
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        s.pop_back();
    if (s == "-0")
        s = "0";
    return s;
}

} // namespace

bool ReadMeshText(const std::string &text, MeshFile *mesh, std::string *error)
{
    *mesh = MeshFile{};
    try {
        *mesh = Read(text);
        return true;
    } catch (const Damaged &damage) {
        if (error)
            *error = damage.message();
    } catch (const std::bad_alloc &) {
        if (error)
            *error = "out of memory";
    }
    return false;
}

bool ReadMeshFile(const std::string &path, MeshFile *mesh, std::string *error)
{
    *mesh = MeshFile{};
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error)
            *error = "cannot open " + path;
        return false;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        if (error)
            *error = "cannot read " + path;
        return false;
    }
    return ReadMeshText(text, mesh, error);
}

std::string WriteMeshText(const MeshFile &mesh)
{
    std::string out = "MSHX1\nGROUPS " + std::to_string(mesh.groups.size()) + "\n";
    for (const MeshGroup &g : mesh.groups) {
        // A label read from "LABEL<text>" may be as long as the line allows:
        // then it goes back without the blank, which the reader trims anyway.
        if (!g.label.empty())
            out += (g.label.size() + 6 < kMeshLineChars ? "LABEL " : "LABEL") + g.label + "\n";
        out += "MATERIAL " + std::to_string(g.material) + "\n";
        out += "TEXTURE " + std::to_string(g.texture) + "\n";
        if (g.noNormals)
            out += "NONORMAL\n";
        if (g.flags) {
            char flags[16];
            std::snprintf(flags, sizeof(flags), "%X", static_cast<unsigned>(g.flags));
            out += std::string("FLAG ") + flags + "\n";
        }
        if (g.zbias)
            out += "ZBIAS " + std::to_string(g.zbias) + "\n";
        if (g.texWrap)
            out += std::string("TEXWRAP ") + ((g.texWrap & 1u) ? "U" : "") + ((g.texWrap & 2u) ? "V" : "") + "\n";
        out += "GEOM " + std::to_string(g.vertices.size()) + " " + std::to_string(g.indices.size() / 3) + "\n";
        for (const MeshVertex &v : g.vertices) {
            out += Number(v.x) + " " + Number(v.y) + " " + Number(v.z);
            if (!g.noNormals)
                out += " " + Number(v.nx) + " " + Number(v.ny) + " " + Number(v.nz);
            out += " " + Number(v.u) + " " + Number(v.v) + "\n";
        }
        for (size_t t = 0; t + 2 < g.indices.size(); t += 3)
            out += std::to_string(g.indices[t]) + " " + std::to_string(g.indices[t + 1]) + " " +
                   std::to_string(g.indices[t + 2]) + "\n";
    }
    out += "MATERIALS " + std::to_string(mesh.materials.size()) + "\n";
    for (const MeshMaterial &m : mesh.materials)
        out += m.name + "\n";
    auto colour = [](const MeshColour &c) {
        return Number(c.r) + " " + Number(c.g) + " " + Number(c.b) + " " + Number(c.a);
    };
    for (const MeshMaterial &m : mesh.materials) {
        // The name on a material's own line only helps a reader of the file
        // (the list above holds the names); a long one would make the line
        // too long to be read back.
        out += m.name.size() + 9 < kMeshLineChars ? "MATERIAL " + m.name + "\n" : std::string("MATERIAL\n");
        out += colour(m.diffuse) + "\n" + colour(m.ambient) + "\n";
        out += colour(m.specular) + " " + Number(m.specularPower) + "\n" + colour(m.emissive) + "\n";
    }
    out += "TEXTURES " + std::to_string(mesh.textures.size()) + "\n";
    for (const MeshTexture &t : mesh.textures)
        out += t.path + (t.dynamic ? " D" : "") + "\n";
    return out;
}

} // namespace headless
