#include "headless/renderer.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include <epoxy/egl.h>
#include <epoxy/gl.h>

#include "headless/surfaces.h"
#include "headless/vecmath.h"

namespace headless {

namespace {

const char kVertexShader[] = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 uv;
uniform mat4 viewProjection;
uniform vec4 diffuse;
uniform vec4 ambient;
uniform vec4 specular;
uniform vec4 emissive;
uniform float specularPower;
uniform vec3 towardsLight;
uniform vec3 lightColour;
uniform vec3 ambientLight;
uniform vec3 eye;
out vec3 vLit;
out vec3 vHighlight;
out vec2 vUv;
void main()
{
    float normalLength = length(normal);
    vec3 n = normalLength > 1e-6 ? normal / normalLength : towardsLight;
    float facing = max(dot(n, towardsLight), 0.0);
    vLit = min(emissive.rgb + ambientLight * ambient.rgb + lightColour * diffuse.rgb * facing, vec3(1.0));
    vHighlight = vec3(0.0);
    if (specularPower > 0.0 && facing > 0.0) {
        vec3 h = normalize(towardsLight + normalize(eye - position));
        vHighlight = lightColour * specular.rgb * pow(max(dot(n, h), 0.0), specularPower);
    }
    vUv = uv;
    gl_Position = viewProjection * vec4(position, 1.0);
}
)";

const char kFragmentShader[] = R"(#version 330 core
in vec3 vLit;
in vec3 vHighlight;
in vec2 vUv;
uniform vec4 diffuse;
uniform bool textured;
uniform sampler2D tex;
out vec4 colour;
void main()
{
    vec4 t = textured ? texture(tex, vUv) : vec4(1.0);
    colour = vec4(t.rgb * vLit + vHighlight, t.a * diffuse.a);
}
)";

// One vertex as the shader reads it.
struct GlVertex {
    float position[3];
    float normal[3];
    float uv[2];
};

// One glDrawElements call.
struct DrawItem {
    size_t firstIndex;
    size_t indexCount;
    RenderMaterial material;
    int texture; // index into the render's textures, -1 for none
    bool blended;
};

struct TextureObject {
    GLuint name = 0;
    int width = 0, height = 0; // the size its pixels were given at
    bool used = false;         // drawn with in the current render
    // A changing texture's pixels as last given: where they were read from
    // and their version (0: none known).
    const uint32_t *pixels = nullptr;
    uint64_t version = 0;
};

// The process's one context and the objects kept in it between renders.
// Never destroyed: the context lives as long as the process.
struct GlState {
    std::mutex mutex;
    bool tried = false;
    bool ok = false;
    std::string error;

    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
    GLint maxTextureSize = 0;
    GLint maxRenderbufferSize = 0;
    GLint samples = 1;

    GLuint program = 0;
    GLint uViewProjection = -1, uDiffuse = -1, uAmbient = -1, uSpecular = -1, uEmissive = -1;
    GLint uSpecularPower = -1, uTowardsLight = -1, uLightColour = -1, uAmbientLight = -1, uEye = -1;
    GLint uTextured = -1, uTex = -1;
    GLuint vertexArray = 0, vertexBuffer = 0, indexBuffer = 0;

    int framebufferWidth = 0, framebufferHeight = 0;
    GLuint multisampleFramebuffer = 0, multisampleColour = 0, multisampleDepth = 0;
    GLuint resolveFramebuffer = 0, resolveColour = 0;

    // Texture objects of the textures that change, by render texture
    // index, and of the unchanging ones, by their id.
    std::vector<TextureObject> dynamicTextures;
    std::map<uint64_t, TextureObject> staticTextures;
    std::vector<unsigned char> readBuffer; // the last picture as read, bottom row first
    std::vector<uint32_t> mipmapBuffers[2]; // mipmap levels being made, alternately
};

GlState &State()
{
    static GlState *state = new GlState;
    return *state;
}

bool Fail(GlState &s, const std::string &why)
{
    s.error = why;
    return false;
}

