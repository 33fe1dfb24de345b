#pragma once

// A temporary folder for tests that go through real files; removed with all
// its contents when the object goes out of scope.

#include <string>
#include <string_view>

namespace orvo::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder's path, ending with "/".
    const std::string& path() const { return m_path; }
    // path() + name
    std::string file(std::string_view name) const;
    // Writes bytes exactly as given (no line-end conversion); returns the path.
    std::string write(std::string_view name, std::string_view bytes) const;
    std::string read(std::string_view name) const;

private:
    std::string m_path;
};

// Reads a whole file as raw bytes; empty when it cannot be read.
std::string readBytes(const std::string& path);

} // namespace orvo::test
