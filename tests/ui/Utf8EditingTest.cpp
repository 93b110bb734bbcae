// Text entry over UTF-8: cleaning typed bytes, and caret steps and deletions that always cover a
// whole character.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "EditableText.h"
#include "Utf8Text.h"

namespace {

using Ui::EditableText;
using Ui::Utf8Text;

const std::string REPLACEMENT = "\xEF\xBF\xBD";

struct SanitizeCase {
  const char* label;
  std::string input;
  std::string expected;  // with control characters dropped
};

TEST(Utf8TextTest, AnyBytesBecomeValidTextWithoutControlCharacters) {
  const std::vector<SanitizeCase> cases = {
      {"ascii", "Ann Lee", "Ann Lee"},
      {"two-byte letter", "J\xC3\xBCrgen", "J\xC3\xBCrgen"},
      {"four-byte emoji", "\xF0\x9F\x98\x80!", "\xF0\x9F\x98\x80!"},
      {"euro sign cut short", "a\xE2\x82", "a" + REPLACEMENT},
      {"lone continuation byte", "\x80z", REPLACEMENT + "z"},
      {"overlong slash", "\xC0\xAF", REPLACEMENT},
      {"surrogate half", "\xED\xA0\x80x", REPLACEMENT + "x"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", REPLACEMENT},
      {"byte FF", "\xFF", REPLACEMENT},
      {"line break and tab", "a\nb\tc\r", "abc"},
      {"NUL inside", std::string("a\0b", 3), "ab"},
      {"DEL and C1 control", "a\x7F\xC2\x85" "b", "ab"},
      {"empty", "", ""},
  };
  for (const SanitizeCase& c : cases) {
    EXPECT_EQ(Utf8Text::sanitize(c.input, true), c.expected) << c.label;
    // Cleaning is stable: clean text passes unchanged.
    EXPECT_EQ(Utf8Text::sanitize(c.expected, true), c.expected) << c.label;
  }
  EXPECT_EQ(Utf8Text::sanitize("a\nb", false), "a\nb");
}

struct BackspaceCase {
  const char* label;
  std::string before;
  std::string after;
};

TEST(EditableTextTest, BackspaceRemovesOneWholeCharacter) {
  const std::vector<BackspaceCase> cases = {
      {"ascii", "abc", "ab"},
      {"two-byte letter", "a\xC3\xA9", "a"},
      {"three-byte euro", "a\xE2\x82\xAC", "a"},
      {"four-byte emoji", "a\xF0\x9F\x98\x80", "a"},
      {"only a two-byte letter", "\xC3\xA9", ""},
      // A combining accent is a character of its own: only it goes.
      {"combining accent", "e\xCC\x81", "e"},
  };
  for (const BackspaceCase& c : cases) {
    EditableText text;
    text.setText(c.before);
    EXPECT_TRUE(text.deleteBackward()) << c.label;
    EXPECT_EQ(text.text(), c.after) << c.label;
    EXPECT_EQ(text.caret(), c.after.size()) << c.label;
  }
}

TEST(EditableTextTest, EditingAtTheCaretInTheMiddleOfMultibyteText) {
  EditableText text;
  text.setText("\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80");  // ä € 😀
  text.moveLeft();  // before 😀
  EXPECT_EQ(text.caret(), 5u);
  text.moveLeft();  // before €
  EXPECT_EQ(text.caret(), 2u);
  EXPECT_TRUE(text.insert("x"));
  EXPECT_EQ(text.text(), "\xC3\xA4x\xE2\x82\xAC\xF0\x9F\x98\x80");
  EXPECT_EQ(text.caret(), 3u);
  EXPECT_TRUE(text.deleteForward());  // the €
  EXPECT_EQ(text.text(), "\xC3\xA4x\xF0\x9F\x98\x80");
  text.moveToStart();
  EXPECT_FALSE(text.deleteBackward());  // nothing before the start
  text.moveToEnd();
  EXPECT_FALSE(text.deleteForward());  // nothing after the end
  EXPECT_EQ(text.text(), "\xC3\xA4x\xF0\x9F\x98\x80");
}

TEST(EditableTextTest, CaretPlacedInsideACharacterFallsBackToItsStart) {
  EditableText text;
  text.setText("a\xF0\x9F\x98\x80" "b");
  for (size_t inside = 2; inside <= 4; ++inside) {
    text.setCaret(inside);
    EXPECT_EQ(text.caret(), 1u) << inside;
  }
  text.setCaret(999);
  EXPECT_EQ(text.caret(), text.text().size());
}

TEST(EditableTextTest, TypedTextIsCleanedAndTextWithoutCharactersChangesNothing) {
  EditableText text;
  EXPECT_FALSE(text.insert(""));
  EXPECT_FALSE(text.insert("\n"));
  EXPECT_FALSE(text.insert("\t\r"));
  EXPECT_TRUE(text.isEmpty());
  EXPECT_TRUE(text.insert("A\xE2\x82"));  // cut-off sequence from a broken input method
  EXPECT_EQ(text.text(), "A" + REPLACEMENT);
}

TEST(EditableTextTest, NamesOfAnyLengthAreKept) {
  EditableText text;
  std::string expected;
  for (int i = 0; i < 5000; ++i) {
    text.insert("\xC3\xB8");
    expected += "\xC3\xB8";
  }
  EXPECT_EQ(text.text(), expected);
  EXPECT_EQ(Utf8Text::length(text.text()), 5000u);
}

// A name offered selected: typing replaces it, a deletion clears it, a caret step keeps it and
// edits from there; an empty text has nothing to select.
TEST(EditableTextTest, SelectedTextIsReplacedByTypingOrKeptByAStep) {
  EditableText text;
  text.selectAll();
  EXPECT_FALSE(text.isAllSelected());
  struct Case {
    const char* name;
    void (*edit)(EditableText&);
    const char* result;
    size_t caret;
  } cases[] = {
      {"typing", [](EditableText& t) { t.insert("Zo\xC3\xAB"); }, "Zo\xC3\xAB", 4},
      {"backspace", [](EditableText& t) { t.deleteBackward(); }, "", 0},
      {"delete", [](EditableText& t) { t.deleteForward(); }, "", 0},
      {"left, then typing", [](EditableText& t) { t.moveLeft(); t.insert("x"); }, "Ann Smitxh", 9},
      {"home, then typing", [](EditableText& t) { t.moveToStart(); t.insert("x"); }, "xAnn Smith", 1},
      {"a click, then backspace", [](EditableText& t) { t.setCaret(3); t.deleteBackward(); }, "An Smith", 2},
  };
  for (const Case& c : cases) {
    text.setText("Ann Smith");
    text.selectAll();
    EXPECT_TRUE(text.isAllSelected()) << c.name;
    EXPECT_EQ(9u, text.caret()) << c.name;
    c.edit(text);
    EXPECT_EQ(c.result, text.text()) << c.name;
    EXPECT_EQ(c.caret, text.caret()) << c.name;
    EXPECT_FALSE(text.isAllSelected()) << c.name;
  }
  text.selectAll();
  text.setText("Bo");
  EXPECT_FALSE(text.isAllSelected());
}

// Random keyboard sessions: the text stays valid UTF-8 and the caret on a boundary whatever
// the order of typing, stepping and deleting.
TEST(EditableTextTest, RandomEditingKeepsTextValidAndCaretOnBoundaries) {
  const unsigned seed = std::random_device()();
  std::printf("RandomEditingKeepsTextValidAndCaretOnBoundaries seed %u\n", seed);
  std::mt19937 random(seed);
  const std::vector<std::string> pieces = {"a", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xE2\x82", "\n",
                                           "\xCC\x81", "xyz", "\xFF"};
  EditableText text;
  for (int step = 0; step < 4000; ++step) {
    switch (random() % 8) {
      case 0:
      case 1: text.insert(pieces[random() % pieces.size()]); break;
      case 2: text.deleteBackward(); break;
      case 3: text.deleteForward(); break;
      case 4: text.moveLeft(); break;
      case 5: text.moveRight(); break;
      case 6: text.selectAll(); break;
      default: text.setCaret(random() % (text.text().size() + 2)); break;
    }
    ASSERT_EQ(Utf8Text::sanitize(text.text(), true), text.text()) << "seed " << seed << " step " << step;
    ASSERT_TRUE(Utf8Text::isBoundary(text.text(), text.caret())) << "seed " << seed << " step " << step;
  }
}

}  // namespace
