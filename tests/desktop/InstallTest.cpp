// The installed game: an install into a temporary prefix passes desktop-file-validate,
// appstreamcli and man without a warning, carries every icon size, runs from wherever the
// prefix was moved (reading nothing from the build tree), and names the folder it looked in
// when its data is missing. cpack makes two Debian packages whose dependencies come from the
// linked libraries: the game (in /usr/games, its launcher and manual page naming the package's
// places, and nothing wrong with it for lintian), and the high-score server with its systemd
// units (which systemd-analyze accepts), its settings file as a conffile and its manual page;
// the server runs from the unpacked package and answers.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "CurlHttpTransport.h"
#include "ScoreChecksum.h"
#include "GameSession.h"
#include "ScoresServerProcess.h"
#include "TempFolder.h"
#include "WholeFile.h"
#include "TestEnvironment.h"

namespace {

namespace fs = std::filesystem;

const std::string APP_ID = PELLIX_APP_ID;

struct CommandResult {
  int status = -1;
  std::string output;  // standard output and standard error together
};

CommandResult run(const std::string& command) {
  CommandResult result;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return result;
  std::array<char, 4096> buffer;
  size_t count = 0;
  while ((count = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) result.output.append(buffer.data(), count);
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

std::string readText(const fs::path& path) { return testfiles::readText(path.string()); }

// Width and height from a PNG's header; 0 x 0 when it is not a PNG.
std::pair<int, int> pngSize(const fs::path& path) {
  const std::string bytes = readText(path);
  if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
  auto word = [&](size_t at) {
    return (static_cast<unsigned char>(bytes[at]) << 24) | (static_cast<unsigned char>(bytes[at + 1]) << 16) |
           (static_cast<unsigned char>(bytes[at + 2]) << 8) | static_cast<unsigned char>(bytes[at + 3]);
  };
  return {static_cast<int>(word(16)), static_cast<int>(word(20))};
}

class InstallTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder = new TempFolder();
    prefix = folder->root() / "prefix";
    installed = run(std::string(PELLIX_CMAKE_COMMAND) + " --install " + quoted(PELLIX_BUILD_DIR) + " --prefix " +
                    quoted(prefix));
  }
  static void TearDownTestSuite() {
    delete folder;
    folder = nullptr;
  }
  void SetUp() override { ASSERT_EQ(0, installed.status) << installed.output; }

  static TempFolder* folder;
  static fs::path prefix;
  static CommandResult installed;
};

TempFolder* InstallTest::folder = nullptr;
fs::path InstallTest::prefix;
CommandResult InstallTest::installed;

TEST_F(InstallTest, LauncherAndMetainfoPassTheValidators) {
  const fs::path desktopFile = prefix / "share/applications" / (APP_ID + ".desktop");
  const fs::path metainfo = prefix / "share/metainfo" / (APP_ID + ".metainfo.xml");
  const CommandResult desktop = run("desktop-file-validate " + quoted(desktopFile));
  EXPECT_EQ(0, desktop.status) << desktop.output;
  EXPECT_EQ("", desktop.output);
  const std::string entry = readText(desktopFile);
  // The launcher starts the program this install put in place, wherever the PATH points.
  EXPECT_NE(std::string::npos, entry.find("\nExec=" + (prefix / "bin/pellix").string() + "\n")) << entry;
  EXPECT_NE(std::string::npos, entry.find("\nIcon=" + APP_ID + "\n")) << entry;
  EXPECT_NE(std::string::npos, entry.find("\nStartupWMClass=" + APP_ID + "\n")) << entry;

  const CommandResult appstream = run("appstreamcli validate --no-net " + quoted(metainfo));
  EXPECT_EQ(0, appstream.status) << appstream.output;
  // Neither errors nor warnings (E: and W: lines); infos and pedantic notes are allowed.
  EXPECT_EQ(std::string::npos, appstream.output.find("E: ")) << appstream.output;
  EXPECT_EQ(std::string::npos, appstream.output.find("W: ")) << appstream.output;
  EXPECT_NE(std::string::npos, readText(metainfo).find("<launchable type=\"desktop-id\">" + APP_ID + ".desktop"));

  // Both carry the translations of the catalogues, whose compiled files are installed beside
  // the game's data.
  EXPECT_NE(std::string::npos, entry.find("\nComment[de]=")) << entry;
  EXPECT_NE(std::string::npos, entry.find("\nKeywords[de]=")) << entry;
  EXPECT_NE(std::string::npos, readText(metainfo).find("<summary xml:lang=\"de\">")) << readText(metainfo);
  EXPECT_TRUE(fs::is_regular_file(prefix / "share/locale/de/LC_MESSAGES/pellix.mo"));
}

TEST_F(InstallTest, ManualPagesRenderWithoutWarnings) {
  struct Page {
    const char* path;
    const char* mustMention[3];
  } pages[] = {
      {"share/man/man6/pellix.6.gz", {"PELLIX_SCORES_URL", "gameState.dat", "scores_ca_file"}},
      {"share/man/man8/pellix-scores-server.8.gz", {"--submit-limit", "--tls-cert", "SIGHUP"}},
  };
  for (const Page& page : pages) {
    const fs::path file = prefix / page.path;
    ASSERT_TRUE(fs::exists(file)) << file;
    // Warnings go to standard error; the page itself to the file.
    const fs::path rendered = folder->root() / "page.txt";
    const CommandResult man =
        run("MANWIDTH=80 man --warnings -E UTF-8 -l " + quoted(file) + " 2>&1 >" + quoted(rendered) + " | cat");
    EXPECT_EQ("", man.output) << page.path;
    const std::string text = readText(rendered);
    for (const char* words : page.mustMention) EXPECT_NE(std::string::npos, text.find(words)) << page.path << ": " << words;
  }
  // The game's page names the folder this install put its images and sounds in.
  const fs::path rendered = folder->root() / "game-page.txt";
  run("MANWIDTH=200 man -E UTF-8 -l " + quoted(prefix / "share/man/man6/pellix.6.gz") + " >" + quoted(rendered));
  EXPECT_NE(std::string::npos, readText(rendered).find((prefix / "share/pellix/").string())) << readText(rendered);
}

TEST_F(InstallTest, IconsAtEverySizeAndScalable) {
  for (int size : {16, 24, 32, 48, 64, 128, 256, 512}) {
    const std::string dimension = std::to_string(size) + "x" + std::to_string(size);
    const fs::path icon = prefix / "share/icons/hicolor" / dimension / "apps" / (APP_ID + ".png");
    EXPECT_EQ(std::make_pair(size, size), pngSize(icon)) << icon;
  }
  const std::string svg = readText(prefix / "share/icons/hicolor/scalable/apps" / (APP_ID + ".svg"));
  EXPECT_NE(std::string::npos, svg.find("<svg")) << "no scalable icon";
  EXPECT_EQ(std::make_pair(128, 128), pngSize(prefix / "share/pellix/WindowIcon_128x128.png"));
}

TEST_F(InstallTest, GameAndServerAnswerHelpAndVersion) {
  const CommandResult version = run(quoted(prefix / "bin/pellix") + " --version");
  EXPECT_EQ(0, version.status);
  EXPECT_EQ(std::string("pellix ") + PELLIX_VERSION + "\n", version.output);
  const CommandResult help = run(quoted(prefix / "bin/pellix") + " --help");
  EXPECT_EQ(0, help.status);
  EXPECT_NE(std::string::npos, help.output.find("PELLIX_SCORES_URL"));
  EXPECT_NE(0, run(quoted(prefix / "bin/pellix") + " --fullscreen").status);
  EXPECT_EQ(0, run(quoted(prefix / "bin/pellix-scores-server") + " --help").status);
}

TEST_F(InstallTest, MissingDataIsAClearErrorNamingTheFolder) {
  const fs::path bare = folder->root() / "bare";
  fs::create_directories(bare / "bin");
  fs::copy_file(prefix / "bin/pellix", bare / "bin/pellix");
  const CommandResult started = run("DISPLAY= " + quoted(bare / "bin/pellix"));
  EXPECT_NE(0, started.status);
  EXPECT_NE(std::string::npos, started.output.find((bare / "share/pellix").string())) << started.output;
  EXPECT_NE(std::string::npos, started.output.find("data folder")) << started.output;
}

TEST_F(InstallTest, MovedPrefixRunsTheGame) {
  // Moved after installing: the game finds its data beside itself, and the build tree's
  // resources cannot be what it shows because the install knows nothing of them.
  const fs::path moved = folder->root() / "moved elsewhere";
  fs::create_directories(moved);
  const CommandResult copied = run("cp -a " + quoted(prefix) + "/. " + quoted(moved));
  ASSERT_EQ(0, copied.status) << copied.output;
  GameSession session;
  if (!session.displayReady()) PELLIX_MISSING_PREREQUISITE("Xvfb could not be started: " << session.setupProblem());
  session.setBinary((moved / "bin/pellix").string());
  ASSERT_TRUE(session.launch());
  ASSERT_TRUE(session.waitForFirstFrame(20000)) << session.errorOutput();
  EXPECT_EQ(APP_ID, session.windowClass());
  session.closeWindow();
  EXPECT_EQ(0, session.waitForExit(10000)) << session.errorOutput();
  EXPECT_EQ("", session.errorOutput());
}

TEST_F(InstallTest, ServerSettingsStayInsideAPrivatePrefix) {
  // An install anywhere but /usr keeps the units' settings file in the prefix, never in /etc.
  EXPECT_TRUE(fs::exists(prefix / "etc/default/pellix-scores-server"));
  const std::string unit = readText(prefix / "lib/systemd/system/pellix-scores-server.service");
  EXPECT_NE(std::string::npos, unit.find("ExecStart=" + (prefix / "bin/pellix-scores-server").string() + " "))
      << unit;
}

class DebianPackages : public InstallTest {
 protected:
  // Makes the package of one component (game or server) with cpack; its path, or empty.
  static fs::path pack(const std::string& component, const std::string& packageName) {
    const fs::path packages = folder->root() / ("packages-" + component);
    const CommandResult packed = run("cd " + quoted(PELLIX_BUILD_DIR) + " && " + PELLIX_CPACK_COMMAND +
                                     " -G DEB -D CPACK_COMPONENTS_ALL=" + component + " -B " + quoted(packages));
    EXPECT_EQ(0, packed.status) << packed.output;
    const fs::path deb = packages / (packageName + "_" + std::string(PELLIX_VERSION) + "_amd64.deb");
    EXPECT_TRUE(fs::exists(deb)) << packed.output;
    return fs::exists(deb) ? deb : fs::path();
  }

