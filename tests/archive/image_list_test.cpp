// The image archive: item properties, defaults, colours, errors with their wrapping, the
// writer, and loading from a file.
#include "archive/image_list.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "archive/archive_file.h"
#include "base/game_error.h"
#include "picture_builder.h"

using namespace trakvolt;
using namespace trakvolt::testing_archive;

namespace {

constexpr std::uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF;

Bytes ImageArchive(const Bytes& list_value, bool with_table = true) {
  Bytes props;
  props.Prop("List").Add(list_value);
  if (with_table) {
    Bytes table;
    for (int i = 0; i < 1024; ++i) table.U8(static_cast<unsigned>(i & 0xFF));
    props.Prop("List.ColorTable").Binary(table);
  }
  return Archive(props, "TImageCollectionComponent");
}

std::string LoadError(const Bytes& archive) { return LoadErrorOf<TImageCollection>(archive); }

const std::string kItemWrap =
    "Error reading TImageCollectionComponent.List: Error reading TImageCollectionItem.";

}  // namespace

TEST(ImageList, ReadsPropertiesInAnyOrderWithDefaultsColoursAndOrderValues) {
  Bytes a, c;
  a.Prop("TransparentColor")
      .Ident("clRed")
      .Prop("Name")
      .Str("Car5")
      .Prop("PatternWidth")
      .Int8(2)
      .Prop("PatternHeight")
      .Int16(3)
      .Prop("SkipWidth")
      .Int32(1)
      .Prop("SkipHeight")
      .Int8(-1)
      .Prop("SystemMemory")
      .Bool(true)
      .Prop("Transparent")
      .Bool(false)
      .Prop("Picture.Data")
      .Binary(TDib(Dib24({{R, G}, {B, R}, {G, B}})));
  c.Prop("Picture.Data").Binary(TBitmap(Dib24({{R}}))).Prop("TransparentColor").Int32(0x00123456);
  // The second item carries an order value before its list tag and only a long-string name.
  Bytes list;
  list.U8(14)
      .U8(1)
      .Add(a)
      .U8(0)
      .Int16(7)
      .U8(1)
      .Prop("Name")
      .LStr("Plain")
      .U8(0)
      .U8(1)
      .Add(c)
      .U8(0)
      .U8(0);
  TImageCollection col;
  col.LoadFromBytes(ImageArchive(list).b);
  ASSERT_EQ(col.Count(), 3);
  const TImageCollectionItem& i0 = col[0];
  EXPECT_EQ(i0.Name(), "Car5");
  EXPECT_EQ(i0.PatternWidth(), 2);
  EXPECT_EQ(i0.PatternHeight(), 3);
  EXPECT_EQ(i0.SkipWidth(), 1);
  EXPECT_EQ(i0.SkipHeight(), -1);
  EXPECT_TRUE(i0.SystemMemory());
  EXPECT_FALSE(i0.Transparent());
  EXPECT_EQ(i0.TransparentColor(), 0x0000FFu);
  EXPECT_EQ(i0.KeyColor(), 0xF800);
  ASSERT_TRUE(i0.HasPicture());
  EXPECT_EQ(i0.Picture().At(1, 2), Rgb565(0, 0, 255));
  const TImageCollectionItem& i1 = col[1];
  EXPECT_EQ(i1.Name(), "Plain");
  EXPECT_EQ(i1.PatternWidth() + i1.PatternHeight() + i1.SkipWidth() + i1.SkipHeight(), 0);
  EXPECT_FALSE(i1.SystemMemory());
  EXPECT_TRUE(i1.Transparent());
  EXPECT_EQ(i1.TransparentColor(), 0u);
  EXPECT_FALSE(i1.HasPicture());
  EXPECT_EQ(i1.CountPatterns(), 0);
  EXPECT_EQ(col[2].KeyColor(), ColorRefTo565(0x00123456));
  EXPECT_EQ(col[2].Picture().At(0, 0), 0xF800);
  EXPECT_EQ(col.ColorTable[5], 5);
  EXPECT_EQ(col.ColorTable[1023], 0xFF);
}

