// The preferences file, with real files in a temporary folder: the look's round trip, damaged
// and unknown values falling back to the default look, the score server's CA file, lines the game does not know kept when
// it rewrites the file, a failed save leaving the old file whole; and where the shell puts it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "DataDirectory.h"
#include "Preferences.h"
#include "TempFolder.h"

namespace {

TEST(Preferences, EveryLookSurvivesARoundTrip) {
  TempFolder folder("pellix-preferences");
  const std::string path = folder.path("preferences");
  EXPECT_EQ(Look::GLOSSY, Preferences(path).look()) << "a missing file gives the default look";
  for (Look look : Looks::ALL) {
    Preferences written(path);
    written.setLook(look);
    ASSERT_TRUE(written.save());
    EXPECT_EQ(look, Preferences(path).look()) << Looks::nameOf(look);
    EXPECT_EQ(std::string("look = ") + Looks::nameOf(look) + "\n", TempFolder::contentOf(path));
  }
}

TEST(Preferences, DamagedOrUnknownValuesReadAsTheDefaultLook) {
  struct Case {
    const char* content;
    Look expected;
  };
  const Case cases[] = {
      {"look = colour-blind\n", Look::COLOUR_BLIND},
      {"  look=high-contrast  \r\n", Look::HIGH_CONTRAST},
      {"look = high-contrast\nlook = colour-blind", Look::COLOUR_BLIND},  // the last line counts
      {"look = neon\n", Look::GLOSSY},
      {"look = High-Contrast\n", Look::GLOSSY},
      {"look =\n", Look::GLOSSY},
      {"look high-contrast\n", Look::GLOSSY},
      {"# look = high-contrast\n", Look::GLOSSY},
      {"= high-contrast\n", Look::GLOSSY},
      {"\x01\xfflook = colour-blind\n", Look::GLOSSY},
      {"", Look::GLOSSY},
  };
  TempFolder folder("pellix-preferences");
  const std::string path = folder.path("preferences");
  for (const Case& c : cases) {
    TempFolder::writeFile(path, c.content);
    EXPECT_EQ(c.expected, Preferences(path).look()) << c.content;
  }
  // Something far larger than a preferences file is not read at all.
  TempFolder::writeFile(path, "look = colour-blind\n" + std::string(Preferences::MAX_FILE_BYTES, '#'));
  EXPECT_EQ(Look::GLOSSY, Preferences(path).look());
  // A folder where the file belongs reads as the defaults, and is not replaced.
  std::filesystem::remove(path);
  std::filesystem::create_directory(path);
  Preferences inFolder(path);
  EXPECT_EQ(Look::GLOSSY, inFolder.look());
  inFolder.setLook(Look::HIGH_CONTRAST);
  EXPECT_FALSE(inFolder.save());
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST(Preferences, TheScoreServersCaFileIsAnAbsolutePathOrNone) {
  const std::pair<const char*, const char*> cases[] = {
      {"scores_ca_file = /etc/pellix/ca file.pem\n", "/etc/pellix/ca file.pem"},
      {"scores_ca_file = /old.pem\nscores_ca_file = /new.pem\n", "/new.pem"},
      {"scores_ca_file = ca.pem\n", ""},  // relative to wherever the game was started
      {"scores_ca_file = ~/ca.pem\n", ""},
      {"scores_ca_file =\n", ""},
      {"look = glossy\n", ""},
  };
  TempFolder folder("pellix-preferences");
  const std::string path = folder.path("preferences");
  for (const auto& [content, expected] : cases) {
    TempFolder::writeFile(path, content);
    EXPECT_EQ(expected, Preferences(path).scoresCaFile()) << content;
  }
}

TEST(Preferences, RewritingKeepsCommentsUnknownKeysAndDamagedLines) {
  TempFolder folder("pellix-preferences");
  const std::string path = folder.path("preferences");
  const std::string before =
      "# Pellix preferences\n"
      "scores_url = https://scores.example.org/pellix#main\n"
      "\n"
      "look = neon\n"
      "this line is damaged\n"
      "ca_file = /etc/ssl/pellix.pem\n";
  TempFolder::writeFile(path, before);
  Preferences preferences(path);
  EXPECT_EQ("https://scores.example.org/pellix#main", preferences.value("scores_url"));
  EXPECT_EQ("", preferences.value("missing"));
  preferences.setLook(Look::COLOUR_BLIND);
  preferences.setValue("volume_hint", "quiet");
  ASSERT_TRUE(preferences.save());
  EXPECT_EQ(
      "# Pellix preferences\n"
      "scores_url = https://scores.example.org/pellix#main\n"
      "\n"
      "look = colour-blind\n"
      "this line is damaged\n"
      "ca_file = /etc/ssl/pellix.pem\n"
      "volume_hint = quiet\n",
      TempFolder::contentOf(path));
}

// Saves into a folder nobody may write to; run as root, the save runs in a child that has given
// up root (root writes anywhere).
bool saveInLockedFolder(const Preferences& preferences) {
  if (geteuid() != 0) return preferences.save();
  const pid_t child = fork();
  if (child == 0) {
    const bool dropped = setgid(65534) == 0 && setuid(65534) == 0;
    _exit(dropped && !preferences.save() ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(Preferences, AFailedSaveLeavesTheOldFileWhole) {
  TempFolder folder("pellix-preferences");
  const std::string locked = folder.path("locked");
  std::filesystem::create_directory(locked);
  const std::string path = locked + "/preferences";
  const std::string old = "# mine\nlook = colour-blind\n";
  TempFolder::writeFile(path, old);
  ASSERT_EQ(0, chmod(locked.c_str(), 0555));
  Preferences preferences(path);
  preferences.setLook(Look::HIGH_CONTRAST);
  EXPECT_FALSE(saveInLockedFolder(preferences));
  ASSERT_EQ(0, chmod(locked.c_str(), 0755));
  EXPECT_EQ(old, TempFolder::contentOf(path));
  EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(locked), std::filesystem::directory_iterator()))
      << "no temporary file is left behind";
  // Without a home folder the shell has no path: the defaults hold and nothing is written.
  Preferences nowhere("");
  EXPECT_EQ(Look::GLOSSY, nowhere.look());
  nowhere.setLook(Look::COLOUR_BLIND);
  EXPECT_FALSE(nowhere.save());
}

TEST(Preferences, TheShellKeepsThemInTheUsersConfigurationFolder) {
  TempFolder folder("pellix-preferences");
  const std::string base = folder.str();
  const char* savedHome = std::getenv("HOME");
  const char* savedConfig = std::getenv("XDG_CONFIG_HOME");
  const std::string home = savedHome != nullptr ? savedHome : "";
  const std::string config = savedConfig != nullptr ? savedConfig : "";

  setenv("XDG_CONFIG_HOME", (base + "/config").c_str(), 1);
  EXPECT_EQ(base + "/config/pellix/preferences", DataDirectory::preferencesFile());
  EXPECT_TRUE(std::filesystem::is_directory(base + "/config/pellix"));
  // A relative XDG_CONFIG_HOME is not valid: the home folder's default is used.
  setenv("XDG_CONFIG_HOME", "relative/config", 1);
  setenv("HOME", base.c_str(), 1);
  EXPECT_EQ(base + "/.config/pellix/preferences", DataDirectory::preferencesFile());
  EXPECT_TRUE(std::filesystem::is_directory(base + "/.config/pellix"));
  unsetenv("XDG_CONFIG_HOME");
  unsetenv("HOME");
  EXPECT_EQ("", DataDirectory::preferencesFile());

  setenv("HOME", home.c_str(), 1);
  if (config.empty()) {
    unsetenv("XDG_CONFIG_HOME");
  } else {
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  }
}

}  // namespace
