#pragma once
// Where the controls of the library's two dialogs go. Both are laid out in
// pixels at 96 dots per inch and placed at the DPI of their window, which a
// per-monitor-aware thread's window changes when it moves to another monitor.
// Every placement is made from the 96-DPI table, never from the last one, so
// that going back to a DPI gives exactly the layout it had.
#include <span>
#include <vector>

namespace loomkeys {

struct LayoutRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const LayoutRect&) const = default;
};

// A control's place at 96 DPI. A label without a size takes that of its text.
// A control that fills a gap takes, at every DPI, the room between the bottom
// of the control before it in the table and the top of the one after it, so
// that it overlaps neither when their sizes are rounded.
struct ControlPlace {
  int id;
  LayoutRect at96;
  bool fillsGap = false;
  bool FitsText() const { return at96.width == 0 && at96.height == 0; }
};

struct DialogLayout {
  int clientWidth;  // at 96 DPI
  int clientHeight;
  std::span<const ControlPlace> controls;
};

// Pixels at 96 DPI made pixels at `dpi`, rounded to the nearest (as MulDiv).
int ScaleToDpi(int pixels, int dpi);
LayoutRect ScaleToDpi(const LayoutRect& at96, int dpi);

// Every control of `layout` at `dpi`, in the table's order, gaps filled.
struct PlacedControl {
  int id;
  LayoutRect place;
  bool fitsText;
};
std::vector<PlacedControl> LayoutAt(const DialogLayout& layout, int dpi);

// The 96-DPI place of control `id`; a control not in the layout has none.
const ControlPlace* FindPlace(const DialogLayout& layout, int id);

extern const DialogLayout kCustomizeDialogLayout;
extern const DialogLayout kAboutBoxLayout;

}  // namespace loomkeys
