#include "labels/qr_code.h"

#include <array>
#include <bit>
#include <cstdlib>
#include <limits>

namespace kalvor {
namespace {

// Level M, versions 1-10: check codewords per block and number of blocks.
constexpr int kEccPerBlock[kMaxQrVersion + 1] = {0, 10, 16, 26, 18, 24, 16, 18, 22, 22, 26};
constexpr int kBlocks[kMaxQrVersion + 1] = {0, 1, 1, 1, 2, 2, 4, 4, 4, 5, 5};
// The format information's two bits for level M.
constexpr int kLevelMBits = 0;

constexpr int kPenaltyN1 = 3;
constexpr int kPenaltyN2 = 3;
constexpr int kPenaltyN3 = 40;
constexpr int kPenaltyN4 = 10;

// Modules of a version that carry codewords (and remainder bits).
int rawDataModules(int version) {
  int result = (16 * version + 128) * version + 64;
  if (version >= 2) {
    const int align = version / 7 + 2;
    result -= (25 * align - 10) * align - 55;
    if (version >= 7) result -= 36;
  }
  return result;
}

int dataCodewords(int version) {
  return rawDataModules(version) / 8 - kEccPerBlock[version] * kBlocks[version];
}

// Centre coordinates of the alignment patterns of a version.
std::vector<int> alignmentPositions(int version) {
  if (version == 1) return {};
  const int count = version / 7 + 2;
  const int size = 17 + 4 * version;
  // Up to version 10 the steps are even and equal, counted back from the far edge.
  const int step = (version * 4 + count * 2 + 1) / (count * 2 - 2) * 2;
  std::vector<int> out(static_cast<std::size_t>(count));
  out[0] = 6;
  for (int i = count - 1, pos = size - 7; i >= 1; --i, pos -= step) out[static_cast<std::size_t>(i)] = pos;
  return out;
}

// GF(256) with the polynomial x^8 + x^4 + x^3 + x^2 + 1, by logarithms.
struct GaloisTables {
  std::array<std::uint8_t, 512> exp{};
  std::array<int, 256> log{};
  GaloisTables() {
    int x = 1;
    for (int i = 0; i < 255; ++i) {
      exp[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(x);
      log[static_cast<std::size_t>(x)] = i;
      x <<= 1;
      if (x & 0x100) x ^= 0x11D;
    }
    for (int i = 255; i < 512; ++i) exp[static_cast<std::size_t>(i)] = exp[static_cast<std::size_t>(i - 255)];
  }
};

std::uint8_t gfMultiply(std::uint8_t a, std::uint8_t b) {
  static const GaloisTables t;
  if (a == 0 || b == 0) return 0;
  return t.exp[static_cast<std::size_t>(t.log[a] + t.log[b])];
}

// The generator polynomial of `degree` check codewords, highest power first, leading 1 left out.
std::vector<std::uint8_t> rsGenerator(int degree) {
  std::vector<std::uint8_t> result(static_cast<std::size_t>(degree), 0);
  result.back() = 1;
  std::uint8_t root = 1;
  for (int i = 0; i < degree; ++i) {
    for (std::size_t j = 0; j < result.size(); ++j) {
      result[j] = gfMultiply(result[j], root);
      if (j + 1 < result.size()) result[j] ^= result[j + 1];
    }
    root = gfMultiply(root, 0x02);
  }
  return result;
}

std::vector<std::uint8_t> rsRemainder(std::span<const std::uint8_t> data,
                                      const std::vector<std::uint8_t>& generator) {
  std::vector<std::uint8_t> result(generator.size(), 0);
  for (std::uint8_t b : data) {
    const std::uint8_t factor = b ^ result.front();
    result.erase(result.begin());
    result.push_back(0);
    for (std::size_t i = 0; i < result.size(); ++i) result[i] ^= gfMultiply(generator[i], factor);
  }
  return result;
}

class Symbol {
 public:
  explicit Symbol(int version)
      : version_(version),
        size_(17 + 4 * version),
        modules_(static_cast<std::size_t>(size_ * size_), 0),
        function_(static_cast<std::size_t>(size_ * size_), 0) {}

