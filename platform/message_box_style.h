#pragma once
// The style of a message box, as the jobs' reports, the login and the
// start-up ask for one: the low four bits choose the buttons, the bits above
// them the icon.

namespace platform {

enum MessageBoxStyle : int {
    kStyleOk = 0,    // one OK button
    kStyleYesNo = 4, // Yes and No
    kStyleError = 16,
    kStyleInformation = 32,
    kStyleQuestion = 64,
    kStyleWarning = 128,
};

} // namespace platform