bool HasWord(const char *list, const char *word)
{
    if (!list)
        return false;
    size_t n = std::strlen(word);
    for (const char *p = std::strstr(list, word); p; p = std::strstr(p + 1, word))
        if ((p == list || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0'))
            return true;
    return false;
}

GLuint CompileShader(GLenum kind, const char *source, std::string *log)
{
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok == GL_TRUE)
        return shader;
    char text[1024] = "";
    glGetShaderInfoLog(shader, sizeof(text), nullptr, text);
    *log = text;
    glDeleteShader(shader);
    return 0;
}

bool MakeProgram(GlState &s)
{
    std::string log;
    GLuint vs = CompileShader(GL_VERTEX_SHADER, kVertexShader, &log);
    GLuint fs = vs ? CompileShader(GL_FRAGMENT_SHADER, kFragmentShader, &log) : 0;
    if (!vs || !fs)
        return Fail(s, "the renderer's shaders do not compile: " + log);
    s.program = glCreateProgram();
    glAttachShader(s.program, vs);
    glAttachShader(s.program, fs);
    glLinkProgram(s.program);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = GL_FALSE;
    glGetProgramiv(s.program, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE)
        return Fail(s, "the renderer's shaders do not link");
    s.uViewProjection = glGetUniformLocation(s.program, "viewProjection");
    s.uDiffuse = glGetUniformLocation(s.program, "diffuse");
    s.uAmbient = glGetUniformLocation(s.program, "ambient");
    s.uSpecular = glGetUniformLocation(s.program, "specular");
    s.uEmissive = glGetUniformLocation(s.program, "emissive");
    s.uSpecularPower = glGetUniformLocation(s.program, "specularPower");
    s.uTowardsLight = glGetUniformLocation(s.program, "towardsLight");
    s.uLightColour = glGetUniformLocation(s.program, "lightColour");
    s.uAmbientLight = glGetUniformLocation(s.program, "ambientLight");
    s.uEye = glGetUniformLocation(s.program, "eye");
    s.uTextured = glGetUniformLocation(s.program, "textured");
    s.uTex = glGetUniformLocation(s.program, "tex");

    glGenVertexArrays(1, &s.vertexArray);
    glBindVertexArray(s.vertexArray);
    glGenBuffers(1, &s.vertexBuffer);
    glGenBuffers(1, &s.indexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, s.vertexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, s.indexBuffer);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(GlVertex),
                          reinterpret_cast<const void *>(offsetof(GlVertex, position)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, sizeof(GlVertex),
                          reinterpret_cast<const void *>(offsetof(GlVertex, normal)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(GlVertex), reinterpret_cast<const void *>(offsetof(GlVertex, uv)));
    glBindVertexArray(0);
    return true;
}

// Makes the display, the context and the program; the reason of a failure
// in s.error.
bool MakeContext(GlState &s)
{
    if (!epoxy_has_egl())
        return Fail(s, "3D rendering needs the EGL library libEGL.so.1 (Debian: libegl1, libegl-mesa0)");
    const char *clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!HasWord(clientExtensions, "EGL_EXT_platform_base") ||
        !HasWord(clientExtensions, "EGL_MESA_platform_surfaceless"))
        return Fail(s, "EGL has no surfaceless platform (EGL_MESA_platform_surfaceless): 3D rendering needs "
                       "Mesa's EGL (Debian: libegl-mesa0)");
    // Mesa's software rasteriser even where a GPU is present, so that the
    // pictures are the same on every machine. A value the user set stays.
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    s.display = eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    EGLint major = 0, minor = 0;
    if (s.display == EGL_NO_DISPLAY || !eglInitialize(s.display, &major, &minor))
        return Fail(s, "EGL cannot be initialised on the surfaceless platform: 3D rendering needs Mesa's "
                       "software rasteriser (Debian: libgl1-mesa-dri)");
    const char *displayExtensions = eglQueryString(s.display, EGL_EXTENSIONS);
    if (!HasWord(displayExtensions, "EGL_KHR_surfaceless_context"))
        return Fail(s, "EGL cannot make a context current without a surface (EGL_KHR_surfaceless_context)");
    if (!eglBindAPI(EGL_OPENGL_API))
        return Fail(s, "EGL offers no desktop OpenGL");
    // The context draws only into framebuffers of its own, so it needs no
    // configuration where EGL can do without; otherwise any that renders
    // desktop OpenGL.
    EGLConfig config = EGL_NO_CONFIG_KHR;
    if (!HasWord(displayExtensions, "EGL_KHR_no_config_context")) {
        const EGLint configAttributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
        EGLint configs = 0;
        if (!eglChooseConfig(s.display, configAttributes, &config, 1, &configs) || configs < 1)
            return Fail(s, "EGL has no configuration for desktop OpenGL");
    }
    const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                                        3,
                                        EGL_CONTEXT_MINOR_VERSION,
                                        3,
                                        EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                        EGL_NONE};
    s.context = eglCreateContext(s.display, config, EGL_NO_CONTEXT, contextAttributes);
    if (s.context == EGL_NO_CONTEXT)
        return Fail(s, "EGL cannot make an OpenGL 3.3 core context");
    if (!eglMakeCurrent(s.display, EGL_NO_SURFACE, EGL_NO_SURFACE, s.context))
        return Fail(s, "the OpenGL context cannot be made current");
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &s.maxTextureSize);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &s.maxRenderbufferSize);
    GLint maxSamples = 1;
    glGetIntegerv(GL_MAX_SAMPLES, &maxSamples);
    s.samples = std::max(1, std::min(kRenderSamples, static_cast<int>(maxSamples)));
    bool made = MakeProgram(s);
    eglMakeCurrent(s.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    return made;
}

