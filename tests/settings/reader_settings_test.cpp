// The settings file: its exact bytes, reading it back whatever state it is in, and the rule that
// a damaged file never stops the reader nor gets overwritten at start-up.

#include "settings/reader_settings.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "support/temp_dir.h"

namespace quillon {
namespace {

const std::string kDefaultLine =
    "\"\xCB\xCE\xCC\xE5\",10.5,0,#FALSE#,#FALSE#,16777215,#FALSE#,0,#TRUE#,#TRUE#,#TRUE#,0\r\n";

TEST(SettingsFile, DefaultsAreTheSeventyThreeByteLine) {
  const std::string bytes = SettingsFileBytes(SettingsRecord());
  EXPECT_EQ(bytes.size(), 73u);
  EXPECT_EQ(bytes, kDefaultLine);
}

TEST(SettingsFile, EveryFieldSurvivesARoundTrip) {
  SettingsRecord record;
  record.FontName = u"鎔𠀀体";  // a GBK-only and a supplementary character: GB18030 keeps both
  record.FontSize = 9.0f;
  record.FontColor = 5263440;
  record.FontBold = true;
  record.FontItalic = true;
  record.BackColor = 11726847;
  record.UsePhoto = true;
  record.BackPhoto = 6;
  record.PageActive = false;
  record.NotFlash = false;
  record.AutoScroll = false;
  record.ReadMode = 5;
  EXPECT_EQ(ParseSettingsFile(SettingsFileBytes(record)), record);
}

TEST(SettingsFile, SavingWritesTheChangedItemsInTheirPlaces) {
  SettingsRecord record;
  record.FontSize = 12.0f;
  record.FontBold = true;
  EXPECT_EQ(
      SettingsFileBytes(record),
      "\"\xCB\xCE\xCC\xE5\",12,0,#TRUE#,#FALSE#,16777215,#FALSE#,0,#TRUE#,#TRUE#,#TRUE#,0\r\n");
}

TEST(SettingsFile, ItemsSpreadOverLinesOrWithoutAFinalLineEndReadTheSame) {
  const SettingsRecord expected = ParseSettingsFile(
      "\"Arial\",14,255,#TRUE#,#FALSE#,65280,#TRUE#,2,#FALSE#,#TRUE#,#FALSE#,3\r\n");
  EXPECT_EQ(expected.FontName, u"Arial");
  EXPECT_EQ(expected.BackPhoto, 2);
  EXPECT_EQ(ParseSettingsFile("\"Arial\",14,255\r\n#TRUE#,#FALSE#,65280\n#TRUE#,2,#FALSE#\r"
                              "#TRUE#,#FALSE#,3"),
            expected);
  EXPECT_EQ(ParseSettingsFile("\"Arial\", 14, 255, #TRUE#, #FALSE#, 65280, #TRUE#, 2, #FALSE#, "
                              "#TRUE#, #FALSE#, 3\r\nextra,items\r\n"),
            expected);
}

TEST(SettingsFile, ItemsThatCannotBeReadKeepTheirDefaults) {
  struct Case {
    const char* what;
    std::string bytes;
    void (*check)(const SettingsRecord&);
  };
  const Case cases[] = {
      {"an empty file", "", [](const SettingsRecord& r) { EXPECT_EQ(r, SettingsRecord()); }},
      {"fewer than twelve items", "\"黑体\",16,255\r\n",
       [](const SettingsRecord& r) {
         EXPECT_EQ(r.FontSize, 16.0f);
         EXPECT_EQ(r.FontColor, 255);
         EXPECT_TRUE(r.PageActive);
         EXPECT_EQ(r.BackColor, 16777215);
       }},
      {"items that do not convert",
       "\"宋体\",big,0,maybe,#FALSE#,99999999999,#FALSE#,70000,#TRUE#,#TRUE#,#TRUE#,x\r\n",
       [](const SettingsRecord& r) {
         EXPECT_EQ(r.FontSize, 10.5f);
         EXPECT_FALSE(r.FontBold);
         EXPECT_EQ(r.BackColor, 16777215);
         EXPECT_EQ(r.BackPhoto, 0) << "70000 does not fit 16 bits";
         EXPECT_EQ(r.ReadMode, 0);
       }},
      {"binary junk",
       std::string("\x00\x01\xFF\xFE\x80\x1B,\x7F\"\x00", 11) + std::string(3000, '\xAA'),
       [](const SettingsRecord& r) { EXPECT_EQ(r.FontName, u"宋体"); }},
      {"a face name with a quote, which could not be written back", "a\"b,12\r\n",
       [](const SettingsRecord& r) {
         EXPECT_EQ(r.FontName, u"宋体");
         EXPECT_EQ(r.FontSize, 12.0f);
       }},
      {"a quoted number where a number belongs",
       "\"宋体\",\"12\",0,#FALSE#,#FALSE#,16777215,#FALSE#,0,#TRUE#,#TRUE#,#TRUE#,0\r\n",
       [](const SettingsRecord& r) { EXPECT_EQ(r.FontSize, 10.5f); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.check(ParseSettingsFile(c.bytes));
  }
}

TEST(SettingsFile, IndentIsEightOnlyForTheLatinFacesSpelledExactly) {
  for (const char16_t* face :
       {u"MS Sans Serif", u"Arial", u"Roman", u"Tahoma", u"Times New Roman"}) {
    EXPECT_EQ(IndentWidthFor(face), 8);
  }
  for (const char16_t* face : {u"arial", u"宋体", u"Arial ", u"Times", u""}) {
    EXPECT_EQ(IndentWidthFor(face), 4);
  }
}

class SettingsFolderTest : public ::testing::Test {
 protected:
  fake::TempDir dir;
};

TEST_F(SettingsFolderTest, FirstStartCreatesTheFolderAndTheDefaultFile) {
  const LoadedSettings loaded = LoadOrCreateSettings(dir.path16());
  EXPECT_EQ(loaded.Source, SettingsSource::CreatedWithDefaults);
  EXPECT_EQ(loaded.Record, SettingsRecord());
  EXPECT_EQ(dir.Read("Configure/Readerset.dat"), kDefaultLine);
}

TEST_F(SettingsFolderTest, ADamagedFileIsReadAsFarAsItGoesAndNeverRewritten) {
  const std::string damaged = "\"黑体\",16,\xFF\xFF\x00junk";
  dir.Write("Configure/Readerset.dat", damaged);
  const LoadedSettings loaded = LoadOrCreateSettings(dir.path16());
  EXPECT_EQ(loaded.Source, SettingsSource::ReadFromFile);
  EXPECT_EQ(loaded.Record.FontSize, 16.0f);
  EXPECT_EQ(dir.Read("Configure/Readerset.dat"), damaged);
}

TEST_F(SettingsFolderTest, AFolderThatCannotBeWrittenLeavesTheDefaultsInMemory) {
  // A program folder below a plain file can hold nothing, whoever runs the tests.
  dir.Write("program", "not a folder");
  const LoadedSettings loaded = LoadOrCreateSettings(dir.path16() + u"/program");
  EXPECT_EQ(loaded.Source, SettingsSource::DefaultsNotSaved);
  EXPECT_EQ(loaded.Record, SettingsRecord());
}

TEST_F(SettingsFolderTest, SavingReplacesTheWholeFile) {
  dir.Write("Configure/Readerset.dat", kDefaultLine + "a second line that must go\r\n");
  SettingsRecord record;
  record.ReadMode = 3;
  ASSERT_TRUE(SaveSettings(dir.path16(), record));
  EXPECT_EQ(dir.Read("Configure/Readerset.dat"), SettingsFileBytes(record));
}

}  // namespace
}  // namespace quillon
