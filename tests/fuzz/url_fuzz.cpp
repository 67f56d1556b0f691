// Any URL: parsing never fails, its path always begins and ends with "/",
// and preparing a request either fails with the client's own failure or
// yields a request line without line breaks.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "http/http_errors.h"
#include "http/request.h"
#include "http/url.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nestova::http;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const Url url = ParseUrl(text);
  if (url.path.empty() || url.path.front() != '/' || url.path.back() != '/') std::abort();
  if (url.host.find('/') != std::string::npos || url.document.find('/') != std::string::npos)
    std::abort();
  try {
    const PreparedRequest request = PrepareRequest(text);
    const size_t end = request.head.find("\r\n\r\n");
    if (end == std::string::npos || end + 4 != request.head.size()) std::abort();
    const std::string requestLine = request.head.substr(0, request.head.find("\r\n"));
    if (requestLine.find('\n') != std::string::npos || requestLine.find('\r') != std::string::npos)
      std::abort();
  } catch (const HttpError&) {
  }
  return 0;
}