bool EnsureContext(GlState &s)
{
    if (!s.tried) {
        s.tried = true;
        s.ok = MakeContext(s);
    }
    return s.ok;
}

void DeleteFramebuffers(GlState &s)
{
    glDeleteFramebuffers(1, &s.multisampleFramebuffer);
    glDeleteFramebuffers(1, &s.resolveFramebuffer);
    glDeleteRenderbuffers(1, &s.multisampleColour);
    glDeleteRenderbuffers(1, &s.multisampleDepth);
    glDeleteRenderbuffers(1, &s.resolveColour);
    s.multisampleFramebuffer = s.resolveFramebuffer = 0;
    s.multisampleColour = s.multisampleDepth = s.resolveColour = 0;
    s.framebufferWidth = s.framebufferHeight = 0;
}

bool EnsureFramebuffers(GlState &s, int width, int height)
{
    if (s.framebufferWidth == width && s.framebufferHeight == height)
        return true;
    DeleteFramebuffers(s);
    glGenRenderbuffers(1, &s.multisampleColour);
    glBindRenderbuffer(GL_RENDERBUFFER, s.multisampleColour);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, s.samples, GL_RGBA8, width, height);
    glGenRenderbuffers(1, &s.multisampleDepth);
    glBindRenderbuffer(GL_RENDERBUFFER, s.multisampleDepth);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, s.samples, GL_DEPTH_COMPONENT24, width, height);
    glGenFramebuffers(1, &s.multisampleFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, s.multisampleFramebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, s.multisampleColour);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, s.multisampleDepth);
    bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;

    glGenRenderbuffers(1, &s.resolveColour);
    glBindRenderbuffer(GL_RENDERBUFFER, s.resolveColour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glGenFramebuffers(1, &s.resolveFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, s.resolveFramebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, s.resolveColour);
    complete = complete && glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (!complete) {
        DeleteFramebuffers(s);
        return false;
    }
    s.framebufferWidth = width;
    s.framebufferHeight = height;
    return true;
}

bool Usable(const GlState &s, const std::vector<RenderTexture> &textures, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= textures.size())
        return false;
    const RenderTexture &t = textures[index];
    return t.pixels && t.width >= 1 && t.height >= 1 && t.width <= s.maxTextureSize && t.height <= s.maxTextureSize;
}