  void set(int x, int y, bool dark, bool function) {
    modules_[index(x, y)] = dark ? 1 : 0;
    if (function) function_[index(x, y)] = 1;
  }
  bool dark(int x, int y) const { return modules_[index(x, y)] != 0; }
  bool isFunction(int x, int y) const { return function_[index(x, y)] != 0; }
  int size() const { return size_; }
  std::vector<std::uint8_t>& modules() { return modules_; }

  void drawFunctionPatterns() {
    for (int i = 0; i < size_; ++i) {
      set(6, i, i % 2 == 0, true);
      set(i, 6, i % 2 == 0, true);
    }
    drawFinder(3, 3);
    drawFinder(size_ - 4, 3);
    drawFinder(3, size_ - 4);
    const std::vector<int> align = alignmentPositions(version_);
    const std::size_t n = align.size();
    for (std::size_t i = 0; i < n; ++i)
      for (std::size_t j = 0; j < n; ++j) {
        // The three corners with finder patterns carry none.
        if ((i == 0 && j == 0) || (i == 0 && j == n - 1) || (i == n - 1 && j == 0)) continue;
        for (int dy = -2; dy <= 2; ++dy)
          for (int dx = -2; dx <= 2; ++dx)
            set(align[i] + dx, align[j] + dy, std::max(std::abs(dx), std::abs(dy)) != 1, true);
      }
    drawFormatBits(0);  // reserves the area; the real bits come with the mask
    drawVersion();
  }

  void drawFormatBits(int mask) {
    forEachFormatModule(mask, [this](int x, int y, bool dark) { set(x, y, dark, true); });
  }

  // Hands each of the 31 format modules for `mask` to visit(x, y, dark).
  template <typename Visit>
  void forEachFormatModule(int mask, Visit visit) const {
    const int data = kLevelMBits << 3 | mask;
    int rem = data;
    for (int i = 0; i < 10; ++i) rem = (rem << 1) ^ ((rem >> 9) * 0x537);
    const int bits = (data << 10 | rem) ^ 0x5412;
    auto bit = [bits](int i) { return ((bits >> i) & 1) != 0; };
    for (int i = 0; i <= 5; ++i) visit(8, i, bit(i));
    visit(8, 7, bit(6));
    visit(8, 8, bit(7));
    visit(7, 8, bit(8));
    for (int i = 9; i < 15; ++i) visit(14 - i, 8, bit(i));
    for (int i = 0; i < 8; ++i) visit(size_ - 1 - i, 8, bit(i));
    for (int i = 8; i < 15; ++i) visit(8, size_ - 15 + i, bit(i));
    visit(8, size_ - 8, true);
  }

  void drawCodewords(const std::vector<std::uint8_t>& data) {
    std::size_t i = 0;
    const std::size_t bits = data.size() * 8;
    for (int right = size_ - 1; right >= 1; right -= 2) {
      if (right == 6) right = 5;  // the vertical timing pattern
      for (int vert = 0; vert < size_; ++vert) {
        for (int j = 0; j < 2; ++j) {
          const int x = right - j;
          const bool upward = ((right + 1) & 2) == 0;
          const int y = upward ? size_ - 1 - vert : vert;
          if (!isFunction(x, y) && i < bits) {
            modules_[index(x, y)] = (data[i >> 3] >> (7 - (i & 7))) & 1;
            ++i;
          }
        }
      }
    }
  }

