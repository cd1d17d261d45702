// Offsets and sizes of the shipped reference files ("kalvor.mi", "kalvor.db",
// "kalvor.gl", "kalvor.lf", "kalvor.zi", "kalvor.pf", "logos.pf") and of the
// in-memory mineral record. docs/formats/reference_files.md explains them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kalvor::refformat {

// ---- File names (plain names, opened in the data folder) ----
inline constexpr const char* kIndexFileName = "kalvor.mi";
inline constexpr const char* kRecordFileName = "kalvor.db";
inline constexpr const char* kGlossaryFileName = "kalvor.gl";
inline constexpr const char* kDrawingFileName = "kalvor.lf";
inline constexpr const char* kPictureListFileName = "kalvor.zi";
inline constexpr const char* kPictureFileName = "kalvor.pf";
inline constexpr const char* kLogoFileName = "logos.pf";

// ---- kalvor.mi: u32 entry count N, then N u32 offsets into kalvor.db ----
inline constexpr std::size_t kIndexCountOffset = 0;
inline constexpr std::size_t kIndexTableOffset = 4;
// A MineralNumber is 16 bits and the name-list id (number + 1) must fit too.
inline constexpr std::uint32_t kMaxEntryCount = 0xFFFF;

// ---- Flag byte, the first byte of every kalvor.db entry ----
inline constexpr std::uint8_t kFlagImaRecognised = 0x01;
inline constexpr std::uint8_t kFlagNotImaRecognised = 0x02;
inline constexpr std::uint8_t kFlagUninterpreted04 = 0x04;
inline constexpr std::uint8_t kFlagDiscredited = 0x08;
inline constexpr std::uint8_t kFlagOtherStatus = 0x10;
inline constexpr std::uint8_t kFlagUninterpreted20 = 0x20;
inline constexpr std::uint8_t kFlagEnglishNames = 0x40;
inline constexpr std::uint8_t kFlagNoEntry = 0x80;  // never stored: number at or past N
inline constexpr std::uint8_t kFullMineralMask = 0x1B;

// ---- Full mineral entry (file offsets == in-memory record offsets) ----
inline constexpr std::size_t kFlagsOffset = 0;
inline constexpr std::size_t kNameOffset = 1;
inline constexpr std::size_t kNameSize = 40;
inline constexpr std::size_t kFormulaOffset = 41;
inline constexpr std::size_t kFormulaSize = 151;
inline constexpr std::size_t kHardnessMaxOffset = 192;  // half Mohs steps
inline constexpr std::size_t kHardnessMinOffset = 193;
inline constexpr std::size_t kDensityMinHundredthsOffset = 194;
inline constexpr std::size_t kDensityMinWholeOffset = 195;
inline constexpr std::size_t kDensityMaxHundredthsOffset = 196;
inline constexpr std::size_t kDensityMaxWholeOffset = 197;
inline constexpr std::size_t kColoursOffset = 198;
inline constexpr std::size_t kColourSlots = 20;  // i16 each
inline constexpr std::size_t kStreakOffset = 238;
inline constexpr std::size_t kStreakSlots = 4;  // i16 each
inline constexpr std::size_t kCrystalSystemsOffset = 248;
inline constexpr std::size_t kFractureOffset = 250;
inline constexpr std::size_t kTransparencyOffset = 252;
inline constexpr std::size_t kLustreOffset = 254;
inline constexpr std::size_t kCleavageOffset = 256;
inline constexpr std::size_t kStrunzOffset = 258;  // class, subclass, group, spare, i16 range end
inline constexpr std::size_t kStrunzSize = 6;
inline constexpr std::size_t kHeyOffset = 264;
inline constexpr std::size_t kHeySize = 3;
inline constexpr std::size_t kCrystalCountOffset = 268;
inline constexpr std::size_t kFixedPartOffset = 1;
inline constexpr std::size_t kFixedPartSize = 269;  // bytes 1..269, read as one block
inline constexpr std::size_t kCrystalDataOffset = 270;
inline constexpr std::size_t kCrystalEntrySize = 56;
inline constexpr std::size_t kMaxCrystalEntries = 6;
inline constexpr std::size_t kCrystalSlots = 7;  // room kept in memory

