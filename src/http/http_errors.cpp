#include "http/http_errors.h"

#include <algorithm>
#include <iterator>

namespace nestova::http {
namespace {

struct ErrorText {
  int number;
  std::string_view text;
};

// Sorted by number.
constexpr ErrorText kSocketErrorTexts[] = {
    {10004, "Interrupted system call."},
    {10009, "Bad file number."},
    {10013, "Access denied."},
    {10014, "Bad address."},
    {10022, "Invalid argument."},
    {10024, "Too many open files."},
    {10035, "Operation would block."},
    {10036, "Operation now in progress."},
    {10037, "Operation already in progress."},
    {10038, "Socket operation on non-socket."},
    {10039, "Destination address required."},
    {10040, "Message too long."},
    {10041, "Protocol wrong type for socket."},
    {10042, "Bad protocol option."},
    {10043, "Protocol not supported."},
    {10044, "Socket type not supported."},
    {10045, "Operation not supported on socket."},
    {10046, "Protocol family not supported."},
    {10047, "Address family not supported by protocol family."},
    {10048, "Address already in use."},
    {10049, "Cannot assign requested address."},
    {10050, "Network is down."},
    {10051, "Network is unreachable."},
    {10052, "Net dropped connection or reset."},
    {10053, "Software caused connection abort."},
    {10054, "Connection reset by peer."},
    {10055, "No buffer space available."},
    {10056, "Socket is already connected."},
    {10057, "Socket is not connected."},
    {10058, "Cannot send or receive after socket is closed."},
    {10059, "Too many references, cannot splice."},
    {10060, "Connection timed out."},
    {10061, "Connection refused."},
    {10062, "Too many levels of symbolic links."},
    {10063, "File name too long."},
    {10064, "Host is down."},
    {10065, "No route to host."},
    {10066, "Directory not empty."},
    {10067, "Too many processes."},
    {10068, "Too many users."},
    {10069, "Disk quota exceeded."},
    {10070, "Stale NFS file handle."},
    {10071, "Too many levels of remote in path."},
    {10091, "Network subsystem is unavailable."},
    {10092, "Winsock version not supported."},
    {10093, "Winsock not initialized."},
    {10101, "Disconnect."},
    {10102, "No more results."},
    {10103, "Call cancelled."},
    {10104, "Invalid procedure table."},
    {10105, "Invalid service provider."},
    {10106, "Service provider failed to initialize."},
    {10107, "System call failure."},
    {10108, "Service not found."},
    {10109, "Class type not found."},
    {10110, "No more results."},
    {10111, "Call cancelled."},
    {10112, "Database query refused."},
    {11001, "Host not found."},
    {11002, "Non-authoritative host not found."},
    {11003, "Non-recoverable error."},
    {11004, "Valid name, no data record of requested type."},
};

static_assert(std::is_sorted(std::begin(kSocketErrorTexts), std::end(kSocketErrorTexts),
                             [](const ErrorText& a, const ErrorText& b) {
                               return a.number < b.number;
                             }));

std::string SocketErrorMessage(int number) {
  return "Socket Error # " + std::to_string(number) + "\r\n" + std::string(SocketErrorText(number));
}

}  // namespace

std::string_view SocketErrorText(int number) {
  const auto it =
      std::lower_bound(std::begin(kSocketErrorTexts), std::end(kSocketErrorTexts), number,
                       [](const ErrorText& entry, int wanted) { return entry.number < wanted; });
  if (it != std::end(kSocketErrorTexts) && it->number == number) return it->text;
  return "Unknown socket error.";
}

SocketError::SocketError(int number) : HttpError(SocketErrorMessage(number)), number_(number) {}

}  // namespace nestova::http
