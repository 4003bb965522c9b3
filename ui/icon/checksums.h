// The two checksums a PNG file needs: CRC-32 (ISO 3309, as in PNG chunks and
// zlib's polynomial 0xEDB88320) and Adler-32 (the zlib stream trailer).
// Checksums only; nothing here compresses.
#pragma once

#include <cstddef>
#include <cstdint>

// `crc` continues an earlier call; start with 0.
std::uint32_t Crc32(const unsigned char* data, std::size_t size,
                    std::uint32_t crc = 0);

std::uint32_t Adler32(const unsigned char* data, std::size_t size);
