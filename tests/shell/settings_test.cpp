// The settings store: its file, every value's default, the ranges applied
// on reading and writing, round trips, and where the files live.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "shell/app_directory.h"
#include "shell/measurement_unit.h"
#include "shell/settings_file.h"
#include "shell/shell_settings.h"
#include "view/setting_names.h"
#include "view/view_preferences.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zel-settings-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    path_ = dir_ + "/config/zel/settings";
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string FileText() const {
    std::ifstream in(path_);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  void WriteText(const std::string& text) const {
    fs::create_directories(fs::path(path_).parent_path());
    std::ofstream(path_) << text;
  }

  std::string dir_;
  std::string path_;
};

TEST_F(SettingsTest, EveryValueHasItsDefaultWhenNothingIsStored) {
  SettingsFile store(path_);
  const ViewPreferences p = LoadViewPreferences(store);
  EXPECT_EQ(p.penColor, 0x321A75u);
  EXPECT_EQ(p.brushColor, 0x14B4DFu);
  EXPECT_EQ(p.textColor, 0u);
  EXPECT_EQ(p.textType, 1);
  EXPECT_FLOAT_EQ(p.textHeight, 70.5555f);
  EXPECT_FALSE(p.showGrid);
  EXPECT_FLOAT_EQ(p.gridSpacing, 100.0f);
  EXPECT_FLOAT_EQ(p.snapSpacing, 0.0f);
  EXPECT_FALSE(p.antiAlias);
  EXPECT_EQ(p.imageResolution, 640);
  EXPECT_FALSE(p.showScrollBars);
  EXPECT_TRUE(LoadShowPage(store));
  const PageSize page = LoadDefaultPageSize(store);
  EXPECT_FLOAT_EQ(page.width, 1480.0f);
  EXPECT_FLOAT_EQ(page.height, 2100.0f);
  int32_t unit = kUnitMm;
  LoadMeasurementUnit(store, unit);
  EXPECT_EQ(unit, kUnitMm);
  EXPECT_EQ(LoadColorModel(store), 0);
  EXPECT_FALSE(LoadLastCategory(store).has_value());
  const FtpAccount ftp = LoadFtpAccount(store);
  EXPECT_EQ(ftp.server, u"");
  EXPECT_EQ(ftp.folder, u"");
  EXPECT_EQ(ftp.username, u"");
  EXPECT_EQ(ftp.password, u"");
  EXPECT_EQ(ftp.port, 21u);
  EXPECT_EQ(LoadDefaultTemplate(store), u"");
  EXPECT_EQ(LoadLastTempFile(store), u"");
  // Reading never creates the file.
  EXPECT_FALSE(fs::exists(path_));
}

struct ClampCase {
  std::string_view name;
  uint32_t stored;
  float read;
  uint32_t writtenBack;
};

TEST_F(SettingsTest, RangesApplyOnReadingAndWriting) {
  const ClampCase cases[] = {
      {setting::kGridSpacing, 5, 10.0f, 1000},
      {setting::kGridSpacing, 400000, 3000.0f, 300000},
      {setting::kGridSpacing, 0xFFFFFF9C, 10.0f, 1000},  // -1.0
      {setting::kGridSpacing, 2550, 25.5f, 2550},
      {setting::kSnapSpacing, 20000, 100.0f, 10000},
      {setting::kSnapSpacing, 0xFFFFFC18, 0.0f, 0},  // -10.0
      {setting::kSnapSpacing, 5000, 50.0f, 5000},
      {setting::kTextHeight, 100, 3.0f, 300},
      {setting::kTextHeight, 299, 3.0f, 300},
      {setting::kTextHeight, 12345, 123.45f, 12345},
  };
  for (const ClampCase& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.stored));
    fs::remove_all(dir_ + "/config");
    SettingsFile store(path_);
    ASSERT_TRUE(store.WriteSettingDword(c.name, c.stored));
    const ViewPreferences p = LoadViewPreferences(store);
    const float read = c.name == setting::kGridSpacing   ? p.gridSpacing
                       : c.name == setting::kSnapSpacing ? p.snapSpacing
                                                         : p.textHeight;
    EXPECT_FLOAT_EQ(read, c.read);
    SaveViewPreferences(store, p);
    uint32_t back = 0;
    ASSERT_TRUE(store.ReadSettingDword(c.name, back));
    EXPECT_EQ(back, c.writtenBack);
  }
}

