#include "customize/powerpoint_shortcuts.h"

#include "customize/hotkey_flags.h"

namespace loomkeys {
namespace {

// Short names of the hot-key control's flags, for the table.
constexpr uint8_t kNone = 0x00;
constexpr uint8_t kShift = kHotKeyShift;
constexpr uint8_t kCtrl = kHotKeyControl;
constexpr uint8_t kAlt = kHotKeyAlt;

}  // namespace

const std::array<PowerPointShortcut, 77> kPowerPointShortcuts = {{
    {0x09, kShift | kCtrl, u"Switch between Slides and Outline tabs (PPTXP)"},  // VK_TAB
    {0x72, kShift, u"Change the case of letters"},                              // VK_F3
    {0x73, kAlt, u"Quit PowerPoint"},                                           // VK_F4
    {0x73, kCtrl, u"Close a presentation"},
    {0x73, kShift, u"Repeat the last Find action"},
    {0x74, kNone, u"Run a presentation"},  // VK_F5
    {0x74, kCtrl, u"Restore the size of the active window after you've maximized it"},
    {0x75, kNone, u"Move clockwise among panes of normal view"},  // VK_F6
    {0x75, kCtrl, u"When more than one window is open, switch to the next window"},
    {0x75, kShift, u"Move counterclockwise among panes of normal view"},
    {0x75, kShift | kCtrl, u"Switch to the previous window"},
    {0x76, kNone, u"Check spelling"},              // VK_F7
    {0x78, kAlt, u"Show or hide guides (PPTXP)"},  // VK_F9
    {0x78, kShift, u"Show or hide the grid (PPTXP)"},
    {'A', kCtrl, u"Select all objects, slides or text"},
    {'A', kShift | kAlt, u"Show all or collapse all text or headings"},
    {'B', kCtrl, u"Apply bold formatting"},
    {'C', kCtrl, u"Copy selected objects, slides or text"},
    {'C', kShift | kCtrl, u"Copy selected object attributes or text format"},
    {'D', kCtrl, u"Make a copy of the selected slide"},
    {'E', kCtrl, u"Center a paragraph"},
    {'F', kCtrl, u"Find text"},
    {'F', kShift | kCtrl, u"Change the font"},
    {'G', kCtrl, u"Change grid or guide settings (PPTXP)"},
    {'G', kShift | kCtrl, u"Group selected objects"},
    {'H', kCtrl, u"Replace text"},
    {'H', kShift | kCtrl, u"Ungroup selected group"},
    {'I', kCtrl, u"Apply italic formatting"},
    {'J', kCtrl, u"Justify a paragraph"},
    {'K', kCtrl, u"Insert a hyperlink"},
    {'L', kCtrl, u"Left align a paragraph"},
    {'M', kCtrl, u"Insert a new slide"},
    {'N', kCtrl, u"Create a new presentation"},
    {'O', kCtrl, u"Open a presentation"},
    {'P', kCtrl, u"Print a presentation"},
    {'P', kShift | kCtrl, u"Change the font size"},
    {'R', kCtrl, u"Right align a paragraph"},
    {'S', kCtrl, u"Save a presentation"},
    {'T', kCtrl, u"Change the formatting of characters between sentence, lowercase, or uppercase"},
    {'U', kAlt, u"Choose AutoShape on the Drawing toolbar"},
    {'U', kCtrl, u"Apply an underline"},
    {'V', kCtrl, u"Paste cut or copied objects, slides or text"},
    {'V', kShift | kCtrl, u"Apply (Paste) copied object attributes or text format"},
    {'W', kCtrl, u"Close a presentation"},
    {'X', kCtrl, u"Cut selected objects, slides or text"},
    {'Y', kCtrl, u"Redo or repeat an action"},
    {'Z', kCtrl, u"Undo an action"},
    {'1', kShift | kAlt, u"Show heading level 1"},
    {0xBB, kCtrl, u"Apply subscript formatting (automatic spacing)"},  // VK_OEM_PLUS, the = key
    {0xBB, kShift | kCtrl, u"Apply superscript formatting (automatic spacing)"},
    {0x25, kNone, u"Move one character to the left"},  // VK_LEFT
    {0x25, kCtrl, u"Move one word to the left"},
    {0x25, kShift, u"Select one character to the left"},
    {0x25, kShift | kAlt, u"Promote a paragraph"},
    {0x25, kShift | kCtrl, u"Select to the beginning of a word"},
    {0x27, kNone, u"Move one character to the right"},  // VK_RIGHT
    {0x27, kCtrl, u"Move one word to the right"},
    {0x27, kShift, u"Select one character to the right"},
    {0x27, kShift | kAlt, u"Demote a paragraph"},
    {0x27, kShift | kCtrl, u"Select to the end of a word"},
    {0x26, kNone, u"Move one line up"},  // VK_UP
    {0x26, kCtrl, u"Move up one paragraph"},
    {0x26, kShift, u"Select one line up"},
    {0x26, kShift | kAlt, u"Move selected paragraphs up"},
    {0x28, kNone, u"Move one line down"},  // VK_DOWN
    {0x28, kCtrl, u"Move down one paragraph"},
    {0x28, kShift, u"Select one line down"},
    {0x28, kShift | kAlt, u"Move selected paragraphs down"},
    {0x6B, kShift | kAlt, u"Expand text below a heading"},    // VK_ADD
    {0x6D, kShift | kAlt, u"Collapse text below a heading"},  // VK_SUBTRACT
    {0x6F, kNone, u"Turn character formatting on or off"},    // VK_DIVIDE
    {0x23, kNone, u"Move to end of a line"},                  // VK_END
    {0x23, kCtrl, u"Move to the end of a textbox"},
    {0x24, kNone, u"Move to beginning of a line"},  // VK_HOME
    {0x24, kCtrl, u"Move to the beginning of a textbox"},
    {0xBE, kShift | kCtrl, u"Increase the font size"},  // VK_OEM_PERIOD
    {0xBC, kShift | kCtrl, u"Decrease the font size"},  // VK_OEM_COMMA
}};

std::u16string_view FindPowerPointShortcut(uint16_t virtualKey, uint8_t hotKeyFlags) {
  for (const PowerPointShortcut& row : kPowerPointShortcuts) {
    if (row.virtualKey == virtualKey && row.hotKeyFlags == hotKeyFlags) return row.action;
  }
  return {};
}

}  // namespace loomkeys
