#include "DataFileName.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>

namespace tool {

namespace {

bool sameFile(const char* a, const char* b)
{
    struct stat first {}, second {};
    return ::stat(a, &first) == 0 && ::stat(b, &second) == 0 && first.st_dev == second.st_dev
        && first.st_ino == second.st_ino;
}

}  // namespace

std::string absoluteName(const std::string& given)
{
    namespace fs = std::filesystem;
    const fs::path path(given);
    if (path.is_absolute())
        return path.lexically_normal().string();
    std::error_code error;
    fs::path folder = fs::current_path(error);
    if (error) {
        // getcwd() cannot give a path longer than PATH_MAX; the shell's
        // $PWD can, once it is known to be this folder.
        const char* pwd = std::getenv("PWD");
        if (!pwd || pwd[0] != '/' || !sameFile(pwd, "."))
            return given;
        folder = pwd;
    }
    return (folder / path).lexically_normal().string();
}

}  // namespace tool
