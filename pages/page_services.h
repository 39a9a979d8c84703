#pragma once
// What a parameter page reaches through the window that hosts it: the
// parameter store, bringing a page to the front, the save-to-file flag, and
// the main window's status display and operations for the pages that start
// jobs of their own (software password, PIN change).

#include <QString>

class COperations;
class CommEngine;
class IOperationWindow;
class ISerialLink;
struct ParameterStore;

class IPageServices
{
public:
    virtual ~IPageServices() = default;

    virtual ParameterStore &Store() = 0;
    // WM_SHOW_PAGE with this template id, handled before this returns.
    virtual void SendShowPage(int templateId) = 0;
    // The page's title in the current language.
    virtual QString PageTitle(int templateId) const = 0;

    // Set by Save for the validation pass that precedes its export; the
    // Passwords page reads and clears it.
    virtual bool SaveToFileFlag() const = 0;
    virtual void SetSaveToFileFlag(bool set) = 0;

    virtual IOperationWindow &OperationWindow() = 0;
    virtual COperations &Operations() = 0;
    virtual CommEngine &Engine() = 0;
    virtual ISerialLink &Port() = 0;
};
