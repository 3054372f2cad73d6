#pragma once
// Control ids of the About box, for the box, its layout and for programs
// that drive it as a user would. Its OK button is IDOK (1).
enum AboutBoxControlId {
  kAboutOkButtonId = 1,
  kLogoId = 100,
  kFrameId,
  kLogoFrameId,
  kProductLabelId,
  kCopyrightLabelId,
};
