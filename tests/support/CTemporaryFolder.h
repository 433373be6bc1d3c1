#pragma once

#include <string>

// A fresh folder under the system's temporary directory, removed with its contents at the end.
class CTemporaryFolder {
public:
    CTemporaryFolder();
    ~CTemporaryFolder();
    CTemporaryFolder(const CTemporaryFolder&) = delete;
    CTemporaryFolder& operator=(const CTemporaryFolder&) = delete;

    // The folder followed by "/".
    const std::string& Path() const { return path; }
    std::string File(const std::string& name) const { return path + name; }

private:
    std::string path;
};

// Whole-file helpers for tests.
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
