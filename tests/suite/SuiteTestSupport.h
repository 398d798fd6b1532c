#pragma once

// Running the suite's stand-ins as whole processes, in a folder of their own, with
// the suite log pointed at that folder.

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace suitetest
{

namespace fs = std::filesystem;

inline const fs::path ProgramDir = ORVANE_PROGRAM_DIR;
inline const fs::path SampleSources = fs::path(ORVANE_SOURCE_DIR) / "suite" / "samples";

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string readText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeText(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> list;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        list.push_back(line);
    return list;
}

inline std::vector<std::string> tabFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

// A scratch folder with a data folder (the working directory) and a state folder.
class SuiteFolder
{
public:
    SuiteFolder()
    {
        EXPECT_TRUE(m_dir.isValid());
        fs::create_directories(data());
        fs::create_directories(state());
    }
    fs::path root() const { return fs::path(m_dir.path().toStdString()); }
    fs::path data() const { return root() / "data"; }
    fs::path state() const { return root() / "state"; }
    fs::path log() const { return state() / "kinemora" / "suite.log"; }

    void copySample(const std::string& name) const
    {
        fs::copy_file(SampleSources / name, data() / name, fs::copy_options::overwrite_existing);
    }

    Outcome run(const fs::path& program, const std::vector<std::string>& args,
                const std::string& stateHome = {}) const
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_STATE_HOME",
                   QString::fromStdString(stateHome.empty() ? state().string() : stateHome));
        env.remove("KINEMORA_SUITE_WRAPPER");
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(QString::fromStdString(data().string()));
        QStringList arguments;
        for (const std::string& arg : args)
            arguments << QString::fromStdString(arg);
        process.start(QString::fromStdString(program.string()), arguments);
        Outcome outcome;
        if (!process.waitForFinished(30000)) {
            ADD_FAILURE() << "did not finish: " << program;
            process.kill();
            process.waitForFinished();
            return outcome;
        }
        if (process.exitStatus() == QProcess::NormalExit)
            outcome.exitCode = process.exitCode();
        outcome.out = process.readAllStandardOutput().toStdString();
        outcome.err = process.readAllStandardError().toStdString();
        return outcome;
    }

private:
    QTemporaryDir m_dir;
};

} // namespace suitetest
