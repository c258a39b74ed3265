// A regular file that changes while it is read is noticed: by its size,
// and by its modification time when the size stays the same.

#include "InputStream.h"
#include "MeasureFixture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

using namespace fixture;

namespace {

constexpr timespec opened{1'000'000'000, 500};  // the time the file has when opened

void setModified(const std::string& path, timespec when)
{
    const timespec times[2] = {{0, UTIME_OMIT}, when};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

struct ChangeCase {
    const char* name;
    std::function<void(const std::string& path)> change;
    bool readAll;  // whether every byte was read
    bool changed;
};

void PrintTo(const ChangeCase& c, std::ostream* out) { *out << c.name; }

class InputStreamChange : public testing::TestWithParam<ChangeCase> {};

TEST_P(InputStreamChange, IsNoticed)
{
    TempDir dir;
    const std::string content = "first line\nsecond line\n";
    const std::string path = dir.write(content);
    setModified(path, opened);

    engine::InputStream stream;
    ASSERT_EQ(stream.open({path, false}), 0);
    std::string buffer(content.size() + 16, '\0');
    std::size_t got = 0;
    ASSERT_EQ(stream.read(reinterpret_cast<unsigned char*>(buffer.data()), buffer.size(), got, {}),
              engine::InputStream::Read::Data);
    ASSERT_EQ(got, content.size());

    GetParam().change(path);
    EXPECT_EQ(stream.changed(GetParam().readAll ? got : got - 1), GetParam().changed);
}

void rewriteAByte(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, "F", 1, 0), 1);  // "first" becomes "First": same size
    ::close(fd);
}

INSTANTIATE_TEST_SUITE_P(
    Files, InputStreamChange,
    testing::Values(
        ChangeCase{"Untouched", [](const std::string&) {}, true, false},
        ChangeCase{"LineAppended", [](const std::string& path) { std::ofstream(path, std::ios::app) << "x\n"; }, true,
                   true},
        ChangeCase{"ByteRewrittenInPlace", rewriteAByte, true, true},
        ChangeCase{"ByteRewrittenAndTheTimePutBack",  // nothing left to notice: the limit of the check
                   [](const std::string& path) {
                       rewriteAByte(path);
                       setModified(path, opened);
                   },
                   true, false},
        ChangeCase{"OnlyTheSecondsMoved",
                   [](const std::string& path) { setModified(path, {opened.tv_sec + 1, opened.tv_nsec}); }, true, true},
        ChangeCase{"OnlyTheNanosecondsMoved",
                   [](const std::string& path) { setModified(path, {opened.tv_sec, opened.tv_nsec + 1}); }, true, true},
        ChangeCase{"FewerBytesThanTheSize", [](const std::string&) {}, false, true}),
    [](const testing::TestParamInfo<ChangeCase>& info) { return std::string(info.param.name); });

}  // namespace
