// A FileLayer that passes everything to another one and injects faults at
// chosen points: a short write (a full disk), a failed sync, or a crash
// after which nothing more reaches the files, optionally tearing the write
// under way at a sector boundary. Every change to a file (a write, a
// truncation, a create, remove or rename) is one numbered write point, so a
// test can run a sequence of operations once to count its points and then
// crash it at every one of them.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/file_layer.h"

namespace kalvor {

struct FaultPlan {
  // A full disk from this write point (from 1) on, for one failure: the
  // first write at or after it that would lengthen a file stores what falls
  // inside the file and half of the rest, and reports failure; a create or
  // rename there is not made. Writes inside a file, truncations and removals
  // need no new space and go through, as on a real full disk. 0 = none.
  std::uint64_t shortWriteAt = 0;
  // Sync (from 1) that reports failure. 0 = none.
  std::uint64_t failSyncAt = 0;
  // Crash after this many write points have been made: every later call
  // fails and changes nothing. Nothing = no crash.
  std::optional<std::uint64_t> crashAfter;
  // With a crash: the write at the crash point is applied up to the last
  // 512-byte sector boundary it crosses (a power cut in the middle of it).
  bool tornWrite = false;

  static FaultPlan shortWrite(std::uint64_t point) {
    FaultPlan p;
    p.shortWriteAt = point;
    return p;
  }
  static FaultPlan failedSync(std::uint64_t sync) {
    FaultPlan p;
    p.failSyncAt = sync;
    return p;
  }
  static FaultPlan crash(std::uint64_t after, bool torn = false) {
    FaultPlan p;
    p.crashAfter = after;
    p.tornWrite = torn;
    return p;
  }
};

class FaultyFileLayer final : public FileLayer {
 public:
  // `inner` is not owned and must outlive this layer and every file opened through it.
  FaultyFileLayer(FileLayer& inner, FaultPlan plan);

  std::unique_ptr<RandomAccessFile> openFile(const std::string& path, FileAccess access) override;
  std::unique_ptr<RandomAccessFile> createFile(const std::string& path) override;
  FilePresence presence(const std::string& path) override;
  bool removeFile(const std::string& path) override;
  bool renameFile(const std::string& from, const std::string& to) override;
  bool setReadOnly(const std::string& path, bool readOnly) override;

  // Write points made (or attempted) so far.
  std::uint64_t writePoints() const;
  std::uint64_t syncs() const;
  bool crashed() const;
  // True once the planned short write or failed sync has happened.
  bool faultInjected() const;

  struct State;

 private:
  std::shared_ptr<State> state_;
};

}  // namespace kalvor
