#include "platform/glide/opengl_glide.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

namespace zandrel::glide {

// The OpenGL entry points, looked up through SDL once the context exists.
#define ZANDREL_GL_FUNCTIONS(X)                                  \
  X(decltype(&::glGetIntegerv), glGetIntegerv)                   \
  X(decltype(&::glViewport), glViewport)                         \
  X(decltype(&::glClear), glClear)                               \
  X(decltype(&::glClearColor), glClearColor)                     \
  X(decltype(&::glClearDepth), glClearDepth)                     \
  X(decltype(&::glColorMask), glColorMask)                       \
  X(decltype(&::glDepthMask), glDepthMask)                       \
  X(decltype(&::glDepthFunc), glDepthFunc)                       \
  X(decltype(&::glEnable), glEnable)                             \
  X(decltype(&::glDisable), glDisable)                           \
  X(PFNGLBLENDFUNCSEPARATEPROC, glBlendFuncSeparate)             \
  X(decltype(&::glGenTextures), glGenTextures)                   \
  X(decltype(&::glDeleteTextures), glDeleteTextures)             \
  X(decltype(&::glBindTexture), glBindTexture)                   \
  X(decltype(&::glTexParameteri), glTexParameteri)               \
  X(decltype(&::glTexImage2D), glTexImage2D)                     \
  X(decltype(&::glTexSubImage2D), glTexSubImage2D)               \
  X(PFNGLTEXIMAGE3DPROC, glTexImage3D)                           \
  X(PFNGLTEXSUBIMAGE3DPROC, glTexSubImage3D)                     \
  X(decltype(&::glPixelStorei), glPixelStorei)                   \
  X(decltype(&::glReadPixels), glReadPixels)                     \
  X(decltype(&::glDrawArrays), glDrawArrays)                     \
  X(PFNGLACTIVETEXTUREPROC, glActiveTexture)                     \
  X(PFNGLGENSAMPLERSPROC, glGenSamplers)                         \
  X(PFNGLDELETESAMPLERSPROC, glDeleteSamplers)                   \
  X(PFNGLBINDSAMPLERPROC, glBindSampler)                         \
  X(PFNGLSAMPLERPARAMETERIPROC, glSamplerParameteri)             \
  X(PFNGLGENFRAMEBUFFERSPROC, glGenFramebuffers)                 \
  X(PFNGLDELETEFRAMEBUFFERSPROC, glDeleteFramebuffers)           \
  X(PFNGLBINDFRAMEBUFFERPROC, glBindFramebuffer)                 \
  X(PFNGLFRAMEBUFFERRENDERBUFFERPROC, glFramebufferRenderbuffer) \
  X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, glCheckFramebufferStatus)   \
  X(PFNGLGENRENDERBUFFERSPROC, glGenRenderbuffers)               \
  X(PFNGLDELETERENDERBUFFERSPROC, glDeleteRenderbuffers)         \
  X(PFNGLBINDRENDERBUFFERPROC, glBindRenderbuffer)               \
  X(PFNGLRENDERBUFFERSTORAGEPROC, glRenderbufferStorage)         \
  X(PFNGLBLITFRAMEBUFFERPROC, glBlitFramebuffer)                 \
  X(PFNGLGENVERTEXARRAYSPROC, glGenVertexArrays)                 \
  X(PFNGLDELETEVERTEXARRAYSPROC, glDeleteVertexArrays)           \
  X(PFNGLBINDVERTEXARRAYPROC, glBindVertexArray)                 \
  X(PFNGLGENBUFFERSPROC, glGenBuffers)                           \
  X(PFNGLDELETEBUFFERSPROC, glDeleteBuffers)                     \
  X(PFNGLBINDBUFFERPROC, glBindBuffer)                           \
  X(PFNGLBUFFERDATAPROC, glBufferData)                           \
  X(PFNGLVERTEXATTRIBPOINTERPROC, glVertexAttribPointer)         \
  X(PFNGLVERTEXATTRIBIPOINTERPROC, glVertexAttribIPointer)       \
  X(PFNGLENABLEVERTEXATTRIBARRAYPROC, glEnableVertexAttribArray) \
  X(PFNGLCREATESHADERPROC, glCreateShader)                       \
  X(PFNGLDELETESHADERPROC, glDeleteShader)                       \
  X(PFNGLSHADERSOURCEPROC, glShaderSource)                       \
  X(PFNGLCOMPILESHADERPROC, glCompileShader)                     \
  X(PFNGLGETSHADERIVPROC, glGetShaderiv)                         \
  X(PFNGLGETSHADERINFOLOGPROC, glGetShaderInfoLog)               \
  X(PFNGLCREATEPROGRAMPROC, glCreateProgram)                     \
  X(PFNGLDELETEPROGRAMPROC, glDeleteProgram)                     \
  X(PFNGLATTACHSHADERPROC, glAttachShader)                       \
  X(PFNGLLINKPROGRAMPROC, glLinkProgram)                         \
  X(PFNGLGETPROGRAMIVPROC, glGetProgramiv)                       \
  X(PFNGLGETPROGRAMINFOLOGPROC, glGetProgramInfoLog)             \
  X(PFNGLUSEPROGRAMPROC, glUseProgram)                           \
  X(PFNGLGETUNIFORMLOCATIONPROC, glGetUniformLocation)           \
  X(PFNGLUNIFORM1IPROC, glUniform1i)                             \
  X(PFNGLUNIFORM2FPROC, glUniform2f)                             \
  X(PFNGLUNIFORM4FPROC, glUniform4f)

