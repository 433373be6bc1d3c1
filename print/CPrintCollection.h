#pragma once

#include <cstdint>
#include <string>

// The collection of texts to print ("tisk.tmp"): 62-byte records, each a line of 60 characters
// and CR LF. Read one record at a time from a read position. User-interface thread only.
class CPrintCollection {
public:
    static constexpr int kRecordSize = 62;
    static constexpr int kLineLength = 60;

    explicit CPrintCollection(std::string path);

    // The number of whole records in the file (0 when it cannot be read).
    int Records() const;
    // The next record's text: its 60 bytes up to the first zero byte, empty when it cannot be
    // read. Advances the read position by one record either way.
    std::string ReadRecord();
    void Rewind() { readPosition = 0; }

private:
    std::string file;
    std::int64_t readPosition = 0;
};
