#pragma once
// The main window's own texts: labels of the bottom buttons, the file
// dialogs, the caption and the About entry.

#include "params/language.h"

#include <array>

namespace main_texts {

// The five operation buttons in the order they stand at the bottom.
enum class BottomButton { Transmit, Receive, Open, Save, Exit };
inline constexpr int kBottomButtonCount = 5;

struct BottomButtonInfo
{
    BottomButton button;
    int controlId;
    lang::Tr3 label;
    // The key sequence that presses it (QKeySequence's portable text), "" for none.
    const char *shortcut;
};
extern const std::array<BottomButtonInfo, kBottomButtonCount> kBottomButtons;

extern const lang::Tr3 kOpenTitle;
extern const lang::Tr3 kSaveTitle;
// What assistive technology calls the status line.
extern const lang::Tr3 kStatusLineName;

// English only.
inline constexpr char kCaptionFormat[] = "%s  %s"; // product name, version
inline constexpr char kAboutEntry[] = "About(&A)...";
inline constexpr int kAboutCommandId = 16;
inline constexpr char kConfigFilter[] = "config file (*.ini)";
inline constexpr char kAllFilesFilter[] = "all files (*.*)";
// The file name patterns the two filters match.
inline constexpr char kConfigPatterns[] = "*.ini";
inline constexpr char kAllFilesPatterns[] = "*";
inline constexpr char kConfigSuffix[] = "ini";
inline constexpr char kProposedConfigName[] = "config.ini";

// "Kestrel Manager  V1.2.0": the application caption and the version.
const char *Caption();

} // namespace main_texts
