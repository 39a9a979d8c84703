// The write job over a very large parameter file: 2700 entries of 400
// characters (as many as the key list takes) and comment lines up to the
// given size, every command answered "OK" at once and the pauses skipped, so
// that what is left is the job's own handling of the file. Prints the time
// from the job's start to its end and the number of commands it sent.
//
//   write_file_bench [MEGABYTES]   (15 when not given)

#include "engine/engine_globals.h"
#include "engine/write_job.h"
#include "platform/file_io.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr int kEntries = 2700;
constexpr size_t kValueLength = 400;

// Answers every command "OK" and skips the pauses.
class AnsweringContext : public IJobContext
{
public:
    explicit AnsweringContext(std::string path) : m_path(std::move(path)) {}

    bool SetCommand(std::string_view text) override
    {
        m_fits = text.size() + 1 < 512;
        return m_fits;
    }
    void SendCommand() override
    {
        if (m_fits) {
            ++sent;
            answerDue = true;
        }
    }
    void PostToOwner(uint32_t, uintptr_t, intptr_t) override {}
    void PostFailureToOwner(uint32_t, JobFailure) override {}
    void CompleteJob(const char *) override { completed = true; }
    void Sleep(platform::Millis) override {}
    void PauseForDevice() override {}
    void ClosePort() override {}
    void LogNote(std::string_view) override {}
    std::string TempParameterFilePath() const override { return m_path; }

    int sent = 0;
    bool answerDue = false;
    bool completed = false;

private:
    std::string m_path;
    bool m_fits = false;
};

std::string LargeFile(size_t bytes)
{
    std::string file = "[PARA]\r\n";
    for (int i = 0; i < kEntries; ++i)
        file += std::to_string(10000 + i) + "=\"" + std::string(kValueLength, '7') + "\"\r\n";
    file += "[ATCMD]\r\nAT+CCWA=\"1,1\"\r\n";
    const std::string comment = ";" + std::string(98, '-') + "\r\n";
    while (file.size() + comment.size() <= bytes)
        file += comment;
    return file;
}

} // namespace

int main(int argc, char **argv)
{
    const long megabytes = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 15;
    if (megabytes <= 0 || megabytes > 16) {
        std::fprintf(stderr, "usage: write_file_bench [MEGABYTES, 1 to 16]\n");
        return 2;
    }
    const std::string path = std::filesystem::temp_directory_path() / "write_file_bench.ini";
    const std::string content = LargeFile(static_cast<size_t>(megabytes) * 1000 * 1000);
    if (!platform::ReplaceFile(path, content, false).ok) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    g_strSoftwarePassword = "1234";
    AnsweringContext context(path);
    WriteJob job(context);
    const std::string ok = "OK";
    const auto start = std::chrono::steady_clock::now();
    job.Step(nullptr);
    while (!context.completed && context.answerDue) {
        context.answerDue = false;
        job.Step(&ok);
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::filesystem::remove(path);
    std::printf("file %.1f MB, %d entries: the write job took %.2f s for %d commands%s\n",
                static_cast<double>(content.size()) / 1e6, kEntries, took.count(), context.sent,
                context.completed ? "" : " (it did not end)");
    return context.completed ? 0 : 1;
}
