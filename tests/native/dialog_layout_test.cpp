#include <gtest/gtest.h>

#include "customize/about_box_ids.h"
#include "customize/customize_dialog_ids.h"
#include "customize/dialog_layout.h"

namespace loomkeys {
namespace {

LayoutRect PlaceOf(const DialogLayout& layout, int dpi, int id) {
  for (const PlacedControl& control : LayoutAt(layout, dpi)) {
    if (control.id == id) return control.place;
  }
  ADD_FAILURE() << "no control " << id;
  return {};
}

int Bottom(const LayoutRect& rect) { return rect.top + rect.height; }
int Right(const LayoutRect& rect) { return rect.left + rect.width; }

constexpr int kDpis[] = {96, 120, 144, 192};

TEST(DialogLayoutTest, ControlsArePlacedAtEachDpiFromTheirPlaceAt96) {
  const struct {
    const DialogLayout* layout;
    int id;
    LayoutRect at[4];  // at 96, 120, 144 and 192 DPI
  } cases[] = {
      {&kCustomizeDialogLayout,
       kOkButtonId,
       {{472, 16, 113, 25}, {590, 20, 141, 31}, {708, 24, 170, 38}, {944, 32, 226, 50}}},
      {&kCustomizeDialogLayout,
       kActiveSlideShowCheckBoxId,
       {{327, 384, 97, 17}, {409, 480, 121, 21}, {491, 576, 146, 26}, {654, 768, 194, 34}}},
      {&kCustomizeDialogLayout,
       kAssignedHotKeyId,
       {{16, 383, 185, 23}, {20, 479, 231, 29}, {24, 575, 278, 35}, {32, 766, 370, 46}}},
      {&kCustomizeDialogLayout,
       kAlsoAssignedLabelId,
       {{8, 449, 449, 15}, {10, 561, 561, 19}, {12, 674, 674, 22}, {16, 898, 898, 30}}},
      {&kCustomizeDialogLayout, kFindLabelId, {{8, 19, 0, 0}, {10, 24, 0, 0}, {12, 29, 0, 0}, {16, 38, 0, 0}}},
      {&kAboutBoxLayout, kLogoId, {{24, 24, 32, 32}, {30, 30, 40, 40}, {36, 36, 48, 48}, {48, 48, 64, 64}}},
      {&kAboutBoxLayout,
       kAboutOkButtonId,
       {{272, 208, 73, 25}, {340, 260, 91, 31}, {408, 312, 110, 38}, {544, 416, 146, 50}}},
  };
  for (const auto& c : cases) {
    for (size_t i = 0; i < std::size(kDpis); ++i) {
      SCOPED_TRACE(::testing::Message() << "control " << c.id << " at " << kDpis[i] << " DPI");
      const LayoutRect place = PlaceOf(*c.layout, kDpis[i], c.id);
      EXPECT_EQ(place.left, c.at[i].left);
      EXPECT_EQ(place.top, c.at[i].top);
      EXPECT_EQ(place.width, c.at[i].width);
      EXPECT_EQ(place.height, c.at[i].height);
    }
  }
}

TEST(DialogLayoutTest, OnlyLabelsWithoutASizeFitTheirText) {
  const struct {
    const DialogLayout* layout;
    int id;
    bool fits;
  } cases[] = {
      {&kCustomizeDialogLayout, kFindLabelId, true},
      {&kCustomizeDialogLayout, kCategoryLabelId, true},
      {&kCustomizeDialogLayout, kCommandsLabelId, true},
      {&kCustomizeDialogLayout, kAssignedLabelId, true},
      {&kCustomizeDialogLayout, kActiveDuringLabelId, true},
      {&kCustomizeDialogLayout, kPowerPointShortcutLabelId, false},
      {&kCustomizeDialogLayout, kAlsoAssignedLabelId, false},
      {&kAboutBoxLayout, kProductLabelId, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    const ControlPlace* place = FindPlace(*c.layout, c.id);
    ASSERT_NE(place, nullptr);
    EXPECT_EQ(place->FitsText(), c.fits);
  }
}

TEST(DialogLayoutTest, TheNoticesUnderTheKeyFieldNeverOverlapAtAnyDpi) {
  for (int dpi = 96; dpi <= 480; ++dpi) {
    SCOPED_TRACE(dpi);
    const LayoutRect powerPoint = PlaceOf(kCustomizeDialogLayout, dpi, kPowerPointShortcutLabelId);
    const LayoutRect alsoAssigned = PlaceOf(kCustomizeDialogLayout, dpi, kAlsoAssignedLabelId);
    const LayoutRect override = PlaceOf(kCustomizeDialogLayout, dpi, kOverrideNoticeLabelId);
    EXPECT_LE(Bottom(powerPoint), alsoAssigned.top);
    EXPECT_LE(Bottom(alsoAssigned), override.top);
    EXPECT_GT(alsoAssigned.height, 0);
  }
}

TEST(DialogLayoutTest, EveryControlLiesInsideTheClientAreaAtEachDpi) {
  for (const DialogLayout* layout : {&kCustomizeDialogLayout, &kAboutBoxLayout}) {
    for (int dpi : kDpis) {
      const int width = ScaleToDpi(layout->clientWidth, dpi);
      const int height = ScaleToDpi(layout->clientHeight, dpi);
      for (const PlacedControl& control : LayoutAt(*layout, dpi)) {
        SCOPED_TRACE(::testing::Message() << "control " << control.id << " at " << dpi << " DPI");
        EXPECT_GE(control.place.left, 0);
        EXPECT_GE(control.place.top, 0);
        EXPECT_LE(Right(control.place), width);
        EXPECT_LE(Bottom(control.place), height);
      }
    }
  }
}

}  // namespace
}  // namespace loomkeys