TEST_F(SettingsTest, ValuesOutOfRangeWrittenByTheViewAreClampedBeforeWriting) {
  SettingsFile store(path_);
  ViewPreferences p;
  p.gridSpacing = 2.0f;
  p.snapSpacing = 1000.0f;
  SaveViewPreferences(store, p);
  uint32_t v = 0;
  ASSERT_TRUE(store.ReadSettingDword(setting::kGridSpacing, v));
  EXPECT_EQ(v, 1000u);
  ASSERT_TRUE(store.ReadSettingDword(setting::kSnapSpacing, v));
  EXPECT_EQ(v, 10000u);
}

TEST_F(SettingsTest, ImageResolutionBelowOneIsReplaced) {
  for (uint32_t stored : {0u, 0xFFFFFFFFu, 0x80000000u}) {
    SettingsFile store(path_);
    ASSERT_TRUE(store.WriteSettingDword(setting::kImageResolution, stored));
    EXPECT_EQ(LoadViewPreferences(store).imageResolution, 640) << stored;
  }
}

TEST_F(SettingsTest, EveryValueSurvivesARoundTrip) {
  ViewPreferences p;
  p.penColor = 0x010203;
  p.brushColor = 0x040506;
  p.textColor = 0x070809;
  p.textType = 2;
  p.textHeight = 123.45f;
  p.showGrid = true;
  p.gridSpacing = 55.5f;
  p.snapSpacing = 12.34f;
  p.antiAlias = true;
  p.imageResolution = 1234;
  p.showScrollBars = true;
  FtpAccount ftp{u"ftp.example.org", u"/in \"box\"", u"jos\u00E9", u"p\\w=d\n\u20AC", 2121};
  {
    SettingsFile store(path_);
    SaveViewPreferences(store, p);
    SaveMeasurementUnit(store, kUnitInch);
    SaveShowPage(store, false);
    SaveDefaultPageSize(store, PageSize{2970.0f, 4200.5f});
    SaveColorModel(store, 1);
    SaveLastCategory(store, 3);
    SaveFtpAccount(store, ftp);
    SaveDefaultTemplate(store, u"Invoice");
    SaveLastTempFile(store, u"drawing1.pdf");
  }
  SettingsFile store(path_);  // a fresh reader of the same file
  const ViewPreferences q = LoadViewPreferences(store);
  EXPECT_EQ(q.penColor, p.penColor);
  EXPECT_EQ(q.brushColor, p.brushColor);
  EXPECT_EQ(q.textColor, p.textColor);
  EXPECT_EQ(q.textType, 2);
  EXPECT_FLOAT_EQ(q.textHeight, 123.45f);
  EXPECT_TRUE(q.showGrid);
  EXPECT_FLOAT_EQ(q.gridSpacing, 55.5f);
  EXPECT_FLOAT_EQ(q.snapSpacing, 12.34f);
  EXPECT_TRUE(q.antiAlias);
  EXPECT_EQ(q.imageResolution, 1234);
  EXPECT_TRUE(q.showScrollBars);
  int32_t unit = kUnitMm;
  LoadMeasurementUnit(store, unit);
  EXPECT_EQ(unit, kUnitInch);
  EXPECT_FALSE(LoadShowPage(store));
  EXPECT_FLOAT_EQ(LoadDefaultPageSize(store).width, 2970.0f);
  EXPECT_FLOAT_EQ(LoadDefaultPageSize(store).height, 4200.5f);
  EXPECT_EQ(LoadColorModel(store), 1);
  EXPECT_EQ(LoadLastCategory(store), 3);
  const FtpAccount back = LoadFtpAccount(store);
  EXPECT_EQ(back.server, ftp.server);
  EXPECT_EQ(back.folder, ftp.folder);
  EXPECT_EQ(back.username, ftp.username);
  EXPECT_EQ(back.password, ftp.password);
  EXPECT_EQ(back.port, 2121u);
  EXPECT_EQ(LoadDefaultTemplate(store), u"Invoice");
  EXPECT_EQ(LoadLastTempFile(store), u"drawing1.pdf");
}

