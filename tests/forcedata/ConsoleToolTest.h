#pragma once

// A console tool of the program directory run as a whole process, as a researcher's
// script runs it, in a folder of the test's own.

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

struct ToolOutcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ConsoleToolTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvanetoolXXXXXX").string();
        m_dir = ::mkdtemp(pattern.data());
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string file(const std::string& name, std::string_view bytes)
    {
        const std::string path = m_dir + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // Runs `tool` of the program directory with `args` in the test's folder. Standard
    // output goes to `output` when given (a device such as /dev/full, not read back),
    // else to a file that becomes the outcome's `out`. A run that does not end within
    // ten seconds is a hang: it is stopped and reported.
    ToolOutcome runTool(const std::string& tool, std::vector<std::string> args,
                        const std::string& output = {})
    {
        const std::string program = std::string(ORVANE_PROGRAM_DIR "/") + tool;
        const std::string outPath = output.empty() ? m_dir + "/.stdout" : output;
        const std::string errPath = m_dir + "/.stderr";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, m_dir.c_str());
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        args.insert(args.begin(), program);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        ToolOutcome outcome;
        const int spawned =
            posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            ADD_FAILURE() << "cannot start " << program;
            return outcome;
        }
        int status = 0;
        for (int waited = 0; waitpid(pid, &status, WNOHANG) == 0; ++waited) {
            if (waited == 1000) {
                ::kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                ADD_FAILURE() << tool << " did not end";
                break;
            }
            ::usleep(10000);
        }
        outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (output.empty())
            outcome.out = slurp(outPath);
        outcome.err = slurp(errPath);
        return outcome;
    }

    std::string m_dir;
};