struct GlFunctions {
#define ZANDREL_GL_MEMBER(type, name) type name = nullptr;
  ZANDREL_GL_FUNCTIONS(ZANDREL_GL_MEMBER)
#undef ZANDREL_GL_MEMBER
};

namespace {

// Vertices carry a combine mode: colour in the low 4 bits, alpha above them.
enum ColourMode : std::int32_t {
  kColourZero,
  kColourWhite,
  kColourIterated,
  kColourTexture,
  kColourTextureTimesIterated
};
enum AlphaMode : std::int32_t { kAlphaOne, kAlphaIterated, kAlphaTexture, kAlphaTextureTimesIterated };

constexpr const char* kTriangleVertexShader = R"(#version 330 core
layout(location = 0) in vec2 position;
layout(location = 1) in float oow;
layout(location = 2) in vec4 colour;
layout(location = 3) in vec2 stow;
layout(location = 4) in ivec2 modeLayer;
uniform vec2 screen;
noperspective out vec3 texturePoint;
noperspective out vec4 iterated;
flat out ivec2 vModeLayer;
void main() {
  gl_Position = vec4(position.x / screen.x * 2.0 - 1.0, 1.0 - position.y / screen.y * 2.0, 0.0, 1.0);
  texturePoint = vec3(stow, oow);
  iterated = colour / 255.0;
  vModeLayer = modeLayer;
}
)";

// Texture coordinates are divided by the iterated 1/w at each pixel, as the board does;
// the depth stored is 1/w scaled into 0..1, so a larger value is nearer.
constexpr const char* kTriangleFragmentShader = R"(#version 330 core
noperspective in vec3 texturePoint;
noperspective in vec4 iterated;
flat in ivec2 vModeLayer;
uniform sampler2DArray textures;
out vec4 fragColour;
void main() {
  float oow = max(texturePoint.z, 1e-30);
  vec4 texel = texture(textures, vec3(texturePoint.xy / oow, float(max(vModeLayer.y, 0))));
  if (vModeLayer.y < 0) texel = vec4(1.0);
  int colourMode = vModeLayer.x & 15;
  int alphaMode = vModeLayer.x >> 4;
  vec3 rgb = colourMode == 0 ? vec3(0.0)
           : colourMode == 1 ? vec3(1.0)
           : colourMode == 2 ? iterated.rgb
           : colourMode == 3 ? texel.rgb
           : texel.rgb * iterated.rgb;
  float alpha = alphaMode == 0 ? 1.0
              : alphaMode == 1 ? iterated.a
              : alphaMode == 2 ? texel.a
              : texel.a * iterated.a;
  fragColour = vec4(rgb, alpha);
  gl_FragDepth = clamp(texturePoint.z * 0.1, 0.0, 1.0);
}
)";

// The frame buffer writes: a rectangle of the in-memory frame drawn over the screen.
constexpr const char* kLfbVertexShader = R"(#version 330 core
uniform vec2 screen;
uniform vec4 rect;
void main() {
  vec2 corner = vec2(gl_VertexID == 1 || gl_VertexID == 3 ? rect.z : rect.x,
                     gl_VertexID >= 2 ? rect.w : rect.y);
  gl_Position = vec4(corner.x / screen.x * 2.0 - 1.0, 1.0 - corner.y / screen.y * 2.0, 0.0, 1.0);
}
)";

constexpr const char* kLfbFragmentShader = R"(#version 330 core
uniform usampler2D lfb;
uniform vec2 screen;
out vec4 fragColour;
void main() {
  ivec2 at = ivec2(int(gl_FragCoord.x), int(screen.y) - 1 - int(gl_FragCoord.y));
  uint value = texelFetch(lfb, at, 0).r;
  if (value == 32u) discard;
  fragColour = vec4(float((value >> 11) & 31u) / 31.0, float((value >> 5) & 63u) / 63.0,
                    float(value & 31u) / 31.0, 1.0);
}
)";
static_assert(OpenGlGlide::kLfbUnwritten == 32);

// A whole image over the viewport; its first row at the top.
constexpr const char* kImageVertexShader = R"(#version 330 core
out vec2 imagePoint;
void main() {
  vec2 corner = vec2(gl_VertexID == 1 || gl_VertexID == 3 ? 1.0 : 0.0, gl_VertexID >= 2 ? 1.0 : 0.0);
  imagePoint = vec2(corner.x, 1.0 - corner.y);
  gl_Position = vec4(corner * 2.0 - 1.0, 0.0, 1.0);
}
)";

constexpr const char* kImageFragmentShader = R"(#version 330 core
in vec2 imagePoint;
uniform sampler2D image;
out vec4 fragColour;
void main() { fragColour = vec4(texture(image, imagePoint).rgb, 1.0); }
)";

// The texture unit of shown images, apart from the board's textures (0) and frame writes (1).
constexpr GLenum kImageUnit = GL_TEXTURE2;

GLenum BlendFactor(std::int32_t factor, bool destination) {
  switch (factor) {
    case GR_BLEND_ZERO: return GL_ZERO;
    case GR_BLEND_SRC_ALPHA: return GL_SRC_ALPHA;
    case GR_BLEND_SRC_COLOR: return destination ? GL_SRC_COLOR : GL_DST_COLOR;
    case GR_BLEND_DST_ALPHA: return GL_DST_ALPHA;
    case GR_BLEND_ONE: return GL_ONE;
    case GR_BLEND_ONE_MINUS_SRC_ALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case GR_BLEND_ONE_MINUS_SRC_COLOR: return destination ? GL_ONE_MINUS_SRC_COLOR : GL_ONE_MINUS_DST_COLOR;
    case GR_BLEND_ONE_MINUS_DST_ALPHA: return GL_ONE_MINUS_DST_ALPHA;
    default: return GL_ONE;
  }
}

