// Font names between text objects (installed faces) and files (PostScript
// names), against pinned family lists and against the installed fonts.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "docformat/font_names.h"

namespace zel {
namespace {

const std::vector<std::u16string> kWithTahoma = {u"Courier New", u"DejaVu Sans", u"Liberation Sans", u"Tahoma",
                                                 u"Times New Roman"};
const std::vector<std::u16string> kWithoutTahoma = {u"DejaVu Sans", u"Liberation Serif", u"Times New Roman"};

TEST(FontNamesTest, FaceToPostScript) {
  struct Case {
    const char16_t* face;
    const std::vector<std::u16string>* families;
    const char16_t* expected;
  };
  const Case cases[] = {
      // Other case and spacing resolve to the installed spelling first.
      {u"times new roman", &kWithTahoma, u"TimesNewRomanPS"},
      {u"TimesNewRoman", &kWithTahoma, u"TimesNewRomanPS"},
      {u"Courier New", &kWithTahoma, u"CourierNewPS"},
      // Not in the table: the installed name without its spaces.
      {u"liberation sans", &kWithTahoma, u"LiberationSans"},
      // Not installed: Tahoma when it is there, else the first family.
      {u"Arial", &kWithTahoma, u"Tahoma"},
      {u"Arial", &kWithoutTahoma, u"DejaVuSans"},
      {u"Anything", nullptr, u"Tahoma"},  // no family installed at all
  };
  const std::vector<std::u16string> none;
  for (const Case& c : cases) {
    EXPECT_EQ(FaceToPostScript(c.face, c.families ? *c.families : none), c.expected);
  }
}

TEST(FontNamesTest, PostScriptToFace) {
  EXPECT_EQ(PostScriptToFace(u"CourierNewPSMT", kWithTahoma), u"Courier New");  // second row of the family
  EXPECT_EQ(PostScriptToFace(u"courierNEWps", kWithTahoma), u"Courier New");
  EXPECT_EQ(PostScriptToFace(u"TimesNewRomanPSMT", kWithTahoma), u"Times New Roman");
  EXPECT_EQ(PostScriptToFace(u"LiberationSans", kWithTahoma), u"Liberation Sans");
  EXPECT_EQ(PostScriptToFace(u"ArialMT", kWithTahoma), u"Tahoma");
  EXPECT_EQ(PostScriptToFace(u"ArialMT", kWithoutTahoma), u"DejaVu Sans");
}

// On this system: the fonts of tools/install-deps.sh. A face that is not
// installed resolves to what the editor draws it with, not to whichever
// family sorts first.
TEST(FontNamesTest, InstalledFonts) {
  EXPECT_EQ(ResolveInstalled(u"liberation  SERIF"), u"Liberation Serif");
  EXPECT_EQ(ResolveInstalled(u"Arial"), u"Liberation Sans");
  EXPECT_EQ(ResolveInstalled(u"Times New Roman"), u"Liberation Serif");
  EXPECT_EQ(ResolveInstalled(u"Courier New"), u"Liberation Mono");
  EXPECT_EQ(FaceToPostScript(u"Arial"), u"LiberationSans");
  EXPECT_EQ(PostScriptToFace(u"TimesNewRomanPSMT"), u"Liberation Serif");
  EXPECT_EQ(PostScriptToFace(u"DejaVuSans-Bold"), u"DejaVu Sans");
  EXPECT_EQ(ResolveInstalled(u"No Such Font"), u"DejaVu Sans");
}

}  // namespace
}  // namespace zel