// The next mipmap level of a w x h level of 0xAARRGGBB words: each pixel
// the mean of a 2 x 2 block, channel by channel, rounded (an odd last row
// or column is left out, as the level's size is rounded down).
void HalveLevel(const uint32_t *in, int w, int h, std::vector<uint32_t> &out)
{
    const int ow = std::max(1, w / 2), oh = std::max(1, h / 2);
    out.resize(static_cast<size_t>(ow) * oh);
    for (int y = 0; y < oh; ++y) {
        const uint32_t *row0 = in + static_cast<size_t>(std::min(2 * y, h - 1)) * w;
        const uint32_t *row1 = in + static_cast<size_t>(std::min(2 * y + 1, h - 1)) * w;
        uint32_t *o = out.data() + static_cast<size_t>(y) * ow;
        for (int x = 0; x < ow; ++x) {
            const int x0 = std::min(2 * x, w - 1), x1 = std::min(2 * x + 1, w - 1);
            const uint32_t a = row0[x0], b = row0[x1], c = row1[x0], d = row1[x1];
            // Two channels at a time, each sum within its 16 bits.
            const uint32_t lo = (a & 0x00FF00FFu) + (b & 0x00FF00FFu) + (c & 0x00FF00FFu) + (d & 0x00FF00FFu) +
                                0x00020002u;
            const uint32_t hi = ((a >> 8) & 0x00FF00FFu) + ((b >> 8) & 0x00FF00FFu) + ((c >> 8) & 0x00FF00FFu) +
                                ((d >> 8) & 0x00FF00FFu) + 0x00020002u;
            o[x] = ((lo >> 2) & 0x00FF00FFu) | (((hi >> 2) & 0x00FF00FFu) << 8);
        }
    }
}

// Gives t's pixels to the texture object, with their mipmaps (made here:
// the rasteriser would make them level by level, each a draw of its own).
void Upload(GlState &s, const RenderTexture &t, TextureObject &object)
{
    if (!object.name)
        glGenTextures(1, &object.name);
    glBindTexture(GL_TEXTURE_2D, object.name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    const bool resized = object.width != t.width || object.height != t.height;
    if (resized) {
        object.width = t.width;
        object.height = t.height;
        // Bilinear on the nearest mipmap level: text on a screen seen from
        // across the room stays readable, and the rasteriser samples one
        // level, not two (a third of the picture's time on this scene).
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    }
    const uint32_t *level = t.pixels;
    int w = t.width, h = t.height;
    for (int n = 0;; ++n) {
        // 0xAARRGGBB words, whatever the byte order.
        if (resized)
            glTexImage2D(GL_TEXTURE_2D, n, GL_RGBA8, w, h, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, level);
        else
            glTexSubImage2D(GL_TEXTURE_2D, n, 0, 0, w, h, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, level);
        if (w == 1 && h == 1)
            break;
        std::vector<uint32_t> &next = s.mipmapBuffers[n % 2];
        HalveLevel(level, w, h, next);
        level = next.data();
        w = std::max(1, w / 2);
        h = std::max(1, h / 2);
    }
}

// The texture objects holding the render's textures, by index (0 for an
// unusable texture or one no group uses): the changing ones uploaded
// afresh, the unchanging ones only if not held yet. Unchanging textures
// that this render does not use are let go.
std::vector<GLuint> PrepareTextures(GlState &s, const std::vector<RenderTexture> &textures,
                                    const std::vector<DrawItem> &items)
{
    std::vector<GLuint> names(textures.size(), 0);
    for (auto &entry : s.staticTextures)
        entry.second.used = false;
    for (const DrawItem &item : items) {
        if (!Usable(s, textures, item.texture) || names[item.texture])
            continue;
        const RenderTexture &t = textures[item.texture];
        TextureObject *object = nullptr;
        if (t.staticId != 0) {
            object = &s.staticTextures[t.staticId];
            if (object->width != t.width || object->height != t.height)
                Upload(s, t, *object);
        } else {
            if (s.dynamicTextures.size() <= static_cast<size_t>(item.texture))
                s.dynamicTextures.resize(item.texture + 1);
            object = &s.dynamicTextures[item.texture];
            if (t.version == 0 || t.version != object->version || t.pixels != object->pixels ||
                t.width != object->width || t.height != object->height) {
                Upload(s, t, *object);
                object->pixels = t.pixels;
                object->version = t.version;
            }
        }
        object->used = true;
        names[item.texture] = object->name;
    }
    for (auto it = s.staticTextures.begin(); it != s.staticTextures.end();) {
        if (it->second.used) {
            ++it;
        } else {
            glDeleteTextures(1, &it->second.name);
            it = s.staticTextures.erase(it);
        }
    }
    return names;
}

void AddVertex(std::vector<GlVertex> &out, const RenderVertex &v, const VECTOR3 &offset)
{
    out.push_back(GlVertex{{static_cast<float>(v.x + offset.x), static_cast<float>(v.y + offset.y),
                            static_cast<float>(v.z + offset.z)},
                           {static_cast<float>(v.nx), static_cast<float>(v.ny), static_cast<float>(v.nz)},
                           {static_cast<float>(v.u), static_cast<float>(v.v)}});
}

// Appends a group's vertices and whole, in-range triangles; a draw item for
// it if any triangle is left.
void AddGroup(const RenderGroup &g, const VECTOR3 &offset, std::vector<GlVertex> &vertices,
              std::vector<uint32_t> &indices, std::vector<DrawItem> &items)
{
    const size_t base = vertices.size();
    const size_t first = indices.size();
    const size_t count = g.vertices.size();
    for (size_t i = 0; i + 3 <= g.indices.size(); i += 3) {
        const uint32_t *tri = &g.indices[i];
        if (tri[0] >= count || tri[1] >= count || tri[2] >= count)
            continue;
        for (int k = 0; k < 3; ++k)
            indices.push_back(static_cast<uint32_t>(base + tri[k]));
    }
    if (indices.size() == first)
        return;
    for (const RenderVertex &v : g.vertices)
        AddVertex(vertices, v, offset);
    items.push_back(DrawItem{first, indices.size() - first, g.material, g.texture, g.material.diffuse.a < 1.0});
}

// The ground as one group: a square about the eye out to the far plane.
RenderGroup GroundGroup(const RenderView &view)
{
    RenderGroup g;
    const double reach = view.camera.farMetres;
    const double cx = view.camera.position.x, cz = view.camera.position.z, y = view.ground.y;
    g.vertices = {{cx - reach, y, cz - reach, 0, 1, 0, 0, 0},
                  {cx - reach, y, cz + reach, 0, 1, 0, 0, 0},
                  {cx + reach, y, cz + reach, 0, 1, 0, 0, 0},
                  {cx + reach, y, cz - reach, 0, 1, 0, 0, 0}};
    g.indices = {0, 1, 2, 0, 2, 3}; // clockwise seen from above
    g.material.diffuse = view.ground.colour;
    g.material.ambient = view.ground.colour;
    return g;
}

void SetColour(GLint location, const RenderColour &c)
{
    glUniform4f(location, static_cast<float>(c.r), static_cast<float>(c.g), static_cast<float>(c.b),
                static_cast<float>(c.a));
}

void SetVector(GLint location, const VECTOR3 &v)
{
    glUniform3f(location, static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z));
}