// The stored depth is 1/w, so a comparison of w turns the other way round.
GLenum DepthFunction(std::int32_t function) {
  switch (function) {
    case GR_CMP_NEVER: return GL_NEVER;
    case GR_CMP_LESS: return GL_GREATER;
    case GR_CMP_EQUAL: return GL_EQUAL;
    case GR_CMP_LEQUAL: return GL_GEQUAL;
    case GR_CMP_GREATER: return GL_LESS;
    case GR_CMP_NOTEQUAL: return GL_NOTEQUAL;
    case GR_CMP_GEQUAL: return GL_LEQUAL;
    default: return GL_ALWAYS;
  }
}

std::string CompileProgram(const GlFunctions& gl, const char* vertexText, const char* fragmentText, GLuint& program) {
  std::string log;
  const auto compile = [&](GLenum type, const char* text) {
    const GLuint shader = gl.glCreateShader(type);
    gl.glShaderSource(shader, 1, &text, nullptr);
    gl.glCompileShader(shader);
    GLint ok = 0;
    gl.glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
      char message[1024] = {};
      gl.glGetShaderInfoLog(shader, sizeof message, nullptr, message);
      log += message;
    }
    return shader;
  };
  const GLuint vertex = compile(GL_VERTEX_SHADER, vertexText);
  const GLuint fragment = compile(GL_FRAGMENT_SHADER, fragmentText);
  program = gl.glCreateProgram();
  gl.glAttachShader(program, vertex);
  gl.glAttachShader(program, fragment);
  gl.glLinkProgram(program);
  gl.glDeleteShader(vertex);
  gl.glDeleteShader(fragment);
  GLint linked = 0;
  gl.glGetProgramiv(program, GL_LINK_STATUS, &linked);
  if (!linked) {
    char text[1024] = {};
    gl.glGetProgramInfoLog(program, sizeof text, nullptr, text);
    log += text;
    if (log.empty()) log = "the shaders do not link";
  }
  return log;
}

}  // namespace

ViewportRect ClientToDrawable(int x, int y, int width, int height, int clientWidth, int clientHeight, int drawableWidth,
                              int drawableHeight) {
  if (clientWidth <= 0 || clientHeight <= 0) {
    clientWidth = drawableWidth;
    clientHeight = drawableHeight;
  }
  if (clientWidth <= 0 || clientHeight <= 0) return {};
  // Far outside the window is as good as a little outside; the bound keeps ints whole.
  const auto scale = [](std::int64_t v, int to, int from) {
    const std::int64_t bound = 1 << 24;
    return static_cast<int>(std::clamp<std::int64_t>(v * to / from, -bound, bound));
  };
  const std::int64_t right = static_cast<std::int64_t>(x) + width, bottom = static_cast<std::int64_t>(y) + height;
  const int left = scale(x, drawableWidth, clientWidth), top = scale(y, drawableHeight, clientHeight);
  const int rightPixel = scale(right, drawableWidth, clientWidth),
            bottomPixel = scale(bottom, drawableHeight, clientHeight);
  return {left, drawableHeight - bottomPixel, rightPixel - left, bottomPixel - top};
}

base::Expected<std::unique_ptr<OpenGlGlide>> OpenGlGlide::Create(SDL_Window* window, FxU32 textureMemory) {
  if (!window) return base::Failure{"OpenGL: no window"};
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context) return base::Failure{std::string("OpenGL 3.3: ") + SDL_GetError()};
  auto gl = std::make_unique<GlFunctions>();
  std::string missing;
