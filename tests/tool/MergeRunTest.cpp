// --merge, run as a user or a cluster's reducer runs it: parts that belong
// together merge to the whole, and anything --histogram did not write is
// refused with the part's name and what is wrong.

#include "ToolRun.h"

#include <string>

namespace {

class MergeRun : public ToolRun {
protected:
    // The --histogram output for data measured with the given options.
    std::string histogram(const std::string& name, const std::string& data, const std::string& options)
    {
        write(name, data);
        const ToolOutcome part = run("--histogram " + options + " " + quoted(name));
        EXPECT_EQ(part.status, 0) << part.err;
        return part.out;
    }
};

TEST_F(MergeRun, ASizeWithALeadingZeroIsThatSize)
{
    write("a.json", histogram("a.txt", "abc\nde\n", "--face 'DejaVu Sans' --size 010"));
    write("b.json", histogram("b.txt", "fgh\n", "--face 'DejaVu Sans' --size 10"));
    const ToolOutcome merged = run("--merge " + quoted("a.json") + " " + quoted("b.json"));
    EXPECT_EQ(merged.status, 0) << merged.err;
    EXPECT_NE(merged.out.find("Font Size: 10\r\n"), std::string::npos) << merged.out;
}

}  // namespace
