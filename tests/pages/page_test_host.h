#pragma once
// A host for pages under test: it keeps a store, records WM_SHOW_PAGE and
// gives the pages a real but idle operations object.

#include "engine/comm_engine.h"
#include "engine/operations.h"
#include "link/serial_link.h"
#include "pages/page_services.h"
#include "params/parameter_store.h"
#include "params/read_lists.h"

#include <QStringList>
#include <vector>

class IdleLink : public ISerialLink
{
public:
    int OpenPort() override { return 0; }
    void ClosePort() override {}
    bool IsOpen() const override { return false; }
    void Send(const char *, uint32_t) override {}
    platform::IMessageTarget *Owner() const override { return nullptr; }
};

class SilentWindow : public IOperationWindow
{
public:
    void ShowStatus(const std::string &, bool) override {}
    void ShowMessageBox(const std::string &, int) override {}
    void ShowWaitBox(const std::string &) override {}
    void HideWaitBox() override {}
    void EnableControls(bool) override {}
    void ShowPage(uint32_t) override {}
    void KillJobTimer() override {}
};

class TestPageHost : public IPageServices
{
public:
    ParameterStore &Store() override { return store; }
    void SendShowPage(int templateId) override
    {
        shownPages.push_back(templateId);
        events << QStringLiteral("show %1").arg(templateId);
    }
    QString PageTitle(int templateId) const override
    {
        return QStringLiteral("Title %1").arg(templateId);
    }
    bool SaveToFileFlag() const override { return saveToFile; }
    void SetSaveToFileFlag(bool set) override { saveToFile = set; }
    IOperationWindow &OperationWindow() override { return window; }
    COperations &Operations() override { return operations; }
    CommEngine &Engine() override { return engine; }
    ISerialLink &Port() override { return link; }

    ParameterStore store;
    std::vector<int> shownPages;
    QStringList events; // WM_SHOW_PAGE and message boxes in their order
    bool saveToFile = false;

private:
    IdleLink link;
    ReadLists lists;
    SilentWindow window;
    CommEngine engine{link, lists};
    COperations operations{link, engine, lists, window};
};
