#pragma once
// Shared pieces of the application shell's GUI tests: a private environment
// (offscreen screen, settings store, virtual ports), a recorder in place of
// the message box, and the simulated terminal advertised as port "SIM0".

#include "sim/program_options.h"
#include "tests/common/plugged_terminal.h"
#include "tests/common/qt_golden.h"
#include "tests/common/qt_test_registry.h"
#include "tests/common/sim_set_up.h"
#include "widgets/app_message_box.h"

#include <QApplication>
#include <QDir>
#include <QList>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

namespace shell_test {

// Set up before the QApplication exists and kept for the whole run.
class TestEnvironment
{
public:
    TestEnvironment()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // The folder itself (mode 0700) is the runtime folder, where virtual
        // ports are advertised; settings and per-port files go below it.
        qputenv("XDG_RUNTIME_DIR", m_root.path().toLocal8Bit());
        for (const char *variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
            const QString path = m_root.path() + QLatin1Char('/') + QLatin1String(variable);
            QDir().mkpath(path);
            qputenv(variable, path.toLocal8Bit());
        }
    }
    QString Path() const { return m_root.path(); }

private:
    QTemporaryDir m_root;
};

// Message boxes are recorded instead of shown while this lives.
class MessageRecorder
{
public:
    MessageRecorder()
    {
        SetMessageBoxHook([this](const ShownMessage &message) { m_messages.append(message); });
    }
    ~MessageRecorder()
    {
        SetMessageBoxHook({});
        SetQuestionAnswer(true);
    }
    // Yes/No questions are recorded too and answered with this (Yes at first).
    void AnswerQuestions(bool yes) { SetQuestionAnswer(yes); }
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    const QList<ShownMessage> &Messages() const { return m_messages; }
    int Count() const { return static_cast<int>(m_messages.size()); }
    QString LastText() const { return m_messages.isEmpty() ? QString() : m_messages.last().text; }
    int LastStyle() const { return m_messages.isEmpty() ? 0 : m_messages.last().style; }
    void Clear() { m_messages.clear(); }
    // What the user saw, in order: one "[style] text" line per box.
    QString Summary() const
    {
        QStringList lines;
        for (const ShownMessage &message : m_messages)
            lines << QStringLiteral("[%1] %2").arg(message.style).arg(message.text);
        return lines.join(QLatin1Char('\n'));
    }

private:
    QList<ShownMessage> m_messages;
};

// The simulated terminal on a pty, advertised as the virtual port "SIM0".
class SimulatedPort
{
public:
    explicit SimulatedPort(sim::SimOptions options = {}) : m_port(kName, std::move(options))
    {
        std::string error;
        m_started = m_port.PlugIn(error);
        if (!m_started)
            qWarning("simulated terminal: %s", error.c_str());
    }

    bool Started() const { return m_started; }
    sim::TerminalSimulator &Terminal() { return m_port.Terminal(); }

    static constexpr const char *kName = "SIM0";

private:
    PluggedTerminal m_port;
    bool m_started = false;
};

// A step's first word, and the rest of the line.
inline std::pair<std::string, QString> VerbAndRest(const std::string &line)
{
    const size_t space = line.find(' ');
    return {line.substr(0, space), space == std::string::npos
                                       ? QString()
                                       : QString::fromStdString(line.substr(space + 1))};
}

// The terminal as kestrel-sim's options `args` set it up; none when they are wrong.
inline std::optional<sim::SimOptions> TerminalOptions(const QString &args)
{
    std::vector<std::string> words;
    for (const QString &word : args.split(' ', Qt::SkipEmptyParts))
        words.push_back(Unescape(word.toStdString()));
    sim::ProgramOptions options;
    std::string error;
    if (!sim::ParseProgramOptions(words, options, error))
        return std::nullopt;
    return options.sim;
}

// Result lines: `texts`, then the message boxes shown, then the lines the
// terminal heard; line breaks as "\n".
inline std::vector<std::string> ResultLines(const QStringList &texts, const MessageRecorder &boxes,
                                            sim::TerminalSimulator *terminal)
{
    std::vector<std::string> lines;
    for (const QString &text : texts)
        lines.push_back(OneLine(text.toStdString()));
    for (const ShownMessage &box : boxes.Messages())
        lines.push_back(OneLine(QStringLiteral("box [%1] \"%2\" %3")
                                    .arg(box.style)
                                    .arg(box.caption, box.text)
                                    .toStdString()));
    for (const std::string &command : terminal ? terminal->Commands() : std::vector<std::string>{})
        lines.push_back("sent " + command);
    return lines;
}

// Compares golden/`name` with the run of a scenario's Take and Finish
// (transcript.h tells how to rewrite the file).
template <class Scenario> void ExpectScenarios(const char *name, Scenario &scenario)
{
    ExpectTranscript(
        std::string(KESTREL_APP_GOLDEN_DIR "/") + name,
        [&](const std::string &line) { return scenario.Take(line); },
        [&] { return scenario.Finish(); });
}

} // namespace shell_test
