#pragma once
// A host for pages under test: it keeps a store, records WM_SHOW_PAGE and
// the changes a page asks for, and starts none of them (as a host whose
// port does not open).

#include "pages/page_services.h"
#include "params/parameter_store.h"

#include <QStringList>
#include <vector>

class TestPageHost : public IPageServices
{
public:
    ParameterStore &Store() override { return store; }
    void SendShowPage(int templateId) override
    {
        events << QStringLiteral("show %1").arg(templateId);
    }
    bool SaveToFileFlag() const override { return saveToFile; }
    void SetSaveToFileFlag(bool set) override { saveToFile = set; }
    bool IsSoftwarePassword(std::string_view password) const override
    {
        return password == softwarePassword;
    }
    bool ChangeSoftwarePassword(const std::string &newPassword, const std::string &confirm) override
    {
        changedPassword = {newPassword, confirm};
        return false;
    }
    bool ChangePin() override
    {
        ++pinChanges;
        return false;
    }

    ParameterStore store;
    QStringList events; // WM_SHOW_PAGE and message boxes in their order
    bool saveToFile = false;
    std::string softwarePassword = "1234";    // the login's
    std::vector<std::string> changedPassword; // new and confirm, when asked
    int pinChanges = 0;
};