#define ZANDREL_GL_LOAD(type, name)                                \
  gl->name = reinterpret_cast<type>(SDL_GL_GetProcAddress(#name)); \
  if (!gl->name) missing += " " #name;
  ZANDREL_GL_FUNCTIONS(ZANDREL_GL_LOAD)
#undef ZANDREL_GL_LOAD
  if (!missing.empty()) {
    SDL_GL_DeleteContext(context);
    return base::Failure{"OpenGL 3.3: missing" + missing};
  }
  std::unique_ptr<OpenGlGlide> device(new OpenGlGlide(window, context, std::move(gl), textureMemory));
  if (base::Status prepared = device->Prepare(); !prepared) return base::Failure{prepared.error()};
  return device;
}

OpenGlGlide::OpenGlGlide(SDL_Window* window, void* context, std::unique_ptr<GlFunctions> gl, FxU32 textureMemory)
    : window_(window), context_(context), gl_(std::move(gl)), memory_(textureMemory) {
  batch_.reserve(3 * 6000);
}

base::Status OpenGlGlide::Prepare() {
  const GlFunctions& gl = *gl_;
  if (std::string log = CompileProgram(gl, kTriangleVertexShader, kTriangleFragmentShader, program_); !log.empty()) {
    return base::Failure{"OpenGL 3.3: " + log};
  }
  if (std::string log = CompileProgram(gl, kLfbVertexShader, kLfbFragmentShader, lfbProgram_); !log.empty()) {
    return base::Failure{"OpenGL 3.3: " + log};
  }
  if (std::string log = CompileProgram(gl, kImageVertexShader, kImageFragmentShader, imageProgram_); !log.empty()) {
    return base::Failure{"OpenGL 3.3: " + log};
  }
  gl.glUseProgram(imageProgram_);
  gl.glUniform1i(gl.glGetUniformLocation(imageProgram_, "image"), static_cast<GLint>(kImageUnit - GL_TEXTURE0));
  screenUniform_ = gl.glGetUniformLocation(program_, "screen");
  lfbScreenUniform_ = gl.glGetUniformLocation(lfbProgram_, "screen");
  lfbRectUniform_ = gl.glGetUniformLocation(lfbProgram_, "rect");
  gl.glUseProgram(program_);
  gl.glUniform1i(gl.glGetUniformLocation(program_, "textures"), 0);
  gl.glUseProgram(lfbProgram_);
  gl.glUniform1i(gl.glGetUniformLocation(lfbProgram_, "lfb"), 1);

  gl.glGenVertexArrays(1, &vertexArray_);
  gl.glGenVertexArrays(1, &emptyArray_);
  gl.glGenBuffers(1, &vertexBuffer_);
  gl.glBindVertexArray(vertexArray_);
  gl.glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
  const auto offset = [](std::size_t bytes) { return reinterpret_cast<const void*>(bytes); };
  constexpr GLsizei stride = sizeof(GlVertex);
  gl.glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, stride, offset(offsetof(GlVertex, X)));
  gl.glVertexAttribPointer(1, 1, GL_FLOAT, GL_FALSE, stride, offset(offsetof(GlVertex, Oow)));
  gl.glVertexAttribPointer(2, 4, GL_FLOAT, GL_FALSE, stride, offset(offsetof(GlVertex, R)));
  gl.glVertexAttribPointer(3, 2, GL_FLOAT, GL_FALSE, stride, offset(offsetof(GlVertex, Sow)));
  gl.glVertexAttribIPointer(4, 2, GL_INT, stride, offset(offsetof(GlVertex, Mode)));
  for (GLuint attribute = 0; attribute < 5; ++attribute) gl.glEnableVertexAttribArray(attribute);

  gl.glGenSamplers(1, &sampler_);
  gl.glBindSampler(0, sampler_);
  ApplySampler();
  GLint layers = 0;
  gl.glGetIntegerv(GL_MAX_ARRAY_TEXTURE_LAYERS, &layers);
  maxLayers_ = std::max(layers, 1);
  gl.glEnable(GL_BLEND);
  gl.glBlendFuncSeparate(GL_ONE, GL_ZERO, GL_ONE, GL_ZERO);
  ApplyDepthState();
  SDL_GL_SetSwapInterval(1);
  return {};
}

OpenGlGlide::~OpenGlGlide() {
  ReleaseFrame();
  const GlFunctions& gl = *gl_;
  for (const TextureArray& array : arrays_) gl.glDeleteTextures(1, &array.Texture);
  gl.glDeleteSamplers(1, &sampler_);
  gl.glDeleteBuffers(1, &vertexBuffer_);
  gl.glDeleteVertexArrays(1, &vertexArray_);
  gl.glDeleteVertexArrays(1, &emptyArray_);
  gl.glDeleteProgram(program_);
  gl.glDeleteProgram(lfbProgram_);
  gl.glDeleteProgram(imageProgram_);
  if (imageTexture_) gl.glDeleteTextures(1, &imageTexture_);
  SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context_));
}

FxBool OpenGlGlide::grSstQueryHardware(GrHwConfiguration* hwConfig) {
  if (hwConfig) hwConfig->num_sst = 1;
  return true;
}

FxBool OpenGlGlide::grSstWinOpen(FxU32, std::int32_t resolution, std::int32_t, std::int32_t colorFormat, std::int32_t,
                                 std::int32_t, std::int32_t) {
  const ScreenSize size = ResolutionSize(resolution);
  if (size.Width == 0) return false;
  ReleaseFrame();
  const GlFunctions& gl = *gl_;
  size_ = size;
  colourFormat_ = colorFormat;
  gl.glGenRenderbuffers(1, &colourBuffer_);
  gl.glBindRenderbuffer(GL_RENDERBUFFER, colourBuffer_);
  gl.glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, size.Width, size.Height);
  gl.glGenRenderbuffers(1, &depthBuffer_);
  gl.glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
  gl.glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT32F, size.Width, size.Height);
  gl.glGenFramebuffers(1, &frameBuffer_);
  gl.glBindFramebuffer(GL_FRAMEBUFFER, frameBuffer_);
  gl.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colourBuffer_);
  gl.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer_);
  if (gl.glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    ReleaseFrame();
    return false;
  }
  gl.glViewport(0, 0, size.Width, size.Height);

  gl.glGenTextures(1, &lfbTexture_);
  gl.glActiveTexture(GL_TEXTURE1);
  gl.glBindTexture(GL_TEXTURE_2D, lfbTexture_);
  gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_R16UI, size.Width, size.Height, 0, GL_RED_INTEGER, GL_UNSIGNED_SHORT, nullptr);
  gl.glActiveTexture(GL_TEXTURE0);
  lfb_.assign(static_cast<std::size_t>(size.Width) * static_cast<std::size_t>(size.Height), kLfbUnwritten);

  gl.glUseProgram(lfbProgram_);
  gl.glUniform2f(lfbScreenUniform_, static_cast<float>(size.Width), static_cast<float>(size.Height));
  gl.glUseProgram(program_);
  gl.glUniform2f(screenUniform_, static_cast<float>(size.Width), static_cast<float>(size.Height));
  gl.glClearColor(0, 0, 0, 0);
  gl.glClearDepth(0);
  gl.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  gl.glDepthMask(GL_TRUE);
  gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  gl.glColorMask(colourMask_, colourMask_, colourMask_, alphaMask_);
  gl.glDepthMask(depthMask_);
  return true;
}

