// The fixed-function GL entry points the game draws with, resolved at run time from whichever
// context the platform created: OpenGL ES 1.1 or desktop OpenGL 2.1 compatibility. Both offer the
// same calls; only the framebuffer-object entry points differ in name, and this table hides that.
// The platform (window shell or test harness) calls Gl::load once, right after making its first
// context current; the game core then calls gl.<Function> and never includes a GL header itself.
#pragma once

#include <GLES/gl.h>
#include <GLES/glext.h>

#include <string>

// Receives the address of a GL function by name (eglGetProcAddress, SDL_GL_GetProcAddress).
using GlProcLoader = void* (*)(const char* name);

struct GlFunctions {
  // Textures.
  void (*GenTextures)(GLsizei, GLuint*);
  void (*DeleteTextures)(GLsizei, const GLuint*);
  void (*BindTexture)(GLenum, GLuint);
  void (*TexParameteri)(GLenum, GLenum, GLint);
  void (*TexImage2D)(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*);
  void (*TexSubImage2D)(GLenum, GLint, GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, const void*);
  void (*CopyTexImage2D)(GLenum, GLint, GLenum, GLint, GLint, GLsizei, GLsizei, GLint);
  void (*TexEnvi)(GLenum, GLenum, GLint);
  void (*PixelStorei)(GLenum, GLint);
  // State.
  void (*Enable)(GLenum);
  void (*Disable)(GLenum);
  void (*BlendFunc)(GLenum, GLenum);
  void (*Hint)(GLenum, GLenum);
  void (*GetIntegerv)(GLenum, GLint*);
  const GLubyte* (*GetString)(GLenum);
  GLenum (*GetError)();
  void (*Viewport)(GLint, GLint, GLsizei, GLsizei);
  void (*Scissor)(GLint, GLint, GLsizei, GLsizei);
  void (*ClearColor)(GLfloat, GLfloat, GLfloat, GLfloat);
  void (*Clear)(GLbitfield);
  void (*Color4f)(GLfloat, GLfloat, GLfloat, GLfloat);
  void (*Finish)();
  void (*ReadPixels)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*);
  // Client-side arrays and drawing.
  void (*EnableClientState)(GLenum);
  void (*DisableClientState)(GLenum);
  void (*VertexPointer)(GLint, GLenum, GLsizei, const void*);
  void (*TexCoordPointer)(GLint, GLenum, GLsizei, const void*);
  void (*DrawArrays)(GLenum, GLint, GLsizei);
  // Matrices.
  void (*MatrixMode)(GLenum);
  void (*LoadIdentity)();
  void (*LoadMatrixf)(const GLfloat*);
  void (*PushMatrix)();
  void (*PopMatrix)();
  void (*Translatef)(GLfloat, GLfloat, GLfloat);
  void (*Rotatef)(GLfloat, GLfloat, GLfloat, GLfloat);
  // Framebuffer objects (OES names on ES 1.1, core or EXT names on desktop GL).
  void (*GenFramebuffers)(GLsizei, GLuint*);
  void (*DeleteFramebuffers)(GLsizei, const GLuint*);
  void (*BindFramebuffer)(GLenum, GLuint);
  void (*FramebufferTexture2D)(GLenum, GLenum, GLenum, GLuint, GLint);
  GLenum (*CheckFramebufferStatus)(GLenum);

  bool loaded = false;
  bool isEs = false;                 // the context is OpenGL ES
  bool hasFramebufferObjects = false;
  // Textures of any size (desktop GL 2.0 and later, or GL_OES_texture_npot on ES).
  bool hasNonPowerOfTwoTextures = false;
  int maxTextureSize = 64;  // GL_MAX_TEXTURE_SIZE
};

// The one table of the process; valid after Gl::load succeeded.
extern GlFunctions gl;

class Gl {
 public:
  // Fills `gl` from the context current on this thread. Returns false (leaving the table unusable)
  // when a required entry point is missing; `error` then names it.
  static bool load(GlProcLoader loader, std::string* error = nullptr);
};

// Enum values shared by both APIs that the ES 1.1 headers spell with a suffix.
constexpr GLenum GL_FRAMEBUFFER_ANY = 0x8D40;         // GL_FRAMEBUFFER / GL_FRAMEBUFFER_OES
constexpr GLenum GL_COLOR_ATTACHMENT0_ANY = 0x8CE0;   // GL_COLOR_ATTACHMENT0(_OES)
constexpr GLenum GL_FRAMEBUFFER_COMPLETE_ANY = 0x8CD5;
constexpr GLenum GL_FRAMEBUFFER_BINDING_ANY = 0x8CA6;
