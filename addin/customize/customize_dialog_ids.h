#pragma once
// Control ids of the Customize Shortcuts dialog, for the form, its layout
// and for programs that drive it as a user would.
enum CustomizeDialogControlId {
  kOkButtonId = 1,      // IDOK, so that Enter presses it
  kCancelButtonId = 2,  // IDCANCEL, so that Esc and the close box press it
  kFindLabelId = 100,
  kFilterEditId,  // the Find text
  kCategoryLabelId,
  kCategoryListBoxId,
  kCommandsLabelId,
  kCommandsListBoxId,
  kAssignedLabelId,
  kAssignedHotKeyId,  // the key field, a hot-key control
  kActiveDuringLabelId,
  kActiveSlideDesignCheckBoxId,
  kActiveSlideShowCheckBoxId,
  kAboutButtonId,
  kFilterRadioGroupId,  // the Show group's frame
  kFilterAllId,         // its items "All", "Assigned", "Unassigned"
  kFilterAssignedId,
  kFilterUnassignedId,
  kClearShortcutsButtonId,
  kCommandDescriptionGroupBoxId,
  kDescriptionLabelId,
  kPowerPointShortcutLabelId,  // what PowerPoint does with the key in the key field
  kOverrideNoticeLabelId,      // that Keyloom's shortcuts win over PowerPoint's
  kAlsoAssignedLabelId,        // which other command of the dialog holds the key in the key field
};