TEST(ImageList, EveryFailureCarriesItsMessageAndWrapping) {
  const Bytes good_item = Bytes().Prop("Name").Str("A");
  auto item = [&](const Bytes& props) { return ImageArchive(Collection({good_item, props})); };
  Bytes bad_first = ImageArchive(Collection({}));
  bad_first.b[0] = 0xFE;
  Bytes bad_ten = ImageArchive(Collection({}));
  bad_ten.b[1] = 11;
  Bytes bad_sig = ImageArchive(Collection({}));
  bad_sig.b[3 + 26 + 1 + 2 + 4] = 'X';  // header name "TSOUNDCOLLECTIONCOMPONENT" + 0, flags, size
  Bytes truncated = ImageArchive(Collection({}));
  truncated.b.resize(50);
  Bytes short_table;
  short_table.Prop("List.ColorTable").Binary(Bytes().Raw(std::string(1000, 'x')));
  Bytes unknown_root;
  unknown_root.Prop("Foo").Int8(1);
  Bytes list_not_collection;
  list_not_collection.Prop("List").Int8(1);
  Bytes huge_binary;
  huge_binary.Prop("Picture.Data").U8(10).U32(5000).Raw("TDIB");
  const std::vector<std::pair<Bytes, std::string>> cases{
      {bad_first, "Invalid stream format"},
      {bad_ten, "Invalid stream format"},
      {bad_sig, "Invalid stream format"},
      {truncated, "Stream read error"},
      {Archive(short_table, "TImageCollectionComponent"),
       "Error reading TImageCollectionComponent.List.ColorTable: Stream read error"},
      {Archive(unknown_root, "TImageCollectionComponent", "Res1"),
       "Error reading Res1.Foo: Property Foo does not exist"},
      {Archive(list_not_collection, "TImageCollectionComponent"),
       "Error reading TImageCollectionComponent.List: Invalid property value"},
      {item(Bytes().Prop("Frames").Int8(1)), kItemWrap + "Frames: Property Frames does not exist"},
      {item(Bytes().Prop("PatternWidth").Str("10")),
       kItemWrap + "PatternWidth: Invalid property value"},
      {item(Bytes().Prop("PatternWidth").U8(5).Raw("0123456789")),
       kItemWrap + "PatternWidth: Invalid property value"},
      {item(Bytes().Prop("Transparent").Int8(1)),
       kItemWrap + "Transparent: Invalid property value"},
      {item(Bytes().Prop("TransparentColor").Ident("clBtnFace")),
       kItemWrap + "TransparentColor: Invalid property value"},
      {item(Bytes().Prop("Name").U8(18).U32(1).U16('A')),
       kItemWrap + "Name: Invalid property value"},
      {item(Bytes().Prop("Picture.Data").Binary(TDib(Bytes().U32(64)))),
       kItemWrap + "Picture.Data: DIB is invalid"},
      {item(huge_binary), kItemWrap + "Picture.Data: Stream read error"},
  };
  for (const auto& [archive, message] : cases) EXPECT_EQ(LoadError(archive), message);
}

TEST(ImageList, WriterUsesTheSmallestIntegerTagAndReadsBackByteForByte) {
  TImageCollection c;
  TImageCollectionItem& a = c.Add();
  a.SetName("Wide");
  a.SetPatternWidth(100);   // tag 2
  a.SetPatternHeight(300);  // tag 3
  a.SetSkipWidth(-70000);   // tag 4
  a.SetTransparentColor(0x1FFFFFFF);
  a.SetPicture(MakeRgbImage(3, 2, 10, 200, 30));
  c.Add().SetName("Empty");
  c.ColorTable[7] = 9;
  const std::vector<std::uint8_t> bytes = c.SaveToBytes();
  // Header: 0xFF, 10, name, zero, flags 0x1030, size of what follows.
  const std::string name = "TIMAGECOLLECTIONCOMPONENT";
  ASSERT_GT(bytes.size(), 40u);
  EXPECT_EQ(std::string(bytes.begin() + 3, bytes.begin() + 3 + 25), name);
  const std::size_t at = 3 + name.size() + 1;
  EXPECT_EQ(bytes[at] | (bytes[at + 1] << 8), 0x1030);
  const std::uint32_t size = bytes[at + 2] | (bytes[at + 3] << 8) | (bytes[at + 4] << 16) |
                             (static_cast<std::uint32_t>(bytes[at + 5]) << 24);
  EXPECT_EQ(size, bytes.size() - at - 6);
  auto after = [&](std::string_view prop) {
    const std::string key = std::string(1, static_cast<char>(prop.size())) + std::string(prop);
    const auto it = std::search(bytes.begin(), bytes.end(), key.begin(), key.end());
    return std::vector<std::uint8_t>(it + static_cast<long>(key.size()),
                                     it + static_cast<long>(key.size()) + 5);
  };
  EXPECT_EQ(after("PatternWidth")[0], 2);
  EXPECT_EQ(after("PatternHeight")[0], 3);
  EXPECT_EQ(after("SkipWidth")[0], 4);
  EXPECT_EQ(after("Transparent")[0], 9);

  TImageCollection back;
  back.LoadFromBytes(bytes);
  ASSERT_EQ(back.Count(), 2);
  EXPECT_EQ(back[0].SkipWidth(), -70000);
  EXPECT_EQ(back[0].TransparentColor(), 0x1FFFFFFFu);
  EXPECT_EQ(back[0].DecodePicture()->rgba, MakeRgbImage(3, 2, 10, 200, 30).rgba);
  EXPECT_FALSE(back[1].HasPicture());
  EXPECT_EQ(back.ColorTable[7], 9);
  EXPECT_EQ(back.SaveToBytes(), bytes);
}