  static fs::path unpack(const fs::path& deb, const std::string& name) {
    const fs::path into = folder->root() / name;
    const CommandResult unpacked = run("dpkg-deb -x " + quoted(deb) + " " + quoted(into));
    EXPECT_EQ(0, unpacked.status) << unpacked.output;
    return into;
  }
};

TEST_F(DebianPackages, TheGamesPackageDependsOnTheLinkedLibrariesAndRuns) {
  const fs::path game = pack("game", "pellix");
  ASSERT_FALSE(game.empty());
  const CommandResult depends = run("dpkg-deb -f " + quoted(game) + " Depends");
  ASSERT_EQ(0, depends.status) << depends.output;
  for (const char* library : {"libsdl2-2.0-0", "libopenal1", "libcurl4", "libcairo2", "fonts-urw-base35"})
    EXPECT_NE(std::string::npos, depends.output.find(library)) << library << " missing from: " << depends.output;
  // The title bar on a Wayland desktop without server-side decorations.
  const CommandResult recommends = run("dpkg-deb -f " + quoted(game) + " Recommends");
  EXPECT_NE(std::string::npos, recommends.output.find("libdecor-0-plugin-1-cairo")) << recommends.output;
  EXPECT_NE(std::string::npos, recommends.output.find("fonts-noto-cjk")) << recommends.output;

  // Debian keeps games in /usr/games, with the package's copyright and changelog in its doc folder.
  const CommandResult contents = run("dpkg-deb -c " + quoted(game));
  for (const std::string& file : std::vector<std::string>{
           "./usr/games/pellix", "./usr/share/pellix/Default.png", "./usr/share/applications/" + APP_ID + ".desktop",
           "./usr/share/man/man6/pellix.6.gz", "./usr/share/doc/pellix/copyright",
           "./usr/share/doc/pellix/changelog.gz", "./usr/share/locale/de/LC_MESSAGES/pellix.mo"})
    EXPECT_NE(std::string::npos, contents.output.find(file)) << file;
  EXPECT_EQ(std::string::npos, contents.output.find("./usr/bin/")) << contents.output;
  // The server is a package of its own.
  EXPECT_EQ(std::string::npos, contents.output.find("pellix-scores-server")) << contents.output;

  // Unpacked anywhere, the packaged game finds its data and starts far enough to answer.
  const fs::path unpacked = unpack(game, "game");
  // Its launcher and manual page name the places the package installs.
  EXPECT_NE(std::string::npos,
            readText(unpacked / "usr/share/applications" / (APP_ID + ".desktop")).find("\nExec=/usr/games/pellix\n"));
  const CommandResult page =
      run("MANWIDTH=200 man -E UTF-8 -l " + quoted(unpacked / "usr/share/man/man6/pellix.6.gz"));
  EXPECT_NE(std::string::npos, page.output.find("/usr/share/pellix/")) << page.output;
  EXPECT_EQ(std::string::npos, page.output.find("/usr/local")) << page.output;
  const CommandResult version = run(quoted(unpacked / "usr/games/pellix") + " --version");
  EXPECT_EQ(std::string("pellix ") + PELLIX_VERSION + "\n", version.output);
  // A data folder of its own: a game the user runs meanwhile must not answer for this one.
  const fs::path home = folder->root() / "home";
  const CommandResult noDisplay = run("DISPLAY= WAYLAND_DISPLAY= XDG_DATA_HOME=" + quoted(home / "data") +
                                      " XDG_CONFIG_HOME=" + quoted(home / "config") + " " +
                                      quoted(unpacked / "usr/games/pellix"));
  EXPECT_NE(0, noDisplay.status);
  EXPECT_NE(std::string::npos, noDisplay.output.find("display")) << noDisplay.output;
}

// lintian, Debian's own check of a package, finds neither an error nor a warning in the game's.
// It belongs to the tools the suite installs: missing, it fails this test.
TEST_F(DebianPackages, LintianFindsNothingWrongWithTheGamesPackage) {
  const fs::path game = pack("game", "pellix");
  ASSERT_FALSE(game.empty());
  const CommandResult version = run("lintian --version");
  ASSERT_EQ(0, version.status) << "lintian is missing: " << version.output;
  // Its cache files go to a folder of the test's, removed with it.
  const fs::path scratch = folder->root() / "lintian-tmp";
  fs::create_directories(scratch);
  const CommandResult checked = run("TMPDIR=" + quoted(scratch) + " lintian " + quoted(game));
  std::string problems;
  size_t start = 0;
  while (start < checked.output.size()) {
    size_t end = checked.output.find('\n', start);
    if (end == std::string::npos) end = checked.output.size();
    const std::string line = checked.output.substr(start, end - start);
    if (line.compare(0, 3, "E: ") == 0 || line.compare(0, 3, "W: ") == 0) problems += line + "\n";
    start = end + 1;
  }
  EXPECT_EQ("", problems);
  EXPECT_EQ(0, checked.status) << checked.output;
}

TEST_F(DebianPackages, TheServersPackageHoldsItsUnitsSettingsAndManualPage) {
  const fs::path server = pack("server", "pellix-scores-server");
  ASSERT_FALSE(server.empty());
  const CommandResult depends = run("dpkg-deb -f " + quoted(server) + " Depends");
  for (const char* library : {"libmicrohttpd12", "libgnutls30", "libsqlite3-0", "libpq5"})
    EXPECT_NE(std::string::npos, depends.output.find(library)) << library << " missing from: " << depends.output;
  EXPECT_EQ(std::string::npos, depends.output.find("libsdl2")) << depends.output;
  const CommandResult contents = run("dpkg-deb -c " + quoted(server));
  for (const char* file : {"./usr/bin/pellix-scores-server", "./usr/lib/systemd/system/pellix-scores-server.service",
                           "./usr/lib/systemd/system/pellix-scores-server@.service",
                           "./etc/default/pellix-scores-server", "./usr/share/man/man8/pellix-scores-server.8.gz"})
    EXPECT_NE(std::string::npos, contents.output.find(file)) << file << " missing from: " << contents.output;
  // The settings file is the administrator's: an upgrade keeps their changes.
  const CommandResult conffiles = run("dpkg-deb -I " + quoted(server) + " conffiles");
  EXPECT_EQ("/etc/default/pellix-scores-server\n", conffiles.output);

  const fs::path unpacked = unpack(server, "server");
  const std::string unit = readText(unpacked / "usr/lib/systemd/system/pellix-scores-server.service");
  for (const char* line : {"ExecStart=/usr/bin/pellix-scores-server ", "StateDirectory=pellix-scores-server\n",
                           "DynamicUser=yes\n", "EnvironmentFile=-/etc/default/pellix-scores-server\n",
                           "PELLIX_SCORES_DB=/var/lib/pellix-scores-server/"})
    EXPECT_NE(std::string::npos, unit.find(line)) << line;

  // systemd-analyze checks each unit as systemd would load it (no running systemd needed): the
  // units are copied with ExecStart pointing at the unpacked binary, since the package is not
  // installed. It reports problems on its output even when it exits with 0.
  if (run("systemd-analyze --version").status != 0) PELLIX_MISSING_PREREQUISITE("systemd-analyze is missing");
  const fs::path units = folder->root() / "units";
  fs::create_directories(units);
  for (const char* name : {"pellix-scores-server.service", "pellix-scores-server@.service"}) {
    std::string text = readText(unpacked / "usr/lib/systemd/system" / name);
    const std::string installed = "/usr/bin/pellix-scores-server";
    ASSERT_NE(std::string::npos, text.find(installed)) << name;
    text.replace(text.find(installed), installed.size(), (unpacked / "usr/bin/pellix-scores-server").string());
    std::ofstream(units / name) << text;
  }
  const CommandResult verified =
      run("systemd-analyze --man=no verify " + quoted(units / "pellix-scores-server.service") + " " +
          quoted(units / "pellix-scores-server@8642.service"));
  EXPECT_EQ(0, verified.status) << verified.output;
  EXPECT_EQ("", verified.output);

  // The manual page renders from the package.
  const CommandResult page =
      run("MANWIDTH=80 man -E UTF-8 -l " + quoted(unpacked / "usr/share/man/man8/pellix-scores-server.8.gz"));
  EXPECT_EQ(0, page.status) << page.output;
  EXPECT_NE(std::string::npos, page.output.find("--tls-cert")) << page.output;

  // The packaged server serves: a score sent is the table fetched.
  ScoresServerProcess running((folder->root() / "scores.db").string(), {},
                              (unpacked / "usr/bin/pellix-scores-server").string());
  ASSERT_TRUE(running.started()) << running.output();
  CurlHttpTransport transport;
  const std::string name = "Packaged";
  const int hash = ScoreChecksum::ofSubmission(0, 3, 0, name.data(), name.size(), 77);
  const HttpResponse sent = transport.post(
      running.baseUrl() + "/pellix/submit_score/",
      "game_id=0&game_mode=3&device_id=0&user_name=" + name + "&score=77&hash=" + std::to_string(hash),
      {{"Content-Type", "application/x-www-form-urlencoded"}});
  EXPECT_EQ(200, sent.status) << sent.error << sent.body;
  const HttpResponse table =
      transport.get(running.baseUrl() + "/pellix/top_scores/?game_id=0&game_mode=3&max_res=10");
  EXPECT_EQ("name,score\nPackaged,77\n", table.body) << table.error;
}

}  // namespace
