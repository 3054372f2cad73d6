#include "customize/dialog_layout.h"

#include "customize/about_box_ids.h"
#include "customize/customize_dialog_ids.h"

namespace loomkeys {
namespace {

constexpr ControlPlace kCustomizeControls[] = {
    {kFindLabelId, {8, 19, 0, 0}},
    {kFilterEditId, {48, 16, 409, 23}},
    {kCategoryLabelId, {8, 48, 0, 0}},
    {kCategoryListBoxId, {8, 64, 193, 218}},
    {kCommandsLabelId, {208, 48, 0, 0}},
    {kCommandsListBoxId, {208, 64, 249, 218}},
    {kAssignedLabelId, {8, 367, 0, 0}},
    {kAssignedHotKeyId, {16, 383, 185, 23}},
    {kActiveDuringLabelId, {208, 367, 0, 0}},
    {kActiveSlideDesignCheckBoxId, {224, 384, 97, 17}},
    {kActiveSlideShowCheckBoxId, {327, 384, 97, 17}},
    {kOkButtonId, {472, 16, 113, 25}},
    {kCancelButtonId, {472, 48, 113, 25}},
    {kAboutButtonId, {472, 79, 113, 25}},
    {kFilterRadioGroupId, {472, 184, 113, 98}},
    {kFilterAllId, {480, 203, 97, 17}},
    {kFilterAssignedId, {480, 227, 97, 17}},
    {kFilterUnassignedId, {480, 251, 97, 17}},
    {kClearShortcutsButtonId, {472, 288, 113, 25}},
    {kCommandDescriptionGroupBoxId, {8, 288, 449, 73}},
    {kDescriptionLabelId, {16, 304, 433, 49}},
    {kPowerPointShortcutLabelId, {8, 416, 449, 33}},
    // In the room between PowerPoint's notice and the override notice.
    {kAlsoAssignedLabelId, {8, 449, 449, 15}, true},
    {kOverrideNoticeLabelId, {8, 464, 577, 24}},
};

constexpr ControlPlace kAboutControls[] = {
    {kLogoId, {24, 24, 32, 32}},
    {kFrameId, {8, 8, 337, 193}},
    {kLogoFrameId, {24, 24, 33, 33}},
    {kProductLabelId, {72, 24, 199, 15}},
    {kCopyrightLabelId, {72, 56, 180, 15}},
    {kAboutOkButtonId, {272, 208, 73, 25}},
};

}  // namespace

const DialogLayout kCustomizeDialogLayout = {593, 489, kCustomizeControls};
const DialogLayout kAboutBoxLayout = {353, 242, kAboutControls};

int ScaleToDpi(int pixels, int dpi) {
  const long long product = static_cast<long long>(pixels) * dpi;
  return static_cast<int>(product >= 0 ? (product + 48) / 96 : -((-product + 48) / 96));
}

LayoutRect ScaleToDpi(const LayoutRect& at96, int dpi) {
  return {ScaleToDpi(at96.left, dpi), ScaleToDpi(at96.top, dpi), ScaleToDpi(at96.width, dpi),
          ScaleToDpi(at96.height, dpi)};
}

std::vector<PlacedControl> LayoutAt(const DialogLayout& layout, int dpi) {
  std::vector<PlacedControl> placed;
  placed.reserve(layout.controls.size());
  for (const ControlPlace& control : layout.controls) {
    placed.push_back({control.id, ScaleToDpi(control.at96, dpi), control.FitsText()});
  }
  for (size_t i = 1; i + 1 < placed.size(); ++i) {
    if (!layout.controls[i].fillsGap) continue;
    LayoutRect& gap = placed[i].place;
    gap.top = placed[i - 1].place.top + placed[i - 1].place.height;
    gap.height = placed[i + 1].place.top - gap.top;
  }
  return placed;
}

const ControlPlace* FindPlace(const DialogLayout& layout, int id) {
  for (const ControlPlace& control : layout.controls) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

}  // namespace loomkeys
