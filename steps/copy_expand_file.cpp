// The file copy primitive, used by the file copy step and the script
// staging.
#include "steps/copy_expand_file.hpp"

#include <array>
#include <cstring>
#include <utility>

namespace install {

namespace {

// Closes an LZ handle when it goes; a negative value holds nothing.
class LzHandle {
public:
    LzHandle(ILzExpand& lz, int handle) : lz_(lz), handle_(handle) {}
    LzHandle(const LzHandle&) = delete;
    LzHandle& operator=(const LzHandle&) = delete;
    ~LzHandle() { Reset(); }

    explicit operator bool() const { return handle_ >= 0; }
    int Get() const { return handle_; }
    void Reset() {
        if (handle_ >= 0) {
            lz_.Close(std::exchange(handle_, -1));
        }
    }

private:
    ILzExpand& lz_;
    int handle_;
};

// Header of a compressed file: magic, method, the last character of the
// name, and the expanded size, least significant byte first.
constexpr std::array<unsigned char, 8> kCompressedMagic = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
constexpr std::size_t kHeaderSize = 14;

}  // namespace

std::optional<std::uint32_t> DeclaredExpandedSize(IFiles& files, const std::string& path) {
    const auto file = files.Open(path, FileMode::Read);
    if (!file) {
        return std::nullopt;
    }
    std::array<unsigned char, kHeaderSize> header{};
    std::size_t got = 0;
    while (got < header.size()) {
        const auto n = file->Read(reinterpret_cast<char*>(header.data()) + got, header.size() - got);
        if (n <= 0) {
            return std::nullopt;
        }
        got += static_cast<std::size_t>(n);
    }
    if (std::memcmp(header.data(), kCompressedMagic.data(), kCompressedMagic.size()) != 0) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(header[10]) | static_cast<std::uint32_t>(header[11]) << 8 |
           static_cast<std::uint32_t>(header[12]) << 16 | static_cast<std::uint32_t>(header[13]) << 24;
}

int CopyExpandFile(ILzExpand& lz, IFiles& files, const char* source, const char* destination,
                   int mode) {
    if (source == nullptr || destination == nullptr) {
        return COPY_BAD_ARGS;
    }
    if (mode == 1 && lz.Open(destination, LzOpenMode::Exist) >= 0) {
        return COPY_TARGET_EXISTS;
    }
    LzHandle from(lz, lz.Open(source, LzOpenMode::Read));
    if (!from) {
        return COPY_NO_SOURCE;
    }
    LzHandle to(lz, lz.Open(destination, LzOpenMode::Create));
    if (!to) {
        return COPY_NO_TARGET;
    }
    const std::int32_t written = lz.Copy(from.Get(), to.Get());
    from.Reset();
    to.Reset();
    // The library does not report compressed data that ends early: the
    // header says how much should have come out.
    const auto declared = written < 0 ? std::nullopt : DeclaredExpandedSize(files, source);
    if (written < 0 || (declared && static_cast<std::uint32_t>(written) != *declared)) {
        files.Remove(destination);
        return COPY_TRANSFER_FAILED;
    }
    return COPY_OK;
}

}  // namespace install
