#include "engine/comm_thread.h"
#include "link/serial_link.h"
#include "link/shared_settings.h"
#include "params/read_lists.h"
#include "tests/common/temp_folder.h"

#include <gtest/gtest.h>

namespace {

class RecordingLink : public ISerialLink
{
public:
    int OpenPort() override { return 1; }
    void ClosePort() override {}
    bool IsOpen() const override { return true; }
    void Send(const char *data, uint32_t length) override { sent.emplace_back(data, length); }
    platform::IMessageTarget *Owner() const override { return nullptr; }

    std::vector<std::string> sent;
};

TEST(CommandBuffer, HoldsAtMost511CharactersWithTheCr)
{
    TempFolder folder;
    g_strAppDir = folder.Path() + "/"; // the traffic log goes there
    RecordingLink link;
    ReadLists lists;
    CCommThread worker(link, lists);

    // The text's length, and whether the line with its CR fits.
    const std::pair<size_t, bool> cases[] = {{509, true}, {510, true}, {511, false}, {600, false}};
    for (const auto &[length, fits] : cases) {
        link.sent.clear();
        const std::string text(length, 'A');
        EXPECT_EQ(worker.SetCommand(text), fits) << length;
        worker.SendCommand();
        if (fits) {
            EXPECT_EQ(worker.Command(), text + "\r") << length;
            EXPECT_EQ(link.sent, std::vector<std::string>{text + "\r"}) << length;
        } else {
            EXPECT_TRUE(link.sent.empty()) << "a line that does not fit is never sent: " << length;
        }
    }
}

} // namespace