  // The modules each of the eight masks inverts: bit m of a module's byte is
  // set where mask m's condition holds and the module is not part of a
  // function pattern.
  std::vector<std::uint8_t> maskPatterns() const {
    std::vector<std::uint8_t> p(modules_.size(), 0);
    for (int y = 0; y < size_; ++y)
      for (int x = 0; x < size_; ++x) {
        if (function_[index(x, y)]) continue;
        const int sum2 = (x + y) % 2, sum3 = (x + y) % 3, xy2 = x * y % 2, xy3 = x * y % 3;
        const bool conditions[8] = {
            sum2 == 0,      y % 2 == 0,           x % 3 == 0,           sum3 == 0, (x / 3 + y / 2) % 2 == 0,
            xy2 + xy3 == 0, (xy2 + xy3) % 2 == 0, (sum2 + xy3) % 2 == 0};
        std::uint8_t bits = 0;
        for (int m = 0; m < 8; ++m) bits |= static_cast<std::uint8_t>(conditions[m] << m);
        p[index(x, y)] = bits;
      }
    return p;
  }

  // Inverts the modules of mask `mask` of maskPatterns(); applying it twice undoes it.
  void applyMask(const std::vector<std::uint8_t>& patterns, int mask) {
    for (std::size_t i = 0; i < modules_.size(); ++i) modules_[i] ^= (patterns[i] >> mask) & 1;
  }

 private:
  std::size_t index(int x, int y) const { return static_cast<std::size_t>(y * size_ + x); }

  void drawFinder(int cx, int cy) {
    for (int dy = -4; dy <= 4; ++dy)
      for (int dx = -4; dx <= 4; ++dx) {
        const int x = cx + dx, y = cy + dy;
        if (x < 0 || x >= size_ || y < 0 || y >= size_) continue;
        const int d = std::max(std::abs(dx), std::abs(dy));
        set(x, y, d != 2 && d != 4, true);
      }
  }

  void drawVersion() {
    if (version_ < 7) return;
    int rem = version_;
    for (int i = 0; i < 12; ++i) rem = (rem << 1) ^ ((rem >> 11) * 0x1F25);
    const long bits = static_cast<long>(version_) << 12 | rem;
    for (int i = 0; i < 18; ++i) {
      const bool b = ((bits >> i) & 1) != 0;
      const int a = size_ - 11 + i % 3, c = i / 3;
      set(a, c, b, true);
      set(c, a, b, true);
    }
  }