void OpenGlGlide::ReleaseFrame() {
  batch_.clear();
  const GlFunctions& gl = *gl_;
  if (frameBuffer_) gl.glDeleteFramebuffers(1, &frameBuffer_);
  if (colourBuffer_) gl.glDeleteRenderbuffers(1, &colourBuffer_);
  if (depthBuffer_) gl.glDeleteRenderbuffers(1, &depthBuffer_);
  if (lfbTexture_) gl.glDeleteTextures(1, &lfbTexture_);
  frameBuffer_ = colourBuffer_ = depthBuffer_ = lfbTexture_ = 0;
  gl.glBindFramebuffer(GL_FRAMEBUFFER, 0);
  size_ = {};
  lfb_.clear();
  locked_ = false;
}

void OpenGlGlide::grGlideShutdown() { ReleaseFrame(); }

void OpenGlGlide::Flush() {
  if (batch_.empty()) {
    batchArray_ = -1;
    return;
  }
  const GlFunctions& gl = *gl_;
  gl.glUseProgram(program_);
  gl.glBindVertexArray(vertexArray_);
  gl.glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
  gl.glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(batch_.size() * sizeof(GlVertex)), batch_.data(),
                  GL_STREAM_DRAW);
  gl.glBindTexture(GL_TEXTURE_2D_ARRAY, batchArray_ >= 0 ? arrays_[static_cast<std::size_t>(batchArray_)].Texture : 0);
  gl.glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(batch_.size()));
  ++drawCalls_;
  batch_.clear();
  batchArray_ = -1;
}

void OpenGlGlide::grBufferClear(GrColor_t color, GrAlpha_t alpha, FxU16 depth) {
  if (!frameBuffer_) return;
  Flush();
  const GlFunctions& gl = *gl_;
  const int redShift = colourFormat_ == GR_COLORFORMAT_RGBA ? 24 : 16;
  const auto channel = [&](int shift) { return static_cast<float>((color >> shift) & 0xFF) / 255.0f; };
  gl.glClearColor(channel(redShift), channel(redShift - 8), channel(redShift - 16), static_cast<float>(alpha) / 255.0f);
  // The farthest w (0xFFFF) is the smallest 1/w.
  gl.glClearDepth(1.0 - static_cast<double>(depth) / 65535.0);
  GLbitfield mask = GL_COLOR_BUFFER_BIT;
  if (depthMode_ != GR_DEPTHBUFFER_DISABLE) mask |= GL_DEPTH_BUFFER_BIT;
  gl.glClear(mask);
}

void OpenGlGlide::grBufferSwap(std::int32_t) {
  if (!frameBuffer_) return;
  Flush();
  const GlFunctions& gl = *gl_;
  int windowWidth = 0, windowHeight = 0;
  SDL_GL_GetDrawableSize(window_, &windowWidth, &windowHeight);
  // The largest picture of the frame's aspect that fits, centred.
  int width = windowWidth, height = windowWidth * size_.Height / size_.Width;
  if (height > windowHeight) {
    height = windowHeight;
    width = windowHeight * size_.Width / size_.Height;
  }
  const int left = (windowWidth - width) / 2, bottom = (windowHeight - height) / 2;
  gl.glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  gl.glBindFramebuffer(GL_READ_FRAMEBUFFER, frameBuffer_);
  gl.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  gl.glClearColor(0, 0, 0, 1);
  gl.glClear(GL_COLOR_BUFFER_BIT);
  gl.glBlitFramebuffer(0, 0, size_.Width, size_.Height, left, bottom, left + width, bottom + height,
                       GL_COLOR_BUFFER_BIT, GL_LINEAR);
  SDL_GL_SwapWindow(window_);
  gl.glBindFramebuffer(GL_FRAMEBUFFER, frameBuffer_);
  gl.glColorMask(colourMask_, colourMask_, colourMask_, alphaMask_);
  lastFrameDrawCalls_ = drawCalls_;
  drawCalls_ = 0;
}

void OpenGlGlide::grColorMask(FxBool rgb, FxBool alpha) {
  if (rgb == colourMask_ && alpha == alphaMask_) return;
  Flush();
  colourMask_ = rgb;
  alphaMask_ = alpha;
  gl_->glColorMask(rgb, rgb, rgb, alpha);
}

void OpenGlGlide::guColorCombineFunction(std::int32_t function) {
  switch (function) {
    case GR_COLORCOMBINE_ZERO: colourMode_ = kColourZero; break;
    case GR_COLORCOMBINE_CCRGB: colourMode_ = kColourWhite; break;
    case GR_COLORCOMBINE_ITRGB: colourMode_ = kColourIterated; break;
    case GR_COLORCOMBINE_DECAL_TEXTURE:
    case GR_COLORCOMBINE_TEXTURE_TIMES_CCRGB: colourMode_ = kColourTexture; break;
    default: colourMode_ = kColourTextureTimesIterated; break;
  }
}

