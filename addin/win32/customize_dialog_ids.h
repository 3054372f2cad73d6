#pragma once
// Control ids of the Customize Shortcuts dialog (OK and Cancel are IDOK and
// IDCANCEL), for the form and for programs that drive it as a user would.
enum CustomizeDialogControlId {
  kFindLabelId = 100,            // Label5
  kFilterEditId,                 // FilterEdit
  kCategoryLabelId,              // CategoryLabel
  kCategoryListBoxId,            // CategoryListBox
  kCommandsLabelId,              // CommandsLabel
  kCommandsListBoxId,            // CommandsListBox
  kAssignedLabelId,              // Label4
  kAssignedHotKeyId,             // AssignedHotKey
  kActiveDuringLabelId,          // Label2
  kActiveSlideDesignCheckBoxId,  // ActiveSlideDesignCheckBox
  kActiveSlideShowCheckBoxId,    // ActiveSlideShowCheckBox
  kAboutButtonId,                // AboutButton
  kFilterRadioGroupId,           // FilterRadioGroup's frame
  kFilterAllId,                  // its items "All", "Assigned", "Unassigned"
  kFilterAssignedId,
  kFilterUnassignedId,
  kClearShortcutsButtonId,        // ClearShortcutsButton
  kCommandDescriptionGroupBoxId,  // CommandDescriptionGroupBox
  kDescriptionLabelId,            // DescriptionLabel
  kPowerPointShortcutLabelId,     // PowerPointShortcutLabel
  kPPShortcutLabelId,             // PPShortcutLabel
};