  int version_;
  int size_;
  std::vector<std::uint8_t> modules_;
  std::vector<std::uint8_t> function_;
};

// The data codewords: mode, count, bytes, terminator and padding.
std::vector<std::uint8_t> dataCodewordsOf(std::span<const std::uint8_t> data, int version) {
  std::vector<bool> bits;
  auto append = [&bits](unsigned value, int count) {
    for (int i = count - 1; i >= 0; --i) bits.push_back(((value >> i) & 1) != 0);
  };
  append(0x4, 4);  // byte mode
  append(static_cast<unsigned>(data.size()), version < 10 ? 8 : 16);
  for (std::uint8_t b : data) append(b, 8);
  const std::size_t capacity = static_cast<std::size_t>(dataCodewords(version)) * 8;
  append(0, static_cast<int>(std::min<std::size_t>(4, capacity - bits.size())));
  while (bits.size() % 8 != 0) bits.push_back(false);
  for (unsigned pad = 0xEC; bits.size() < capacity; pad ^= 0xEC ^ 0x11) append(pad, 8);
  std::vector<std::uint8_t> out(bits.size() / 8, 0);
  for (std::size_t i = 0; i < bits.size(); ++i)
    if (bits[i]) out[i >> 3] |= static_cast<std::uint8_t>(0x80 >> (i & 7));
  return out;
}

// Splits into blocks, adds the check codewords and interleaves.
std::vector<std::uint8_t> withErrorCorrection(const std::vector<std::uint8_t>& data, int version) {
  const int blocks = kBlocks[version];
  const int ecc = kEccPerBlock[version];
  const int raw = rawDataModules(version) / 8;
  const int shortBlocks = blocks - raw % blocks;
  const int shortData = raw / blocks - ecc;
  const std::vector<std::uint8_t> generator = rsGenerator(ecc);
  std::vector<std::vector<std::uint8_t>> dataBlocks, eccBlocks;
  std::size_t k = 0;
  for (int i = 0; i < blocks; ++i) {
    const std::size_t len = static_cast<std::size_t>(shortData + (i < shortBlocks ? 0 : 1));
    dataBlocks.emplace_back(data.begin() + static_cast<std::ptrdiff_t>(k),
                            data.begin() + static_cast<std::ptrdiff_t>(k + len));
    k += len;
    eccBlocks.push_back(rsRemainder(dataBlocks.back(), generator));
  }
  std::vector<std::uint8_t> out;
  for (int i = 0; i <= shortData; ++i)
    for (const auto& b : dataBlocks)
      if (static_cast<std::size_t>(i) < b.size()) out.push_back(b[static_cast<std::size_t>(i)]);
  for (int i = 0; i < ecc; ++i)
    for (const auto& b : eccBlocks) out.push_back(b[static_cast<std::size_t>(i)]);
  return out;
}

// The last seven run lengths of a line, newest first, and the count of
// finder-like runs 1:1:3:1:1 with four light modules on one side.
struct RunHistory {
  int h0 = 0, h1 = 0, h2 = 0, h3 = 0, h4 = 0, h5 = 0, h6 = 0;
  void push(int length, int size) {
    // The light border beyond the symbol counts as part of the first run.
    if (h0 == 0) length += size;
    h6 = h5;
    h5 = h4;
    h4 = h3;
    h3 = h2;
    h2 = h1;
    h1 = h0;
    h0 = length;
  }
  int finderPatterns() const {
    const int n = h1;
    if (n <= 0 || h2 != n || h3 != n * 3 || h4 != n || h5 != n) return 0;
    return (h0 >= n * 4 && h6 >= n ? 1 : 0) + (h6 >= n * 4 && h0 >= n ? 1 : 0);
  }
};

// Penalties N1 and N3 of one row or column packed into bits (bit i =
// module i dark). Runs are found from the bits where neighbours differ,
// which keeps the loop free of a branch on every module that random data
// would mispredict half the time.
int linePenalty(std::uint64_t line, int size) {
  int result = 0;
  RunHistory history;
  bool dark = (line & 1) != 0;
  // The light border before the line is a run of its own when the line starts dark.
  if (dark) {
    history.push(0, size);
    result += history.finderPatterns() * kPenaltyN3;
  }
  int previous = 0;
  std::uint64_t changes = (line ^ (line >> 1)) & ((std::uint64_t{1} << (size - 1)) - 1);
  while (changes != 0) {
    const int i = std::countr_zero(changes);
    const int length = i + 1 - previous;
    result += length >= 5 ? kPenaltyN1 + length - 5 : 0;  // N1: one more for each further module
    history.push(length, size);
    if (!dark) result += history.finderPatterns() * kPenaltyN3;
    previous = i + 1;
    changes &= changes - 1;
    dark = !dark;
  }
  // The light border after the line ends the last run.
  const int last = size - previous;
  result += last >= 5 ? kPenaltyN1 + last - 5 : 0;
  if (dark) {
    history.push(last, size);
    history.push(size, size);
  } else {
    history.push(last + size, size);
  }
  return result + history.finderPatterns() * kPenaltyN3;
}

}  // namespace

namespace {

// The modules of a symbol as bits, by row and by column (size at most 57,
// so that a row or column fits in 64 bits).
struct Planes {
  std::array<std::uint64_t, 64> rows{}, columns{};
  void put(int x, int y, bool dark) {
    const std::uint64_t bit = std::uint64_t{1} << x, columnBit = std::uint64_t{1} << y;
    auto& row = rows[static_cast<std::size_t>(y)];
    auto& column = columns[static_cast<std::size_t>(x)];
    row = dark ? row | bit : row & ~bit;
    column = dark ? column | columnBit : column & ~columnBit;
  }
  void flip(const Planes& other) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
      rows[i] ^= other.rows[i];
      columns[i] ^= other.columns[i];
    }
  }
};

Planes planesOf(const std::uint8_t* m, int size) {
  Planes planes;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const std::uint64_t bit = m[y * size + x] & 1u;
      planes.rows[static_cast<std::size_t>(y)] |= bit << x;
      planes.columns[static_cast<std::size_t>(x)] |= bit << y;
    }
  return planes;
}

