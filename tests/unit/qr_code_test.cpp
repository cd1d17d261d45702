// The QR code encoder against the reference tools: `qrencode` must produce
// the same modules for the same text, version, level and mask, and
// `zbarimg` must read our symbols back.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "labels/qr_code.h"
#include "test_files.h"

namespace kalvor {
namespace {

using testing::ScratchDir;

// The output of a shell command; nothing when it could not run or failed.
std::optional<std::string> run(const std::string& command) {
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return std::nullopt;
  std::string out;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  if (pclose(pipe) != 0) return std::nullopt;
  return out;
}

bool haveTool(const char* name) {
  return run(std::string("command -v ") + name + " >/dev/null 2>&1 && echo yes").value_or("") == "yes\n";
}

// A symbol as qrencode draws it with "-t ASCII -m 0": two characters per module, '#' dark.
struct Reference {
  int size = 0;
  std::vector<std::uint8_t> modules;
  bool dark(int x, int y) const { return modules[static_cast<std::size_t>(y * size + x)] != 0; }
};

std::optional<Reference> qrencode(const ScratchDir& dir, const std::string& data, int version) {
  const std::string input = dir.file("input.bin");
  std::ofstream(input, std::ios::binary) << data;
  const std::optional<std::string> out =
      run("qrencode -t ASCII -m 0 -l M -8 -v " + std::to_string(version) + " -r '" + input + "' -o -");
  if (!out) return std::nullopt;
  Reference r;
  std::size_t start = 0;
  while (start < out->size()) {
    const std::size_t end = out->find('\n', start);
    const std::string line = out->substr(start, end - start);
    start = end == std::string::npos ? out->size() : end + 1;
    if (line.empty()) continue;
    r.size = static_cast<int>(line.size() / 2);
    for (std::size_t i = 0; i + 1 < line.size(); i += 2) r.modules.push_back(line[i] == '#' ? 1 : 0);
  }
  if (r.size == 0 || r.modules.size() != static_cast<std::size_t>(r.size * r.size)) return std::nullopt;
  return r;
}

// The mask of a symbol, read from its first copy of the format information.
int maskOf(const Reference& r) {
  int bits = 0;
  auto put = [&](int i, int x, int y) { bits |= (r.dark(x, y) ? 1 : 0) << i; };
  for (int i = 0; i <= 5; ++i) put(i, 8, i);
  put(6, 8, 7);
  put(7, 8, 8);
  put(8, 7, 8);
  for (int i = 9; i < 15; ++i) put(i, 14 - i, 8);
  return ((bits ^ 0x5412) >> 10) & 7;
}

const std::vector<std::string>& samples() {
  static const std::vector<std::string> s = {
      "Quarz",
      "A12: Cornwallit, Malachit, Agardit-(Ce), Baryt, Fluorit",
      "\xC3\x84-7: Pyromorphit, Quarz",  // UTF-8, as the labels encode it
      std::string("\x00\xFF\x10 binary", 10),
      std::string(100, 'x'),
      std::string(213, 'Z'),
  };
  return s;
}

TEST(QrCode, CapacityOfLevelMInByteMode) {
  const int expected[] = {14, 26, 42, 62, 84, 106, 122, 152, 180, 213};
  for (int v = 1; v <= 10; ++v) EXPECT_EQ(qrByteCapacity(v), expected[v - 1]) << "version " << v;
  EXPECT_TRUE(encodeQrCode(std::string(213, 'a')));
  EXPECT_FALSE(encodeQrCode(std::string(214, 'a')));
  EXPECT_FALSE(encodeQrCode("x", 11));
  EXPECT_FALSE(encodeQrCode("x", 1, 8));
  const std::optional<QrCode> small = encodeQrCode(std::string(14, 'a'));
  ASSERT_TRUE(small);
  EXPECT_EQ(small->version, 1);
  EXPECT_EQ(small->size, 21);
  EXPECT_EQ(encodeQrCode(std::string(15, 'a'))->version, 2);
}

TEST(QrCode, SameModulesAsQrencodeForEveryVersionAndItsMask) {
  ASSERT_TRUE(haveTool("qrencode")) << "qrencode is installed by scripts/common.sh";
  ScratchDir dir;
  int compared = 0;
  for (const std::string& text : samples()) {
    for (int v = 1; v <= kMaxQrVersion; ++v) {
      if (static_cast<int>(text.size()) > qrByteCapacity(v)) continue;
      const std::optional<Reference> ref = qrencode(dir, text, v);
      ASSERT_TRUE(ref) << "qrencode failed for version " << v;
      ASSERT_EQ(ref->size, 17 + 4 * v);
      const int mask = maskOf(*ref);
      const std::optional<QrCode> ours = encodeQrCode(text, v, mask);
      ASSERT_TRUE(ours);
      ASSERT_EQ(ours->version, v);
      ASSERT_EQ(ours->size, ref->size);
      EXPECT_EQ(ours->modules, ref->modules) << "text \"" << text << "\" version " << v << " mask " << mask;
      ++compared;
    }
  }
  // qrencode weighs the penalty rules its own way, so it does not always
  // choose the mask the standard rules choose; the modules for a given
  // mask are what must agree.
  EXPECT_GE(compared, 30);
}

TEST(QrCode, AllEightMasksDifferAndKeepTheFunctionPatterns) {
  const std::string text = "A12: Cornwallit, Malachit";
  std::vector<std::vector<std::uint8_t>> seen;
  for (int m = 0; m < 8; ++m) {
    const std::optional<QrCode> code = encodeQrCode(text, 1, m);
    ASSERT_TRUE(code);
    EXPECT_EQ(code->mask, m);
    for (const auto& other : seen) EXPECT_NE(code->modules, other);
    seen.push_back(code->modules);
    // Finder patterns: the dark ring and the 3 × 3 core in three corners.
    for (auto [cx, cy] : {std::pair{3, 3}, {code->size - 4, 3}, {3, code->size - 4}}) {
      EXPECT_TRUE(code->dark(cx, cy));
      EXPECT_TRUE(code->dark(cx - 3, cy - 3));
      EXPECT_FALSE(code->dark(cx - 2, cy));
    }
    // The dark module beside the lower finder.
    EXPECT_TRUE(code->dark(8, code->size - 8));
  }
  // The chosen mask is the one with the least penalty.
  const std::optional<QrCode> best = encodeQrCode(text);
  for (int m = 0; m < 8; ++m) EXPECT_LE(qrPenalty(*best), qrPenalty(*encodeQrCode(text, 1, m)));
}

TEST(QrCode, ZbarReadsOurSymbolsBack) {
  ASSERT_TRUE(haveTool("zbarimg")) << "zbar-tools is installed by scripts/common.sh";
  ScratchDir dir;
  for (const std::string& text :
       {std::string("Quarz"), std::string("\xC3\x84-7: Pyromorphit, Quarz, Grube Clara"),
        std::string(150, 'k')}) {
    const std::optional<QrCode> code = encodeQrCode(text);
    ASSERT_TRUE(code);
    // A grey map, four pixels per module and a quiet zone of four modules.
    constexpr int kScale = 4, kQuiet = 4;
    const int side = (code->size + 2 * kQuiet) * kScale;
    const std::string path = dir.file("code.pgm");
    {
      std::ofstream out(path, std::ios::binary);
      out << "P5\n" << side << " " << side << "\n255\n";
      for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
          const int mx = x / kScale - kQuiet, my = y / kScale - kQuiet;
          const bool dark = mx >= 0 && my >= 0 && mx < code->size && my < code->size && code->dark(mx, my);
          out.put(static_cast<char>(dark ? 0 : 255));
        }
    }
    const std::optional<std::string> read = run("zbarimg -q --raw '" + path + "' 2>/dev/null");
    ASSERT_TRUE(read) << "zbarimg found no code for version " << code->version;
    EXPECT_EQ(*read, text + "\n");
  }
}

}  // namespace
}  // namespace kalvor
