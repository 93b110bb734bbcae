// Resolves the GL function table from the current context.
#include "Gl.h"

#include <cstring>

GlFunctions gl;

namespace {

template <class F>
bool resolve(GlProcLoader loader, F& slot, const char* name, std::string* error) {
  slot = reinterpret_cast<F>(loader(name));
  if (slot == nullptr && error != nullptr && error->empty()) *error = name;
  return slot != nullptr;
}

bool hasExtension(const char* extensions, const char* name) {
  if (extensions == nullptr) return false;
  const size_t length = std::strlen(name);
  for (const char* at = std::strstr(extensions, name); at != nullptr; at = std::strstr(at + 1, name)) {
    const bool startsWord = at == extensions || at[-1] == ' ';
    const bool endsWord = at[length] == ' ' || at[length] == '\0';
    if (startsWord && endsWord) return true;
  }
  return false;
}

}  // namespace

bool Gl::load(GlProcLoader loader, std::string* error) {
  GlFunctions table{};
  std::string missing;
  bool ok = true;
#define GL_RESOLVE(member, name) ok = resolve(loader, table.member, name, &missing) && ok
  GL_RESOLVE(GenTextures, "glGenTextures");
  GL_RESOLVE(DeleteTextures, "glDeleteTextures");
  GL_RESOLVE(BindTexture, "glBindTexture");
  GL_RESOLVE(TexParameteri, "glTexParameteri");
  GL_RESOLVE(TexImage2D, "glTexImage2D");
  GL_RESOLVE(TexSubImage2D, "glTexSubImage2D");
  GL_RESOLVE(CopyTexImage2D, "glCopyTexImage2D");
  GL_RESOLVE(TexEnvi, "glTexEnvi");
  GL_RESOLVE(PixelStorei, "glPixelStorei");
  GL_RESOLVE(Enable, "glEnable");
  GL_RESOLVE(Disable, "glDisable");
  GL_RESOLVE(BlendFunc, "glBlendFunc");
  GL_RESOLVE(Hint, "glHint");
  GL_RESOLVE(GetIntegerv, "glGetIntegerv");
  GL_RESOLVE(GetString, "glGetString");
  GL_RESOLVE(GetError, "glGetError");
  GL_RESOLVE(Viewport, "glViewport");
  GL_RESOLVE(Scissor, "glScissor");
  GL_RESOLVE(ClearColor, "glClearColor");
  GL_RESOLVE(Clear, "glClear");
  GL_RESOLVE(Color4f, "glColor4f");
  GL_RESOLVE(Finish, "glFinish");
  GL_RESOLVE(ReadPixels, "glReadPixels");
  GL_RESOLVE(EnableClientState, "glEnableClientState");
  GL_RESOLVE(DisableClientState, "glDisableClientState");
  GL_RESOLVE(VertexPointer, "glVertexPointer");
  GL_RESOLVE(TexCoordPointer, "glTexCoordPointer");
  GL_RESOLVE(DrawArrays, "glDrawArrays");
  GL_RESOLVE(MatrixMode, "glMatrixMode");
  GL_RESOLVE(LoadIdentity, "glLoadIdentity");
  GL_RESOLVE(LoadMatrixf, "glLoadMatrixf");
  GL_RESOLVE(PushMatrix, "glPushMatrix");
  GL_RESOLVE(PopMatrix, "glPopMatrix");
  GL_RESOLVE(Translatef, "glTranslatef");
  GL_RESOLVE(Rotatef, "glRotatef");
  if (!ok) {
    if (error != nullptr) *error = "missing GL function " + missing;
    return false;
  }

  const char* version = reinterpret_cast<const char*>(table.GetString(GL_VERSION));
  const char* extensions = reinterpret_cast<const char*>(table.GetString(GL_EXTENSIONS));
  if (version == nullptr) {
    if (error != nullptr) *error = "no GL context is current";
    return false;
  }
  table.isEs = std::strncmp(version, "OpenGL ES", 9) == 0;
  table.hasNonPowerOfTwoTextures = table.isEs ? hasExtension(extensions, "GL_OES_texture_npot")
                                              : (version[0] >= '2' || hasExtension(extensions, "GL_ARB_texture_non_power_of_two"));
  GLint maxSize = 0;
  table.GetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  if (maxSize > 0) table.maxTextureSize = maxSize;

  // Framebuffer objects: ES 1.1 through the OES extension; desktop GL through the core names
  // (GL 3.0 or ARB_framebuffer_object) or else the older EXT extension.
  const char* suffix = nullptr;
  if (table.isEs) {
    if (hasExtension(extensions, "GL_OES_framebuffer_object")) suffix = "OES";
  } else if (version[0] >= '3' || hasExtension(extensions, "GL_ARB_framebuffer_object")) {
    suffix = "";
  } else if (hasExtension(extensions, "GL_EXT_framebuffer_object")) {
    suffix = "EXT";
  }
  if (suffix != nullptr) {
    const std::string s(suffix);
    bool fbo = true;
    std::string ignored;
    fbo = resolve(loader, table.GenFramebuffers, ("glGenFramebuffers" + s).c_str(), &ignored) && fbo;
    fbo = resolve(loader, table.DeleteFramebuffers, ("glDeleteFramebuffers" + s).c_str(), &ignored) && fbo;
    fbo = resolve(loader, table.BindFramebuffer, ("glBindFramebuffer" + s).c_str(), &ignored) && fbo;
    fbo = resolve(loader, table.FramebufferTexture2D, ("glFramebufferTexture2D" + s).c_str(), &ignored) && fbo;
    fbo = resolve(loader, table.CheckFramebufferStatus, ("glCheckFramebufferStatus" + s).c_str(), &ignored) && fbo;
    table.hasFramebufferObjects = fbo;
  }
  table.loaded = true;
  gl = table;
  return true;
}