// The modules each mask inverts, one pass over maskPatterns().
std::array<Planes, 8> maskPlanesOf(const std::vector<std::uint8_t>& patterns, int size) {
  std::array<Planes, 8> planes;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      for (unsigned p = patterns[static_cast<std::size_t>(y * size + x)]; p != 0; p &= p - 1) {
        Planes& mask = planes[static_cast<std::size_t>(std::countr_zero(p))];
        mask.rows[static_cast<std::size_t>(y)] |= std::uint64_t{1} << x;
        mask.columns[static_cast<std::size_t>(x)] |= std::uint64_t{1} << y;
      }
  return planes;
}

int penaltyOf(const Planes& planes, int size) {
  int result = 0;
  long dark = 0;
  const std::uint64_t pairs = (std::uint64_t{1} << (size - 1)) - 1;
  for (int i = 0; i < size; ++i) {
    const std::uint64_t a = planes.rows[static_cast<std::size_t>(i)];
    result += linePenalty(a, size) + linePenalty(planes.columns[static_cast<std::size_t>(i)], size);
    dark += std::popcount(a);
    if (i + 1 == size) break;
    // N2: 2 × 2 blocks of one colour: both rows match their right
    // neighbours and each other.
    const std::uint64_t b = planes.rows[static_cast<std::size_t>(i + 1)];
    const std::uint64_t same = ~(a ^ b) & ~(a ^ (a >> 1)) & ~(b ^ (b >> 1));
    result += std::popcount(same & pairs) * kPenaltyN2;
  }
  const long total = static_cast<long>(size) * size;
  const long k = (std::labs(dark * 20 - total * 10) + total - 1) / total - 1;
  return result + static_cast<int>(k) * kPenaltyN4;
}

}  // namespace

int qrPenalty(const QrCode& code) { return penaltyOf(planesOf(code.modules.data(), code.size), code.size); }

int qrByteCapacity(int version) {
  if (version < 1 || version > kMaxQrVersion) return 0;
  return (dataCodewords(version) * 8 - 4 - (version < 10 ? 8 : 16)) / 8;
}

std::optional<QrCode> encodeQrCode(std::span<const std::uint8_t> data, int minVersion, int mask) {
  if (minVersion < 1 || minVersion > kMaxQrVersion || mask < -1 || mask > 7) return std::nullopt;
  int version = minVersion;
  while (version <= kMaxQrVersion && static_cast<int>(data.size()) > qrByteCapacity(version)) ++version;
  if (version > kMaxQrVersion) return std::nullopt;

  Symbol symbol(version);
  symbol.drawFunctionPatterns();
  symbol.drawCodewords(withErrorCorrection(dataCodewordsOf(data, version), version));

  QrCode code;
  code.version = version;
  code.size = symbol.size();
  const std::vector<std::uint8_t> patterns = symbol.maskPatterns();
  if (mask < 0) {
    // Each mask is weighed on bit planes: the unmasked symbol with the
    // mask's modules inverted and its format bits drawn.
    const Planes unmasked = planesOf(symbol.modules().data(), symbol.size());
    const std::array<Planes, 8> masks = maskPlanesOf(patterns, symbol.size());
    int best = std::numeric_limits<int>::max();
    for (int m = 0; m < 8; ++m) {
      Planes planes = unmasked;
      planes.flip(masks[static_cast<std::size_t>(m)]);
      symbol.forEachFormatModule(m, [&planes](int x, int y, bool dark) { planes.put(x, y, dark); });
      const int penalty = penaltyOf(planes, symbol.size());
      if (penalty < best) {
        best = penalty;
        mask = m;
      }
    }
  }
  symbol.applyMask(patterns, mask);
  symbol.drawFormatBits(mask);
  code.mask = mask;
  code.modules = symbol.modules();
  return code;
}

std::optional<QrCode> encodeQrCode(std::string_view data, int minVersion, int mask) {
  return encodeQrCode(
      std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()),
      minVersion, mask);
}

}  // namespace kalvor