TEST_F(SettingsTest, TheUnitLivesInTheUnnamedValue) {
  SettingsFile store(path_);
  SaveMeasurementUnit(store, kUnitCm);
  EXPECT_NE(FileText().find("\n@=dword:00000000\n"), std::string::npos) << FileText();
  uint32_t v = 99;
  ASSERT_TRUE(store.ReadSettingDword("", v));
  EXPECT_EQ(v, 0u);

  // Settings written by hand (or by an older program) are read the same way.
  WriteText("; edited\n@=dword:00000003\nPenColor=dword:ff\n");
  int32_t unit = kUnitMm;
  LoadMeasurementUnit(store, unit);
  EXPECT_EQ(unit, kUnitTenthMm);

  // Deleting the unnamed value leaves the program's starting unit, mm.
  WriteText("PenColor=dword:ff\n");
  unit = kUnitMm;
  LoadMeasurementUnit(store, unit);
  EXPECT_EQ(unit, kUnitMm);
  EXPECT_EQ(LoadViewPreferences(store).penColor, 0xFFu);
}

TEST_F(SettingsTest, TheFileIsReadableByItsOwnerOnly) {
  WriteText("PenColor=dword:ff\n");
  ASSERT_EQ(::chmod(path_.c_str(), 0644), 0);
  SettingsFile store(path_);
  ASSERT_TRUE(store.WriteSettingString(setting::kPassword, u"secret"));
  struct stat st{};
  ASSERT_EQ(::stat(path_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);

  // A new file in a new folder: the folder admits only its owner too.
  const std::string fresh = dir_ + "/new/deeper/settings";
  SettingsFile other(fresh);
  ASSERT_TRUE(other.WriteSettingDword(setting::kFtpPort, 21));
  ASSERT_EQ(::stat(fresh.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  ASSERT_EQ(::stat((dir_ + "/new/deeper").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0700u);
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_ + "/new/deeper"), fs::directory_iterator()), 1);
}

TEST_F(SettingsTest, WritingKeepsTheOtherValuesAndSkipsLinesItCannotRead) {
  WriteText("[Software\\Orvane\\Draw]\nPenColor=dword:00ff00\nnonsense\nGridSpacing=dword:xyz\n"
            "FtpServer=\"a\\qb\"\nBrushColor=\"text\"\r\nPenColor=dword:0000ff\n");
  SettingsFile store(path_);
  uint32_t v = 0;
  ASSERT_TRUE(store.ReadSettingDword(setting::kPenColor, v));
  EXPECT_EQ(v, 0xFFu);  // the later line wins
  EXPECT_FALSE(store.ReadSettingDword(setting::kGridSpacing, v));
  std::u16string text;
  EXPECT_FALSE(store.ReadSettingString(setting::kFtpServer, text));  // bad escape
  // A value of the other type is not read.
  EXPECT_FALSE(store.ReadSettingDword(setting::kBrushColor, v));
  ASSERT_TRUE(store.ReadSettingString(setting::kBrushColor, text));
  EXPECT_EQ(text, u"text");

  ASSERT_TRUE(store.WriteSettingDword(setting::kShowGrid, 1));
  ASSERT_TRUE(store.ReadSettingDword(setting::kPenColor, v));
  EXPECT_EQ(v, 0xFFu);
  ASSERT_TRUE(store.ReadSettingString(setting::kBrushColor, text));
  EXPECT_EQ(text, u"text");
  ASSERT_TRUE(store.ReadSettingDword(setting::kShowGrid, v));
  EXPECT_EQ(v, 1u);
}

TEST_F(SettingsTest, StringsOfAHundredCharactersOrMoreAreNotRead) {
  SettingsFile store(path_);
  const std::u16string fits(99, u'x');
  const std::u16string tooLong(100, u'x');
  ASSERT_TRUE(store.WriteSettingString(setting::kFtpFolder, fits));
  ASSERT_TRUE(store.WriteSettingString(setting::kFtpServer, tooLong));
  std::u16string text = u"unchanged";
  ASSERT_TRUE(store.ReadSettingString(setting::kFtpFolder, text));
  EXPECT_EQ(text, fits);
  text = u"unchanged";
  EXPECT_FALSE(store.ReadSettingString(setting::kFtpServer, text));
  EXPECT_EQ(text, u"unchanged");
}

TEST_F(SettingsTest, AFailedWriteIsReportedAndChangesNothing) {
  WriteText("PenColor=dword:ff\n");
  // The store's folder path runs through a regular file.
  SettingsFile blocked(path_ + "/inside");
  EXPECT_FALSE(blocked.WriteSettingDword(setting::kPenColor, 1));
  SettingsFile store(path_);
  EXPECT_EQ(LoadViewPreferences(store).penColor, 0xFFu);
}

TEST(SettingsEncoding, MicrometresRoundHalfAwayFromZero) {
  EXPECT_EQ(setting::ToMicrometres(70.5555f), 7056u);
  EXPECT_EQ(setting::ToMicrometres(1480.0f), 148000u);
  EXPECT_EQ(setting::ToMicrometres(0.025f), 3u);
  EXPECT_EQ(setting::ToMicrometres(-0.025f), uint32_t(-3));
  EXPECT_EQ(setting::ToMicrometres(1e30f), 0x7FFFFFFFu);
  EXPECT_FLOAT_EQ(setting::FromMicrometres(148000), 1480.0f);
  EXPECT_FLOAT_EQ(setting::FromMicrometres(uint32_t(-250)), -2.5f);
}

class EnvironmentTest : public SettingsTest {
 protected:
  void SetUp() override {
    SettingsTest::SetUp();
    for (const char* name : {"ZEL_CONFIG", "XDG_CONFIG_HOME", "ZEL_HOME", "XDG_DATA_HOME", "HOME"}) {
      const char* v = std::getenv(name);
      saved_.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
      ::unsetenv(name);
    }
    ::setenv("HOME", dir_.c_str(), 1);
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value) ::setenv(name.c_str(), value->c_str(), 1);
      else ::unsetenv(name.c_str());
    }
    SettingsTest::TearDown();
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(EnvironmentTest, SettingsFileLocation) {
  EXPECT_EQ(SettingsFile::DefaultPath(), dir_ + "/.config/zel/settings");
  ::setenv("XDG_CONFIG_HOME", "relative/place", 1);  // not absolute: ignored
  EXPECT_EQ(SettingsFile::DefaultPath(), dir_ + "/.config/zel/settings");
  ::setenv("XDG_CONFIG_HOME", (dir_ + "/xdg/").c_str(), 1);
  EXPECT_EQ(SettingsFile::DefaultPath(), dir_ + "/xdg/zel/settings");
  ::setenv("ZEL_CONFIG", (dir_ + "/mine.conf").c_str(), 1);
  EXPECT_EQ(SettingsFile::DefaultPath(), dir_ + "/mine.conf");
}

TEST_F(EnvironmentTest, AppDirectoryIsMadeOnFirstUse) {
  EXPECT_EQ(AppDirectory(), dir_ + "/.local/share/zel");
  EXPECT_TRUE(fs::is_directory(dir_ + "/.local/share/zel"));
  ::setenv("XDG_DATA_HOME", (dir_ + "/data").c_str(), 1);
  EXPECT_EQ(AppDirectory(), dir_ + "/data/zel");
  ::setenv("ZEL_HOME", (dir_ + "/home/").c_str(), 1);
  EXPECT_EQ(AppDirectory(), dir_ + "/home");
  EXPECT_TRUE(fs::is_directory(dir_ + "/home"));
  EXPECT_EQ(AppPath("Templates"), dir_ + "/home/Templates");
}

TEST(MeasurementUnits, LabelsFactorsAndDecimals) {
  SetScreenLogPixels(96);
  struct Row {
    int32_t unit;
    std::u16string_view label;
    float factor;
    int decimals;
    std::u16string shown;  // 1480 mm/10
  };
  const Row rows[] = {
      {0, u"cm", 100.0f, 2, u"14.80"},  {1, u"in", 254.0f, 2, u"5.83"},
      {2, u"mm", 10.0f, 1, u"148.0"},   {3, u"mm/10", 1.0f, 0, u"1480"},
      {4, u"px", 254.0f / 96.0f, 0, u"559"}, {5, u"", 10.0f, 1, u"148.0"},
      {-1, u"", 10.0f, 1, u"148.0"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.unit);
    EXPECT_EQ(UnitLabel(r.unit), r.label);
    EXPECT_FLOAT_EQ(UnitFactor(r.unit), r.factor);
    EXPECT_EQ(UnitDecimals(r.unit), r.decimals);
    EXPECT_EQ(FormatLength(1480.0f, r.unit), r.shown);
    EXPECT_FLOAT_EQ(LengthFromUnit(2.0f, r.unit), 2.0f * r.factor);
  }
  EXPECT_EQ(WidthCaption(kUnitMm), u"Width(mm):");
  EXPECT_EQ(HeightCaption(kUnitInch), u"Height(in):");
  SetScreenLogPixels(120);
  EXPECT_FLOAT_EQ(UnitFactor(kUnitPixel), 254.0f / 120.0f);
  SetScreenLogPixels(96);
}

}  // namespace
}  // namespace zel
