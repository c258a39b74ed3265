#pragma once
// Standard output that notices when it cannot be written: a full disk,
// /dev/full, a closed descriptor. The first failure is kept and reported
// when the program ends, as a write error with the system's reason.

#include <string>
#include <string_view>

namespace tool {

class StandardOutput {
public:
    ~StandardOutput();

    void write(std::string_view text);

    // Writes what is buffered and closes standard output. False when any
    // write failed; then reason() says why.
    bool finish();
    std::string reason() const;

private:
    void flush();

    std::string buffer_;
    int error_ = 0;
    bool finished_ = false;
};

}  // namespace tool
