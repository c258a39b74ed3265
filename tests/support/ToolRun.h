#pragma once
// Runs the real spanwick-measure as a user or a script runs it, in a
// folder of the test's own: its standard output, standard error and exit
// status.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

struct ToolOutcome {
    int status = -1;
    std::string out;
    std::string err;
};

class ToolRun : public testing::Test {
protected:
    std::filesystem::path folder = std::filesystem::temp_directory_path() /
        ("spanwick-tool-" + std::to_string(::getpid()) + "-" +
         testing::UnitTest::GetInstance()->current_test_info()->name());

    void SetUp() override { std::filesystem::create_directories(folder); }
    void TearDown() override { std::filesystem::remove_all(folder); }

    static std::string read(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Writes the file into the test's folder; returns its path.
    std::string write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return (folder / name).string();
    }

    // A path of the test's folder, quoted for the shell.
    std::string quoted(const std::string& name) const
    {
        std::string text(1, '\'');
        text += (folder / name).string();
        return text += '\'';
    }

    // Runs the tool through the shell with the given arguments and
    // redirections; stdout goes to a file unless the arguments redirect it.
    ToolOutcome run(const std::string& arguments, bool captureOut = true) const
    {
        const std::filesystem::path out = folder / "stdout", err = folder / "stderr";
        std::string command = std::string("'") + SPANWICK_MEASURE + "' " + arguments;
        if (captureOut)
            command += " >'" + out.string() + "'";
        command += " 2>'" + err.string() + "'";
        ToolOutcome result;
        const int status = std::system(command.c_str());
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = captureOut ? read(out) : std::string();
        result.err = read(err);
        return result;
    }
};
