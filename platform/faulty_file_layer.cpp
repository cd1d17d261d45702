#include "platform/faulty_file_layer.h"

namespace kalvor {

struct FaultyFileLayer::State {
  FileLayer& inner;
  FaultPlan plan;
  std::uint64_t points = 0;
  std::uint64_t syncs = 0;
  bool crashed = false;
  bool injected = false;

  enum class Verdict { kApply, kFail, kCrash };
  // Numbers the next write point and tells what becomes of it; `needsSpace`:
  // the change would take more room on the disk.
  Verdict nextPoint(bool needsSpace) {
    if (crashed) return Verdict::kFail;
    if (plan.crashAfter && points >= *plan.crashAfter) {
      crashed = true;
      ++points;
      return Verdict::kCrash;
    }
    ++points;
    if (needsSpace && plan.shortWriteAt != 0 && points >= plan.shortWriteAt && !injected) {
      injected = true;
      return Verdict::kFail;
    }
    return Verdict::kApply;
  }
};

namespace {

constexpr std::uint64_t kSectorBytes = 512;

class FaultyFile final : public RandomAccessFile {
 public:
  FaultyFile(std::unique_ptr<RandomAccessFile> inner, std::shared_ptr<FaultyFileLayer::State> state)
      : inner_(std::move(inner)), state_(std::move(state)) {}

  bool readAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    return !state_->crashed && inner_->readAt(offset, out);
  }

  bool writeAt(std::uint64_t offset, std::span<const std::uint8_t> data) override {
    const std::uint64_t length = state_->crashed ? 0 : inner_->size().value_or(0);
    const bool lengthens = offset + data.size() > length;
    switch (state_->nextPoint(lengthens)) {
      case FaultyFileLayer::State::Verdict::kApply:
        return inner_->writeAt(offset, data);
      case FaultyFileLayer::State::Verdict::kFail:
        // Only the full disk stores a part; a crashed layer stores nothing.
        if (!state_->crashed) {
          const std::uint64_t inside = offset < length ? length - offset : 0;
          const std::uint64_t kept = inside + (data.size() - inside) / 2;
          inner_->writeAt(offset, data.first(static_cast<std::size_t>(kept)));
        }
        return false;
      case FaultyFileLayer::State::Verdict::kCrash: {
        // The last sector the write touches is the one that does not make it.
        const std::uint64_t boundary =
            data.empty() ? offset : (offset + data.size() - 1) / kSectorBytes * kSectorBytes;
        if (state_->plan.tornWrite && boundary > offset) {
          inner_->writeAt(offset, data.first(static_cast<std::size_t>(boundary - offset)));
        }
        return false;
      }
    }
    return false;
  }

  std::optional<std::uint64_t> size() override {
    if (state_->crashed) return std::nullopt;
    return inner_->size();
  }

  bool truncate(std::uint64_t length) override {
    return state_->nextPoint(false) == FaultyFileLayer::State::Verdict::kApply && inner_->truncate(length);
  }

  bool sync() override {
    if (state_->crashed) return false;
    if (++state_->syncs == state_->plan.failSyncAt) {
      state_->injected = true;
      return false;
    }
    return inner_->sync();
  }

 private:
  std::unique_ptr<RandomAccessFile> inner_;
  std::shared_ptr<FaultyFileLayer::State> state_;
};

}  // namespace

FaultyFileLayer::FaultyFileLayer(FileLayer& inner, FaultPlan plan)
    : state_(std::make_shared<State>(State{inner, plan})) {}

std::unique_ptr<RandomAccessFile> FaultyFileLayer::openFile(const std::string& path, FileAccess access) {
  if (state_->crashed) return nullptr;
  std::unique_ptr<RandomAccessFile> file = state_->inner.openFile(path, access);
  if (!file) return nullptr;
  return std::make_unique<FaultyFile>(std::move(file), state_);
}

std::unique_ptr<RandomAccessFile> FaultyFileLayer::createFile(const std::string& path) {
  if (state_->nextPoint(true) != State::Verdict::kApply) return nullptr;
  std::unique_ptr<RandomAccessFile> file = state_->inner.createFile(path);
  if (!file) return nullptr;
  return std::make_unique<FaultyFile>(std::move(file), state_);
}

FilePresence FaultyFileLayer::presence(const std::string& path) {
  return state_->crashed ? FilePresence::kUnknown : state_->inner.presence(path);
}

bool FaultyFileLayer::removeFile(const std::string& path) {
  return state_->nextPoint(false) == State::Verdict::kApply && state_->inner.removeFile(path);
}

bool FaultyFileLayer::renameFile(const std::string& from, const std::string& to) {
  return state_->nextPoint(true) == State::Verdict::kApply && state_->inner.renameFile(from, to);
}

bool FaultyFileLayer::setReadOnly(const std::string& path, bool readOnly) {
  return !state_->crashed && state_->inner.setReadOnly(path, readOnly);
}

std::uint64_t FaultyFileLayer::writePoints() const { return state_->points; }
std::uint64_t FaultyFileLayer::syncs() const { return state_->syncs; }
bool FaultyFileLayer::crashed() const { return state_->crashed; }
bool FaultyFileLayer::faultInjected() const { return state_->injected; }

}  // namespace kalvor