void Draw(GlState &s, const RenderView &view, const std::vector<DrawItem> &items,
          const std::vector<GLuint> &textureNames, int width, int height)
{
    glBindFramebuffer(GL_FRAMEBUFFER, s.multisampleFramebuffer);
    glViewport(0, 0, width, height);
    glClearColor(static_cast<float>(view.background.r), static_cast<float>(view.background.g),
                 static_cast<float>(view.background.b), 1.0f);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CW);
    glCullFace(GL_BACK);
    glEnable(GL_MULTISAMPLE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    glUseProgram(s.program);
    double m[16];
    view.camera.ViewProjection(width, height, m);
    float mf[16];
    for (int i = 0; i < 16; ++i)
        mf[i] = static_cast<float>(m[i]);
    glUniformMatrix4fv(s.uViewProjection, 1, GL_FALSE, mf);
    SetVector(s.uTowardsLight, unit(view.light.towardsLight));
    glUniform3f(s.uLightColour, static_cast<float>(view.light.colour.r), static_cast<float>(view.light.colour.g),
                static_cast<float>(view.light.colour.b));
    glUniform3f(s.uAmbientLight, static_cast<float>(view.light.ambient.r), static_cast<float>(view.light.ambient.g),
                static_cast<float>(view.light.ambient.b));
    SetVector(s.uEye, view.camera.position);
    glUniform1i(s.uTex, 0);
    glActiveTexture(GL_TEXTURE0);
    glBindVertexArray(s.vertexArray);

    // Opaque groups first, then the blended ones over them, in their order.
    for (bool blendedPass : {false, true}) {
        // Blending reads every sample back: only where it is wanted.
        if (blendedPass)
            glEnable(GL_BLEND);
        else
            glDisable(GL_BLEND);
        glDepthMask(blendedPass ? GL_FALSE : GL_TRUE);
        for (const DrawItem &item : items) {
            if (item.blended != blendedPass)
                continue;
            SetColour(s.uDiffuse, item.material.diffuse);
            SetColour(s.uAmbient, item.material.ambient);
            SetColour(s.uSpecular, item.material.specular);
            SetColour(s.uEmissive, item.material.emissive);
            glUniform1f(s.uSpecularPower, static_cast<float>(item.material.specularPower));
            GLuint texture = item.texture >= 0 && static_cast<size_t>(item.texture) < textureNames.size()
                                 ? textureNames[item.texture]
                                 : 0;
            glUniform1i(s.uTextured, texture ? 1 : 0);
            glBindTexture(GL_TEXTURE_2D, texture);
            glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(item.indexCount), GL_UNSIGNED_INT,
                           reinterpret_cast<const void *>(item.firstIndex * sizeof(uint32_t)));
        }
    }
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
    glBindVertexArray(0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

// Resolves the samples and copies the picture into image, top row first.
// The picture is read in the renderbuffer's own byte order (R, G, B, A),
// which the rasteriser copies without converting, and turned into the
// surface's words here.
void ReadPicture(GlState &s, Surface &image)
{
    const int width = image.width(), height = image.height();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, s.multisampleFramebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, s.resolveFramebuffer);
    glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, s.resolveFramebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    s.readBuffer.resize(rowBytes * height);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, s.readBuffer.data());
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    // OpenGL's rows run from the bottom.
    for (int row = 0; row < height; ++row) {
        const unsigned char *in = s.readBuffer.data() + rowBytes * (height - 1 - row);
        uint32_t *out = image.data() + static_cast<size_t>(row) * width;
        for (int x = 0; x < width; ++x, in += 4)
            out[x] = 0xFF000000u | (uint32_t{in[0]} << 16) | (uint32_t{in[1]} << 8) | uint32_t{in[2]};
    }
}

} // namespace