TEST(ImageList, TheGamesListDropsPayloadsAndToolsCannotWriteWhatWasDropped) {
  TImageCollection c;
  c.Add().SetName("Dot");
  c[0].SetPicture(MakeRgbImage(2, 1, 255, 0, 0));
  c.Add().SetName("Empty");
  c.Add().SetName("Icon");
  c[2].SetPictureData(Bytes().Short("TIcon").U32(0x00010000).b);  // stored, never shown
  const std::vector<std::uint8_t> bytes = c.SaveToBytes();

  TImageList list;  // the game's list keeps only the decoded pictures
  EXPECT_FALSE(list.Items.KeepPictureData());
  list.Items.LoadFromBytes(bytes);
  const TImageCollectionItem& dot = list.Items[0];
  ASSERT_TRUE(dot.HasPicture());
  EXPECT_EQ(dot.Picture().At(1, 0), 0xF800);
  EXPECT_TRUE(dot.PictureData().empty());
  EXPECT_FALSE(dot.PictureDataKept());
  EXPECT_TRUE(list.Items[1].PictureDataKept());  // nothing was there to keep
  EXPECT_FALSE(list.Items[2].HasPicture());
  EXPECT_FALSE(list.Items[2].PictureDataKept());  // dropped even without a picture
  // Writing it back would lose the picture: refused, and the decoded picture stays.
  for (auto attempt : {+[](const TImageList& l) { (void)l.Items.SaveToBytes(); },
                       +[](const TImageList& l) { (void)l.Items[0].DecodePicture(); }}) {
    try {
      attempt(list);
      ADD_FAILURE() << "a dropped payload was used";
    } catch (const GameError& e) {
      EXPECT_STREQ(e.what(), "The data of image 'Dot' was not kept");
    }
  }
  EXPECT_EQ(dot.Picture().At(0, 0), 0xF800);

  TImageCollection kept;  // the tools' default: every payload byte for byte
  kept.LoadFromBytes(bytes);
  EXPECT_EQ(kept[0].Picture().At(1, 0), 0xF800);
  EXPECT_EQ(kept.SaveToBytes(), bytes);
}

TEST(ImageList, LoadArchiveReadsAFileAndPreparesItemsOnlyWhileInitialised) {
  TImageCollection c;
  c.Add().SetName("Dot");
  c[0].SetPicture(MakeRgbImage(1, 1, 255, 255, 255));
  const std::string path =
      (std::filesystem::path(TRAKVOLT_BUILD_DIR) / "image_list_test.dxg").string();
  WriteArchiveFile(path, c.SaveToBytes());

  TImageList list;
  list.Items.Add().SetName("Stale");
  list.LoadArchive(path);
  ASSERT_EQ(list.Items.Count(), 1);
  const TImage& dot = list.Find("DOT");
  Surface target(2, 1);
  dot.Draw(target.View(), 0, 0, 0);
  EXPECT_EQ(target.At(0, 0), 0);  // no surfaces yet
  list.Initialize();
  dot.Draw(target.View(), 1, 0, 0);
  EXPECT_EQ(target.At(1, 0), 0xFFFF);
  list.LoadArchive(path);  // loading while initialised prepares at once
  list.Find("dot").Draw(target.View(), 0, 0, 0);
  EXPECT_EQ(target.At(0, 0), 0xFFFF);
  list.Finalize();
  EXPECT_FALSE(list.Items[0].HasSurfaces());
  try {
    list.Find("Stale");
    FAIL();
  } catch (const GameError& e) {
    EXPECT_STREQ(e.what(), "Image 'Stale' not found");
  }
}
