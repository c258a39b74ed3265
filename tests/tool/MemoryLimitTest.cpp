// The tool under a limit on address space: more threads than memory allows
// measure on fewer, and say so, rather than refusing the data.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

#if !defined(__SANITIZE_ADDRESS__)
std::string read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
#endif

TEST(MemoryLimit, TooManyThreadsFallBackToFewer)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer needs more address space than any limit leaves";
#else
    const fs::path folder = fs::temp_directory_path() / ("spanwick-limit-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    {
        std::ofstream data(folder / "data.txt", std::ios::binary);
        for (int i = 0; i < 400000; ++i)
            data << "a line of some width " << i << "\n";
    }
    // 160 MB of address space: room for the data on a few threads, not for
    // 64 threads' stacks and buffers.
    const std::string command = "ulimit -v 160000 && '" + std::string(SPANWICK_MEASURE) + "' --threads 64 --json '" +
                                (folder / "data.txt").string() + "' >'" + (folder / "out").string() + "' 2>'" +
                                (folder / "err").string() + "'";
    const int status = std::system(command.c_str());
    const std::string out = read(folder / "out"), err = read(folder / "err");
    fs::remove_all(folder);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << err;
    EXPECT_NE(out.find("\"LineCount\":400000"), std::string::npos);
    EXPECT_NE(err.find("not 64: there is not enough memory for more"), std::string::npos) << err;
#endif
}

}  // namespace