void OpenGlGlide::guAlphaSource(std::int32_t mode) {
  alphaMode_ = std::clamp(mode, GR_ALPHASOURCE_CC_ALPHA, GR_ALPHASOURCE_TEXTURE_ALPHA_TIMES_ITERATED_ALPHA);
}

void OpenGlGlide::grAlphaBlendFunction(std::int32_t rgbSrc, std::int32_t rgbDst, std::int32_t alphaSrc,
                                       std::int32_t alphaDst) {
  Flush();
  gl_->glBlendFuncSeparate(BlendFactor(rgbSrc, false), BlendFactor(rgbDst, true), BlendFactor(alphaSrc, false),
                           BlendFactor(alphaDst, true));
}

void OpenGlGlide::grTexFilterMode(GrChipID_t, std::int32_t minFilter, std::int32_t magFilter) {
  if (minFilter == minFilter_ && magFilter == magFilter_) return;
  Flush();
  minFilter_ = minFilter;
  magFilter_ = magFilter;
  ApplySampler();
}

void OpenGlGlide::grTexClampMode(GrChipID_t, std::int32_t sClamp, std::int32_t tClamp) {
  if (sClamp == sClamp_ && tClamp == tClamp_) return;
  Flush();
  sClamp_ = sClamp;
  tClamp_ = tClamp;
  ApplySampler();
}

void OpenGlGlide::ApplySampler() {
  const GlFunctions& gl = *gl_;
  const auto filter = [](std::int32_t mode) { return mode == GR_TEXTUREFILTER_BILINEAR ? GL_LINEAR : GL_NEAREST; };
  const auto wrap = [](std::int32_t mode) { return mode == GR_TEXTURECLAMP_CLAMP ? GL_CLAMP_TO_EDGE : GL_REPEAT; };
  gl.glSamplerParameteri(sampler_, GL_TEXTURE_MIN_FILTER, filter(minFilter_));
  gl.glSamplerParameteri(sampler_, GL_TEXTURE_MAG_FILTER, filter(magFilter_));
  gl.glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_S, wrap(sClamp_));
  gl.glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_T, wrap(tClamp_));
}

void OpenGlGlide::grDepthBufferMode(std::int32_t mode) {
  if (mode == depthMode_) return;
  Flush();
  depthMode_ = mode;
  ApplyDepthState();
}

void OpenGlGlide::grDepthBufferFunction(std::int32_t function) {
  if (function == depthFunction_) return;
  Flush();
  depthFunction_ = function;
  ApplyDepthState();
}

void OpenGlGlide::grDepthMask(FxBool enable) {
  if (enable == depthMask_) return;
  Flush();
  depthMask_ = enable;
  ApplyDepthState();
}

void OpenGlGlide::ApplyDepthState() {
  const GlFunctions& gl = *gl_;
  if (depthMode_ == GR_DEPTHBUFFER_DISABLE) {
    gl.glDisable(GL_DEPTH_TEST);
  } else {
    gl.glEnable(GL_DEPTH_TEST);
  }
  gl.glDepthFunc(DepthFunction(depthFunction_));
  gl.glDepthMask(depthMask_);
}

FxU32 OpenGlGlide::grTexTextureMemRequired(FxU32 evenOdd, const GrTexInfo* info) {
  return info ? TextureMemRequired(evenOdd, *info) : 0;
}

void OpenGlGlide::FreeLayersIn(FxU32 start, FxU32 end) {
  for (auto it = resident_.begin(); it != resident_.end();) {
    if (it->first < end && it->first + it->second.Bytes > start) {
      arrays_[static_cast<std::size_t>(it->second.Array)].LayerAddress[static_cast<std::size_t>(it->second.Layer)] = -1;
      if (it->second.Array == sourceArray_ && it->second.Layer == sourceLayer_) sourceArray_ = sourceLayer_ = -1;
      it = resident_.erase(it);
    } else {
      ++it;
    }
  }
}

void OpenGlGlide::UploadLayer(const TextureArray& array, std::int32_t layer, FxU32 address) {
  const GlFunctions& gl = *gl_;
  gl.glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
  gl.glTexSubImage3D(GL_TEXTURE_2D_ARRAY, 0, 0, 0, layer, array.Size.Width, array.Size.Height, 1, GL_BGRA,
                     GL_UNSIGNED_SHORT_1_5_5_5_REV, memory_.data() + address);
}

std::int32_t OpenGlGlide::ArrayWithRoom(ScreenSize size) {
  const GlFunctions& gl = *gl_;
  for (std::size_t i = 0; i < arrays_.size(); ++i) {
    TextureArray& array = arrays_[i];
    if (array.Size.Width != size.Width || array.Size.Height != size.Height) continue;
    if (std::find(array.LayerAddress.begin(), array.LayerAddress.end(), -1) != array.LayerAddress.end()) {
      return static_cast<std::int32_t>(i);
    }
    if (array.Capacity >= maxLayers_) continue;
    // Grow: a larger array texture, every image uploaded again from the board's memory.
    array.Capacity = std::min(array.Capacity * 2, maxLayers_);
    array.LayerAddress.resize(static_cast<std::size_t>(array.Capacity), -1);
    gl.glBindTexture(GL_TEXTURE_2D_ARRAY, array.Texture);
    gl.glTexImage3D(GL_TEXTURE_2D_ARRAY, 0, GL_RGB5_A1, size.Width, size.Height, array.Capacity, 0, GL_BGRA,
                    GL_UNSIGNED_SHORT_1_5_5_5_REV, nullptr);
    for (std::size_t layer = 0; layer < array.LayerAddress.size(); ++layer) {
      if (array.LayerAddress[layer] >= 0) {
        UploadLayer(array, static_cast<std::int32_t>(layer), static_cast<FxU32>(array.LayerAddress[layer]));
      }
    }
    return static_cast<std::int32_t>(i);
  }
  TextureArray array;
  array.Size = size;
  array.Capacity = std::min(16, maxLayers_);
  array.LayerAddress.assign(static_cast<std::size_t>(array.Capacity), -1);
  gl.glGenTextures(1, &array.Texture);
  gl.glBindTexture(GL_TEXTURE_2D_ARRAY, array.Texture);
  gl.glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_MAX_LEVEL, 0);
  gl.glTexImage3D(GL_TEXTURE_2D_ARRAY, 0, GL_RGB5_A1, size.Width, size.Height, array.Capacity, 0, GL_BGRA,
                  GL_UNSIGNED_SHORT_1_5_5_5_REV, nullptr);
  arrays_.push_back(std::move(array));
  return static_cast<std::int32_t>(arrays_.size() - 1);
}