uint64_t NewStaticTextureId()
{
    static std::atomic<uint64_t> last{0};
    return ++last;
}

bool RendererAvailable(std::string *error)
{
    GlState &s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (EnsureContext(s))
        return true;
    if (error)
        *error = s.error;
    return false;
}

bool Render(const RenderView &view, const std::vector<RenderMesh> &meshes, const std::vector<RenderTexture> &textures,
            Surface &image, std::string *error)
{
    GlState &s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!EnsureContext(s)) {
        if (error)
            *error = s.error;
        return false;
    }
    const int width = image.width(), height = image.height();
    if (width > s.maxRenderbufferSize || height > s.maxRenderbufferSize) {
        if (error)
            *error = "a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                     " pixels is larger than the rasteriser draws (" + std::to_string(s.maxRenderbufferSize) +
                     " pixels a side)";
        return false;
    }

    std::vector<GlVertex> vertices;
    std::vector<uint32_t> indices;
    std::vector<DrawItem> items;
    for (const RenderMesh &mesh : meshes)
        for (const RenderGroup &g : mesh.groups)
            AddGroup(g, mesh.offset, vertices, indices, items);
    if (view.ground.shown)
        AddGroup(GroundGroup(view), _V(0, 0, 0), vertices, indices, items);

    if (!eglMakeCurrent(s.display, EGL_NO_SURFACE, EGL_NO_SURFACE, s.context)) {
        if (error)
            *error = "the OpenGL context cannot be made current";
        return false;
    }
    while (glGetError() != GL_NO_ERROR) {
    }
    bool ok = EnsureFramebuffers(s, width, height);
    if (ok) {
        std::vector<GLuint> textureNames = PrepareTextures(s, textures, items);
        // The index buffer is bound in the vertex array object.
        glBindVertexArray(s.vertexArray);
        glBindBuffer(GL_ARRAY_BUFFER, s.vertexBuffer);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(GlVertex)), vertices.data(),
                     GL_STREAM_DRAW);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(uint32_t)),
                     indices.data(), GL_STREAM_DRAW);
        glBindVertexArray(0);
        Draw(s, view, items, textureNames, width, height);
        ok = glGetError() == GL_NO_ERROR;
    }
    if (ok) {
        ReadPicture(s, image);
        ok = glGetError() == GL_NO_ERROR;
    }
    eglMakeCurrent(s.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (!ok && error)
        *error = "OpenGL failed to draw a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                 " pixels (out of memory?)";
    return ok;
}

} // namespace headless
