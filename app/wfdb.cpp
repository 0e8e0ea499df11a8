#include "app/wfdb.h"

#include <string>

namespace {
std::string& searchPath()
{
    static std::string path;
    return path;
}
} // namespace

void setwfdb(const char* path)
{
    searchPath() = path ? path : "";
}

const char* getwfdb()
{
    return searchPath().c_str();
}