void OpenGlGlide::grTexDownloadMipMap(GrChipID_t, FxU32 startAddress, FxU32 evenOdd, const GrTexInfo* info) {
  if (!info || !info->data || info->format != GR_TEXFMT_ARGB_1555) return;
  const FxU32 bytes = TextureMemRequired(evenOdd, *info);
  if (bytes == 0 || startAddress > memory_.size() || bytes > memory_.size() - startAddress) return;
  // The batch may still show what this download overwrites.
  const auto overwritten = std::find_if(resident_.begin(), resident_.end(), [&](const auto& entry) {
    return entry.first < startAddress + bytes && entry.first + entry.second.Bytes > startAddress;
  });
  if (overwritten != resident_.end()) Flush();
  const ScreenSize size = LevelSize(info->largeLod, info->aspectRatio);
  const std::size_t levelBytes = static_cast<std::size_t>(size.Width) * static_cast<std::size_t>(size.Height) * 2;
  std::memcpy(memory_.data() + startAddress, info->data, std::min<std::size_t>(levelBytes, bytes));
  FreeLayersIn(startAddress, startAddress + bytes);
  const std::int32_t arrayIndex = ArrayWithRoom(size);
  TextureArray& array = arrays_[static_cast<std::size_t>(arrayIndex)];
  const auto freeLayer = std::find(array.LayerAddress.begin(), array.LayerAddress.end(), -1);
  if (freeLayer == array.LayerAddress.end()) return;
  *freeLayer = startAddress;
  const auto layer = static_cast<std::int32_t>(freeLayer - array.LayerAddress.begin());
  gl_->glBindTexture(GL_TEXTURE_2D_ARRAY, array.Texture);
  UploadLayer(array, layer, startAddress);
  resident_[startAddress] = {arrayIndex, layer, bytes};
}

void OpenGlGlide::grTexSource(GrChipID_t, FxU32 startAddress, FxU32, const GrTexInfo*) {
  const auto it = resident_.find(startAddress);
  if (it == resident_.end()) {
    sourceArray_ = sourceLayer_ = -1;
    return;
  }
  sourceArray_ = it->second.Array;
  sourceLayer_ = it->second.Layer;
  const ScreenSize size = arrays_[static_cast<std::size_t>(sourceArray_)].Size;
  const float longer = static_cast<float>(std::max(size.Width, size.Height));
  sScale_ = longer / (256.0f * static_cast<float>(size.Width));
  tScale_ = longer / (256.0f * static_cast<float>(size.Height));
}

void OpenGlGlide::guDrawTriangleWithClip(const GrVertex* a, const GrVertex* b, const GrVertex* c) {
  if (!frameBuffer_ || !a || !b || !c) return;
  const bool textured = colourMode_ >= kColourTexture || alphaMode_ >= kAlphaTexture;
  std::int32_t layer = -1;
  if (textured && sourceArray_ >= 0) {
    // Untextured triangles batched so far do not mind which array is bound.
    if (batchArray_ != sourceArray_ && batchArray_ >= 0) Flush();
    batchArray_ = sourceArray_;
    layer = sourceLayer_;
  }
  const std::int32_t mode = colourMode_ | alphaMode_ << 4;
  for (const GrVertex* v : {a, b, c}) {
    batch_.push_back({v->x, v->y, v->oow, v->r, v->g, v->b, v->a, v->tmuvtx[0].sow * sScale_,
                      v->tmuvtx[0].tow * tScale_, mode, layer});
  }
}

FxBool OpenGlGlide::grLfbLock(std::int32_t type, std::int32_t buffer, std::int32_t writeMode, std::int32_t origin,
                              FxBool, GrLfbInfo* info) {
  return LockMemoryBackBuffer(lfb_, size_.Width, locked_, type, buffer, writeMode, origin, info);
}

