// The layers keep their places: the game core (src/, its view layer src/ui included) and the
// tools library (tools/) reach no platform library's header, directly or through a header of the
// platform layer; drawing through the GL function table of platform/render/Gl.h is the one
// sanctioned way down. The platform layer below the shell includes no header of the game but the
// interfaces that the game declares for it to implement.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "GameHeaderCheck.h"
#include "PlatformHeaderCheck.h"
#include "SourceTree.h"
#include "TempFolder.h"

namespace {

// SDL, EGL and GL, OpenAL, libsndfile, cairo, Pango (and the GLib under it), libpng, libcurl, X.
const std::vector<std::string> kPlatformHeaders = {
    "SDL", "EGL/", "KHR/", "GL/", "GLES/", "GLES2/", "AL/", "sndfile", "cairo",
    "pango/", "glib", "gio/", "png.h", "pngconf.h", "curl/", "X11/",
};

// The game's interfaces that the platform layer implements.
const std::vector<std::string> kImplementedInterfaces = {"src/sound/SoundEngine.h", "src/scores/online/HttpTransport.h"};

// The folders that must stay clean.
PlatformHeaderCheck::Rules gameRules() {
  return {{"src", "tools"}, kPlatformHeaders, {"platform/render/Gl.h"}};
}

std::string describeAll(const std::vector<PlatformHeaderCheck::Finding>& findings) {
  std::string text;
  for (const auto& finding : findings) text += finding.describe() + "\n";
  return text;
}

TEST(LayeringTest, GameAndToolsReachNoPlatformLibraryHeader) {
  const SourceTree tree(PELLIX_SOURCE_DIR, {"src", "tools", "platform"});
  ASSERT_GT(tree.files().size(), 100u) << "the source tree was not found at " << PELLIX_SOURCE_DIR;
  const auto findings = PlatformHeaderCheck(tree, gameRules()).findings();
  EXPECT_TRUE(findings.empty()) << describeAll(findings);
}

TEST(LayeringTest, PlatformBelowTheShellIncludesNoGameHeader) {
  const SourceTree tree(PELLIX_SOURCE_DIR, {"src", "tools", "platform"});
  ASSERT_GT(tree.files().size(), 100u) << "the source tree was not found at " << PELLIX_SOURCE_DIR;
  std::string found;
  for (const std::string& line : GameHeaderCheck(tree, kImplementedInterfaces).findings()) found += line + "\n";
  EXPECT_EQ("", found);
}

// The upward check on small trees.
TEST(LayeringTest, GameHeaderCheckFindsOnlyIncludesFromBelowTheShellIntoTheGame) {
  const struct {
    const char* name;
    std::map<std::string, std::string> files;
    std::string expected;
  } cases[] = {
      {"a render file includes a game header",
       {{"platform/render/R.cpp", "#include \"Texture.h\"\n"}, {"src/graphics/Texture.h", ""}},
       "platform/render/R.cpp -> src/graphics/Texture.h\n"},
      {"the shell may include the game",
       {{"platform/shell/Main.cpp", "#include \"GameController.h\"\n"}, {"src/controller/GameController.h", ""}},
       ""},
      {"the tools library is not the game",
       {{"platform/net/N.cpp", "#include \"Lock.h\"\n"}, {"tools/Lock.h", ""}},
       ""},
      {"a name the platform layer has itself",
       {{"platform/render/R.cpp", "#include \"Text.h\"\n"}, {"platform/render/Text.h", ""}, {"src/ui/Text.h", ""}},
       ""},
      {"an interface the game declares for the platform layer to implement",
       {{"platform/audio/E.cpp", "#include \"SoundEngine.h\"\n#include \"Board.h\"\n"},
        {"src/sound/SoundEngine.h", ""},
        {"src/model/Board.h", ""}},
       "platform/audio/E.cpp -> src/model/Board.h\n"},
      {"the game including the platform layer is not this check's business",
       {{"src/a/A.cpp", "#include \"Gl.h\"\n"}, {"platform/render/Gl.h", ""}},
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder root;
    for (const auto& [path, text] : c.files) {
      std::filesystem::create_directories(std::filesystem::path(root.path(path)).parent_path());
      TempFolder::writeFile(root.path(path), text);
    }
    const SourceTree tree(root.root(), {"src", "tools", "platform"});
    std::string found;
    for (const std::string& line : GameHeaderCheck(tree, kImplementedInterfaces).findings()) found += line + "\n";
    EXPECT_EQ(c.expected, found);
  }
}

// The check on small trees: what it must find and what it must let pass.
TEST(LayeringTest, CheckFindsEveryWayDownAndOnlyThose) {
  const struct {
    const char* name;
    std::map<std::string, std::string> files;
    std::string expected;
  } cases[] = {
      {"a platform header in a game file",
       {{"src/a/A.cpp", "#include <vector>\n#include <SDL.h>\n"}},
       "src/a/A.cpp -> <SDL.h>\n"},
      {"a platform header through a platform-layer header",
       {{"src/a/A.cpp", "#include \"Window.h\"\n"}, {"platform/shell/Window.h", "#include <SDL.h>\n"}},
       "src/a/A.cpp -> platform/shell/Window.h -> <SDL.h>\n"},
      {"through a game header, then a platform-layer header",
       {{"src/a/A.cpp", "#include \"B.h\"\n"},
        {"src/b/B.h", "#include \"Text.h\"\n"},
        {"platform/render/Text.h", "#pragma once\n#include <pango/pangocairo.h>\n"}},
       "src/a/A.cpp -> src/b/B.h -> platform/render/Text.h -> <pango/pangocairo.h>\n"
       "src/b/B.h -> platform/render/Text.h -> <pango/pangocairo.h>\n"},
      {"the GL function table is the sanctioned way",
       {{"src/a/A.cpp", "#include \"Gl.h\"\n"}, {"platform/render/Gl.h", "#include <GLES/gl.h>\n"}},
       ""},
      {"a library header written in quotes, in the tools",
       {{"tools/Common/T.h", "  #  include \"curl/curl.h\"\n"}},
       "tools/Common/T.h -> <curl/curl.h>\n"},
      {"the platform layer's own files are not checked",
       {{"platform/shell/Main.cpp", "#include <SDL.h>\n"}, {"src/a/A.cpp", "#include <string>\n"}},
       ""},
      {"a commented-out include",
       {{"src/a/A.cpp", "// #include <SDL.h>\n/* #include <cairo.h> */\n"}},
       ""},
      {"an include cycle",
       {{"src/a/A.h", "#include \"B.h\"\n"}, {"src/a/B.h", "#include \"A.h\"\n#include <AL/al.h>\n"}},
       "src/a/A.h -> src/a/B.h -> <AL/al.h>\n"
       "src/a/B.h -> <AL/al.h>\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder root;
    for (const auto& [path, text] : c.files) {
      std::filesystem::create_directories(std::filesystem::path(root.path(path)).parent_path());
      TempFolder::writeFile(root.path(path), text);
    }
    const SourceTree tree(root.root(), {"src", "tools", "platform"});
    EXPECT_EQ(c.expected, describeAll(PlatformHeaderCheck(tree, gameRules()).findings()));
  }
}

}  // namespace
