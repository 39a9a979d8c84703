#pragma once
// Turns the bytes the port reports into reply lines. Each receiving window
// (the main window, the login dialog, the command-line front end) owns one
// builder with its own state, all working on the port's double line buffer.
//
// A line ends with CR; CR and LF between lines are skipped, an LF inside a
// line is kept. A line that begins with "> " ends right after the space: the
// terminal's text-input prompt comes without a CR. Runs on the owner's thread.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class CSerialPort;

enum class RxError {
    Overflow,   // a line grew past 1024 bytes
    SwapFailed, // a line completed while the previous one was still not taken
    NoData,     // a line was asked for while none was ready
};

// The main window's texts for the errors.
inline constexpr const char *kRxOverflowText = "receive buffer overflow!";
inline constexpr const char *kRxSwapFailedText = "Unable to swap receive buffer!";
inline constexpr const char *kRxNoDataText = "No data!";
const char *MainWindowRxErrorText(RxError error);

// The window side of line building.
class IRxLineOwner
{
public:
    virtual ~IRxLineOwner() = default;
    // A line is complete (WM_RX_LINE_READY). The owner takes it now with
    // RxLineBuilder::TakeLine(); building goes on after this returns.
    virtual void OnRxLineReady() = 0;
    // Reception stopped (overflow, swap) or nothing was ready; the owner
    // shows its own text for it.
    virtual void OnRxError(RxError error) = 0;
    // A line is being dropped (its 1025th byte came), told at once, in order
    // with the lines before and after it, so that whoever waits for an
    // answer knows a line of it is missing.
    virtual void OnRxLineDropped() {}
};

class RxLineBuilder
{
public:
    RxLineBuilder(CSerialPort &port, IRxLineOwner &owner);

    // WM_COMMNOTIFY: reads what is waiting (at most 1024 bytes), feeds it,
    // and re-opens the port's notification gate. A line over 1024 bytes is
    // dropped up to its CR and reported once, after the gate is open again,
    // so reception and the running job go on while the owner shows it. After
    // a swap error the rest of the batch is dropped and the gate stays shut
    // until the port closes.
    void OnCommNotify(uintptr_t wParam);
    // Feeds received bytes in order and reports a dropped line; false when a
    // swap error stopped it.
    bool Feed(const char *bytes, size_t count);
    // The ready line as a heap copy, and the ready record released. nullptr,
    // reported as NoData, when no line is ready.
    std::unique_ptr<std::string> TakeLine();

    bool InLine() const { return m_inLine; }
    bool AfterPrompt() const { return m_prompt; }
    // The rest of an over-long line is being skipped.
    bool DroppingLine() const { return m_dropping; }

private:
    bool FeedBytes(const char *bytes, size_t count);
    bool FeedByte(char byte);
    bool CompleteLine();
    void ReportDroppedLine();

    CSerialPort &m_port;
    IRxLineOwner &m_owner;
    // Kept for the life of the owner, across port closes: a line cut short
    // by a close is continued after the next open. The write position is the
    // fill record's count.
    bool m_inLine = false;
    bool m_prompt = false;
    // Set at the 1025th byte of a line, cleared by the CR that ends it.
    bool m_dropping = false;
    // A dropped line not yet reported to the owner.
    bool m_dropPending = false;
};
