#pragma once
// The transcripts of golden_file.h in this QtTest program: what would fail
// a GoogleTest there fails the running QtTest function here.

#include <QTest>
#include <gtest/gtest.h>
#include <sstream>

class QtGoldenFailure
{
public:
    QtGoldenFailure() = default;
    QtGoldenFailure(const QtGoldenFailure &) = delete;
    QtGoldenFailure &operator=(const QtGoldenFailure &) = delete;
    ~QtGoldenFailure() { QTest::qFail(m_text.str().c_str(), __FILE__, __LINE__); }
    template <class Value> QtGoldenFailure &operator<<(const Value &value)
    {
        m_text << value;
        return *this;
    }

private:
    std::ostringstream m_text;
};

#undef ADD_FAILURE
#undef EXPECT_TRUE
#define ADD_FAILURE() QtGoldenFailure()
#define EXPECT_TRUE(condition)                                                                     \
    if (condition) {                                                                               \
    } else                                                                                         \
        QtGoldenFailure()

#include "shell_test_support.h"
#include "sim/program_options.h"
#include "tests/common/golden_file.h"

#include <optional>

namespace shell_test {

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

} // namespace shell_test
