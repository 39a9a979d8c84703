#pragma once
// What a parameter page reaches through the window that hosts it: the
// parameter store, bringing a page to the front, the save-to-file flag, and
// the two changes that run as jobs of their own outside Transmit (software
// password, PIN). Pages know nothing of the port or the jobs behind them.

#include <string>
#include <string_view>

struct ParameterStore;

class IPageServices
{
public:
    virtual ~IPageServices() = default;

    virtual ParameterStore &Store() = 0;
    // WM_SHOW_PAGE with this template id, handled before this returns.
    virtual void SendShowPage(int templateId) = 0;

    // Set by Save for the validation pass that precedes its export; the
    // Passwords page reads and clears it.
    virtual bool SaveToFileFlag() const = 0;
    virtual void SetSaveToFileFlag(bool set) = 0;

    // The password is the one the user logged in with.
    virtual bool IsSoftwarePassword(std::string_view password) const = 0;
    // Starts the software password change; false when nothing was started
    // (the host has said why).
    virtual bool ChangeSoftwarePassword(const std::string &newPassword,
                                        const std::string &confirm) = 0;
    // Writes the PIN change held in the store and starts its write; false
    // when nothing was started (the host has said why).
    virtual bool ChangePin() = 0;
};