// ---- CrystalDataEntry (56 bytes) ----
inline constexpr std::size_t kCrystalClassesOffset = 0;  // u32 bit set
inline constexpr std::size_t kCrystalSpare4Offset = 4;
inline constexpr std::size_t kCrystalZOffset = 5;
inline constexpr std::size_t kCrystalFlagsOffset = 6;
inline constexpr std::size_t kCrystalSpare7Offset = 7;
inline constexpr std::size_t kCrystalCellOffset = 8;  // a0 b0 c0 alpha beta gamma, 6 doubles
inline constexpr std::uint8_t kCrystalClassDoubtful = 0x01;
inline constexpr std::uint8_t kCrystalClassOnly = 0x02;
inline constexpr std::uint8_t kCrystalKxUnits = 0x04;

// ---- In-memory MineralRecord (1684 bytes) ----
inline constexpr std::size_t kRecordSize = 1684;
inline constexpr std::size_t kEnglishNameOffset = 662;  // full mineral
inline constexpr std::size_t kEnglishNameSize = 40;
inline constexpr std::size_t kAliasTargetOffset = 41;
inline constexpr std::size_t kAliasTargetSize = 801;
inline constexpr std::size_t kEnglishAliasNameOffset = 842;
inline constexpr std::size_t kEnglishAliasNameSize = 40;
inline constexpr std::size_t kEnglishAliasTargetOffset = 882;
inline constexpr std::size_t kEnglishAliasTargetSize = 802;

// ---- Alias entry as stored ----
inline constexpr std::size_t kAliasLengthOffset = 41;  // u16 L1, then L1 bytes of target text

// ---- kalvor.gl: u16 count G, G u32 offsets; entry = u16 length + text ----
inline constexpr std::size_t kGlossaryTableOffset = 2;

// ---- kalvor.lf: 4-byte header, u32 block offset per MineralNumber ----
inline constexpr std::size_t kDrawingHeaderSize = 4;
inline constexpr std::size_t kMaxDrawings = 23;
inline constexpr std::size_t kDrawingSourceSize = 56;
inline constexpr std::size_t kSourceVolumeOffset = 1;  // u8
inline constexpr std::size_t kSourcePlateOffset = 2;   // u16
inline constexpr std::size_t kSourceFigureOffset = 4;  // u16
inline constexpr std::size_t kSourceNoteOffset = 6;    // text to the end of the 56 bytes
inline constexpr std::size_t kSourceNoteSize = 50;
inline constexpr std::uint16_t kDrawingPreparedBit = 0x8000;

// ---- kalvor.zi: u32 count K, K u32 offsets; block = i16 E, i16 number, E x 102 ----
inline constexpr std::size_t kPictureListTableOffset = 4;
inline constexpr std::size_t kPictureEntrySize = 102;
inline constexpr std::size_t kPictureEntryNumberOffset = 0;  // u16 picture number in kalvor.pf
inline constexpr std::size_t kPictureEntryCaptionOffset = 2;
inline constexpr std::size_t kPictureEntryCaptionSize = 100;

// ---- kalvor.pf / logos.pf: u32 count P, P u32 offsets; picture header ----
inline constexpr std::size_t kPictureTableOffset = 4;
inline constexpr std::size_t kPictureWidthOffset = 0;   // u16
inline constexpr std::size_t kPictureHeightOffset = 2;  // u16
inline constexpr std::size_t kPictureCaptionLengthOffset = 4;  // u8, caption follows
inline constexpr std::size_t kMaxPictureCaption = 255;
// A damaged header must not make the reader allocate without bound.
inline constexpr std::size_t kMaxPictureBitmapBytes = 32u * 1024u * 1024u;

}  // namespace kalvor::refformat
