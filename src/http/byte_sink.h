#pragma once
// Where a response body goes: appended to whatever the sink holds already.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace nestova::http {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void Append(std::span<const uint8_t> bytes) = 0;
  // `count` more bytes are announced; a hint, never a promise.
  virtual void Reserve(size_t count) { (void)count; }
};

class VectorSink final : public ByteSink {
 public:
  explicit VectorSink(std::vector<uint8_t>& bytes) : bytes_(bytes) {}
  void Append(std::span<const uint8_t> bytes) override {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  }
  void Reserve(size_t count) override { bytes_.reserve(bytes_.size() + count); }

 private:
  std::vector<uint8_t>& bytes_;
};

// Takes bytes and keeps none.
class DiscardSink final : public ByteSink {
 public:
  void Append(std::span<const uint8_t>) override {}
};

}  // namespace nestova::http
