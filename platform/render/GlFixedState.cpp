// Sets the fixed GL state of the game's drawing.
#include "GlFixedState.h"

#include "Gl.h"

void GlFixedState::apply(int width, int height) {
  // glOrtho(0, w, h, 0, -1, 1) written out, because ES 1.1 and desktop GL name it differently.
  const GLfloat w = static_cast<GLfloat>(width);
  const GLfloat h = static_cast<GLfloat>(height);
  const GLfloat ortho[16] = {
      2.0f / w, 0.0f,      0.0f,  0.0f,
      0.0f,     -2.0f / h, 0.0f,  0.0f,
      0.0f,     0.0f,      -1.0f, 0.0f,
      -1.0f,    1.0f,      0.0f,  1.0f,
  };
  gl.MatrixMode(GL_PROJECTION);
  gl.LoadMatrixf(ortho);
  gl.MatrixMode(GL_MODELVIEW);
  gl.LoadIdentity();

  gl.BlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  // On from the start: the texture drawing only switches it off around opaque quads.
  gl.Enable(GL_BLEND);
  gl.Enable(GL_TEXTURE_2D);
  gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  gl.EnableClientState(GL_VERTEX_ARRAY);
  gl.EnableClientState(GL_TEXTURE_COORD_ARRAY);
  gl.Disable(GL_DITHER);
  gl.Disable(GL_ALPHA_TEST);
  gl.Disable(GL_STENCIL_TEST);
  gl.Disable(GL_FOG);
  gl.Disable(GL_DEPTH_TEST);
  gl.Hint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  gl.Color4f(1.0f, 1.0f, 1.0f, 1.0f);
}
