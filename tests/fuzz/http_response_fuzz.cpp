// Any server answer, handed out in reads of sizes the input picks: the
// client either succeeds with a body within its bound or fails with one of
// its own failures, sends exactly one request, and never reads past the end.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "http/byte_sink.h"
#include "http/http_client.h"
#include "http/http_errors.h"
#include "http/http_limits.h"
#include "support/memory_socket.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nestova;
  if (size < 1) return 0;
  auto wire = std::make_shared<testing::MemoryWire>();
  // The first byte picks the read size (0: whatever the client asks for)
  // and whether the server stays silent at the end instead of closing.
  const uint8_t control = data[0];
  if (control & 0x7F) wire->readSizes = {static_cast<size_t>(control & 0x7F)};
  wire->silentAtEnd = (control & 0x80) != 0;
  wire->input.assign(reinterpret_cast<const char*>(data + 1), size - 1);

  std::vector<uint8_t> body;
  http::VectorSink sink(body);
  bool ok = false;
  {
    http::HttpClient client(testing::MemorySockets(wire));
    try {
      client.Get("http://update.example.com/dataversion/nsv.txt", sink);
      ok = true;
    } catch (const http::HttpError&) {
      // Every failure the client knows is one of these.
    }
  }
  if (wire->sends.size() != 1 || wire->socketsMade != 1) std::abort();
  if (wire->delivered > wire->input.size()) std::abort();
  if (body.size() > http::kMaxBodyBytes) std::abort();
  if (body.size() > wire->input.size()) std::abort();
  (void)ok;
  return 0;
}