FxBool OpenGlGlide::grLfbUnlock(std::int32_t, std::int32_t) {
  if (!locked_) return false;
  locked_ = false;
  // The rectangle that holds every written pixel.
  const std::size_t width = static_cast<std::size_t>(size_.Width), height = static_cast<std::size_t>(size_.Height);
  std::size_t left = width, right = 0, top = height, bottom = 0;
  for (std::size_t y = 0; y < height; ++y) {
    const FxU16* row = lfb_.data() + y * width;
    const FxU16* first = std::find_if(row, row + width, [](FxU16 v) { return v != kLfbUnwritten; });
    if (first == row + width) continue;
    const FxU16* last = std::find_if(std::reverse_iterator(row + width), std::reverse_iterator(first), [](FxU16 v) {
                          return v != kLfbUnwritten;
                        }).base();
    left = std::min(left, static_cast<std::size_t>(first - row));
    right = std::max(right, static_cast<std::size_t>(last - row));
    top = std::min(top, y);
    bottom = y + 1;
  }
  if (left >= right) return true;
  Flush();
  const GlFunctions& gl = *gl_;
  gl.glActiveTexture(GL_TEXTURE1);
  gl.glBindTexture(GL_TEXTURE_2D, lfbTexture_);
  gl.glPixelStorei(GL_UNPACK_ROW_LENGTH, size_.Width);
  gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
  gl.glTexSubImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(left), static_cast<GLint>(top),
                     static_cast<GLsizei>(right - left), static_cast<GLsizei>(bottom - top), GL_RED_INTEGER,
                     GL_UNSIGNED_SHORT, lfb_.data() + top * width + left);
  gl.glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  gl.glActiveTexture(GL_TEXTURE0);
  // Writes bypass the pixel pipeline: no depth test, no blending, no masks.
  gl.glDisable(GL_DEPTH_TEST);
  gl.glDisable(GL_BLEND);
  gl.glDepthMask(GL_FALSE);
  gl.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  gl.glUseProgram(lfbProgram_);
  gl.glUniform4f(lfbRectUniform_, static_cast<float>(left), static_cast<float>(top), static_cast<float>(right),
                 static_cast<float>(bottom));
  gl.glBindVertexArray(emptyArray_);
  gl.glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  ++drawCalls_;
  gl.glEnable(GL_BLEND);
  gl.glColorMask(colourMask_, colourMask_, colourMask_, alphaMask_);
  ApplyDepthState();
  for (std::size_t y = top; y < bottom; ++y) {
    std::fill_n(lfb_.data() + y * width + left, right - left, kLfbUnwritten);
  }
  return true;
}

void OpenGlGlide::ShowImage(const std::uint8_t* rgba, int width, int height, int destX, int destY, int destWidth,
                            int destHeight) {
  if (!rgba || width <= 0 || height <= 0 || destWidth <= 0 || destHeight <= 0) return;
  const GlFunctions& gl = *gl_;
  gl.glActiveTexture(kImageUnit);
  if (!imageTexture_) {
    gl.glGenTextures(1, &imageTexture_);
    gl.glBindTexture(GL_TEXTURE_2D, imageTexture_);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  }
  gl.glBindTexture(GL_TEXTURE_2D, imageTexture_);
  gl.glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  if (imageSize_.Width != width || imageSize_.Height != height) {
    gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    imageSize_ = {width, height};
  } else {
    gl.glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  }

  int drawableWidth = 0, drawableHeight = 0, clientWidth = 0, clientHeight = 0;
  SDL_GL_GetDrawableSize(window_, &drawableWidth, &drawableHeight);
  SDL_GetWindowSize(window_, &clientWidth, &clientHeight);
  gl.glBindFramebuffer(GL_FRAMEBUFFER, 0);
  gl.glDisable(GL_DEPTH_TEST);
  gl.glDisable(GL_BLEND);
  gl.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  gl.glViewport(0, 0, drawableWidth, drawableHeight);
  gl.glClearColor(0, 0, 0, 1);
  gl.glClear(GL_COLOR_BUFFER_BIT);
  const ViewportRect rect =
      ClientToDrawable(destX, destY, destWidth, destHeight, clientWidth, clientHeight, drawableWidth, drawableHeight);
  gl.glViewport(rect.X, rect.Y, rect.Width, rect.Height);
  gl.glUseProgram(imageProgram_);
  gl.glBindVertexArray(emptyArray_);
  gl.glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  SDL_GL_SwapWindow(window_);

  // Back to the board's state.
  gl.glActiveTexture(GL_TEXTURE0);
  if (frameBuffer_) {
    gl.glBindFramebuffer(GL_FRAMEBUFFER, frameBuffer_);
    gl.glViewport(0, 0, size_.Width, size_.Height);
  }
  gl.glEnable(GL_BLEND);
  gl.glColorMask(colourMask_, colourMask_, colourMask_, alphaMask_);
  ApplyDepthState();
}

std::vector<std::uint8_t> OpenGlGlide::ReadFrame() {
  if (!frameBuffer_) return {};
  Flush();
  const GlFunctions& gl = *gl_;
  const std::size_t rowBytes = static_cast<std::size_t>(size_.Width) * 4;
  std::vector<std::uint8_t> upward(rowBytes * static_cast<std::size_t>(size_.Height));
  gl.glBindFramebuffer(GL_READ_FRAMEBUFFER, frameBuffer_);
  gl.glPixelStorei(GL_PACK_ALIGNMENT, 1);
  gl.glReadPixels(0, 0, size_.Width, size_.Height, GL_RGBA, GL_UNSIGNED_BYTE, upward.data());
  std::vector<std::uint8_t> frame(upward.size());
  for (std::size_t y = 0; y < static_cast<std::size_t>(size_.Height); ++y) {
    std::memcpy(frame.data() + y * rowBytes,
                upward.data() + (static_cast<std::size_t>(size_.Height) - 1 - y) * rowBytes, rowBytes);
  }
  return frame;
}

}  // namespace zandrel::glide
