// kestrel-sim as a program: first line, advertised port, clean stop.

#include "platform/virtual_ports.h"
#include "tests/common/pty_pair.h"
#include "tests/common/child_process.h"
#include "tests/common/temp_folder.h"

#include <gtest/gtest.h>

TEST(Program, ServesAdvertisesAndStopsOnSigterm)
{
    TempFolder runtime;
    ::setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    ChildProcess program({KESTREL_SIM_PROGRAM, "--name", "SIMTEST", "--password", "8642"});
    const std::string path = program.ReadLine();
    EXPECT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;
    const std::string link = platform::FindVirtualPort("SIMTEST");
    EXPECT_FALSE(link.empty());
    {
        PtyClient client(link);
        ASSERT_TRUE(client.IsOpen());
        EXPECT_EQ(client.Exchange("AT+WPAR=9996,\"8642\"\r"), "AT+WPAR=9996,\"8642\"\r\r\nOK\r\n");
    }
    EXPECT_EQ(program.Stop(), 0);
    EXPECT_EQ(platform::FindVirtualPort("SIMTEST"), "") << "withdrawn on exit";
}
