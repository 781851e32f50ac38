#pragma once

// Intel HEX text of an assembled program: data records of up to 16 bytes, a new
// record at every gap in the addresses, in the order the bytes arrive, then the
// end record. Lines end with CR LF.

#include "Assembly.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class IntelHexWriter {
  public:
    // Room is made for `expectedBytes` in full records.
    explicit IntelHexWriter(std::size_t expectedBytes = 0);

    // Appends one byte at `address`, starting a new record at a gap or when full.
    void emitHexByte(std::uint32_t address, std::uint8_t value);
    // Writes the pending data record, if any.
    void flushHexRecord();
    // The whole file: every record, then the end record.
    std::string finish();

    static constexpr std::size_t maxRecordBytes = 16;
    static constexpr const char* endRecord = ":00000001FF\r\n";

  private:
    std::vector<std::uint8_t> hexRecord;
    std::int64_t hexLastAddress = -2;
    std::string text;
};

// The whole HEX file of the bytes a run of `program` hands out.
std::string intelHexOf(const Assembly& program);

// `path` with its extension (the text from the last "." behind the last "/")
// replaced by `extension`, or `extension` appended when there is none.
std::string replaceExtension(const std::string& path, const std::string& extension);

// The HEX file beside a source file.
inline std::string hexPathFor(const std::string& sourcePath) {
    return replaceExtension(sourcePath, ".hex");
}

// Reads an Intel HEX file: data records (type 00), the end record (01), and
// extended segment and linear addresses (02, 04); start addresses (03, 05) are
// skipped. Hands every byte to `sink` with its address. On a fault returns
// false with the line (1-based; 0 when it is the whole file's) and the reason.
bool readIntelHex(std::string_view text,
                  const std::function<void(std::uint32_t address, std::uint8_t byte)>& sink,
                  std::size_t& faultLine, std::string& reason);
