// Constants of the paged record store files "kalvor.fs" (localities),
// "kalvor.st" (specimens) and "kalvor.vi" (value index). The layout is
// described in docs/formats/collection_files.md.
#pragma once

#include <cstdint>

namespace kalvor::store_format {

// File header: count word, free-list head, then the page directory.
inline constexpr std::uint32_t kCountOffset = 0;
inline constexpr std::uint32_t kFreeHeadOffset = 4;
inline constexpr std::uint32_t kDirectoryOffset = 8;

// A slot page holds 256 u32 slots (file offsets of blocks or entries).
inline constexpr std::uint32_t kSlotsPerPage = 256;
inline constexpr std::uint32_t kSlotPageBytes = kSlotsPerPage * 4;
// Record number to page: (n AND kPageNumberMask) >> 8, taken as 16 bits.
inline constexpr std::uint32_t kPageNumberMask = 0x3FFFFFFF;

// Block header: owner u32 (0 = free), units u16; a free block adds next u32.
inline constexpr std::uint32_t kBlockHeaderBytes = 6;
inline constexpr std::uint32_t kFreeBlockHeaderBytes = 10;
inline constexpr std::uint32_t kBlockOwnerOffset = 0;
inline constexpr std::uint32_t kBlockUnitsOffset = 4;
inline constexpr std::uint32_t kBlockNextOffset = 6;

// Directory sizes.
inline constexpr std::uint32_t kLocalityDirectorySize = 2048;
inline constexpr std::uint32_t kSpecimenDirectorySize = 2048;
inline constexpr std::uint32_t kValueIndexDirectorySize = 256;

// Count word masks: only these low bits hold the count.
inline constexpr std::uint32_t kLocalityCountMask = 0xFFFF;
inline constexpr std::uint32_t kSpecimenCountMask = 0x7FFFF;
inline constexpr std::uint32_t kValueIndexCountMask = 0xFFFF;
// "kalvor.vi" only: bit 31 of the count word is set while the index is being
// changed; readers that mask the count never see it.
inline constexpr std::uint32_t kValueIndexDirtyBit = 0x80000000u;

// Payload unit sizes.
inline constexpr std::uint32_t kRecordUnitBytes = 256;  // locality and specimen blocks
inline constexpr std::uint32_t kBitmapUnitBytes = 64;   // bitmap blocks of "kalvor.vi"

// Value-index entries are stored whole (no block header) at their slot's offset.
inline constexpr std::uint32_t kIndexEntryBytes = 62;
inline constexpr std::uint32_t kIndexEntryBitmapOffset = 4;

// Units of a locality record: L = text length without its zero, M minerals, K specimens.
constexpr std::uint32_t localityUnits(std::uint32_t textLength, std::uint32_t minerals,
                                      std::uint32_t specimens) {
  return (textLength + 2 * minerals + 4 * specimens + 478) / 256;
}
// Units of a specimen record: L = text length without its zero, M minerals.
constexpr std::uint32_t specimenUnits(std::uint32_t textLength, std::uint32_t minerals) {
  return (textLength + 2 * minerals + 432) / 256;
}

// File names in the working (data) folder.
inline constexpr const char* kLocalityFileName = "kalvor.fs";
inline constexpr const char* kSpecimenFileName = "kalvor.st";
inline constexpr const char* kValueIndexFileName = "kalvor.vi";

}  // namespace kalvor::store_format
