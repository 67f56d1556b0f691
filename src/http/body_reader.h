#pragma once
// The framing of a response body: chunked, a known length, or up to the end
// of the connection. A body that is cut short is a failure, never a result.
#include <chrono>
#include <optional>
#include <string_view>

#include "http/byte_sink.h"
#include "http/response_head.h"
#include "http/response_reader.h"

namespace nestova::http {

enum class BodyWait {
  kUnlimited,
  // For statuses that should carry no body: a body that is not chunked is
  // read only when data is there within kBriefWait.
  kBrief,
};

inline constexpr std::chrono::milliseconds kBriefWait{100};

// Reads the body into `sink`; at most kMaxBodyBytes reach it.
void ReadBody(ResponseReader& reader, const BodyFraming& framing, ByteSink& sink, BodyWait wait);

// The size of a chunk-size line: the hexadecimal digits before ";", a blank
// or a tab. nullopt when there are none, something else, or too many.
std::optional<uint64_t> ChunkSize(std::string_view line);

}  // namespace nestova::http
