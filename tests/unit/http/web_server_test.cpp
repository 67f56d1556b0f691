// The client against a real web server, Debian's busybox httpd, for plain files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "http/http_client.h"
#include "http/system_socket.h"
#include "http/text_decoding.h"
#include "http/update_file.h"
#include "support/http_outcome.h"
#include "support/static_web_server.h"

namespace nestova::http {
namespace {

namespace fs = std::filesystem;
using testing::Fetch;
using testing::Ok;
using testing::Outcome;

class WebServer : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::path(::testing::TempDir()) /
              ("nestova-http-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "dataversion");
  }
  void TearDown() override { fs::remove_all(folder_); }

  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
  }
  std::string Url(const testing::StaticWebServer& server, std::string_view path) {
    return "http://127.0.0.1:" + std::to_string(server.Port()) + std::string(path);
  }

  fs::path folder_;
};

TEST_F(WebServer, FetchesFilesByteForByte) {
  std::string binary(300000, '\0');  // several receive blocks
  std::mt19937 random(7);
  for (char& c : binary) c = static_cast<char>(random());
  Write("big.bin", binary);
  Write("empty.txt", "");
  testing::StaticWebServer server(NESTOVA_BUSYBOX, folder_.string());

  HttpClient client(SystemSocketFactory());
  EXPECT_EQ(Fetch(client, Url(server, "/big.bin")), Ok(binary));
  HttpClient second(SystemSocketFactory());
  EXPECT_EQ(Fetch(second, Url(server, "/empty.txt")), Ok(""));
}

TEST_F(WebServer, UpdateFileFromTheServer) {
  Write("dataversion/nsv.txt",
        "\xEF\xBB\xBF"
        "DataVersion\r\n11\r\nVersion 1.1\r\nhttp://www.example.com/download\r\n");
  testing::StaticWebServer server(NESTOVA_BUSYBOX, folder_.string());

  std::vector<uint8_t> body;
  VectorSink sink(body);
  HttpClient client(SystemSocketFactory());
  client.Get(Url(server, "/dataversion/nsv.txt"), sink);
  const auto latin1 = [](std::span<const uint8_t> bytes) { return DecodeLatin1(bytes); };
  EXPECT_EQ(DecodeUpdateFile(body, 10, latin1),
            (UpdateNotice{u"Version 1.1", u"http://www.example.com/download"}));
  EXPECT_EQ(DecodeUpdateFile(body, 11, latin1), std::nullopt);
}

TEST_F(WebServer, MissingFileIsAProtocolErrorWithThePageAsText) {
  testing::StaticWebServer server(NESTOVA_BUSYBOX, folder_.string());
  HttpClient client(SystemSocketFactory());
  const Outcome outcome = Fetch(client, Url(server, "/dataversion/missing.txt"));
  EXPECT_EQ(outcome.kind, Outcome::Kind::kProtocol);
  EXPECT_EQ(outcome.number, 404);
  EXPECT_EQ(outcome.message.substr(0, 13), "HTTP/1.1 404 ");  // the status line as it came
  EXPECT_NE(outcome.errorText.find(u"404"), std::u16string::npos);
  EXPECT_EQ(outcome.body, "");
}

TEST_F(WebServer, FolderWithoutSlashIsARedirectThatIsNotFollowed) {
  fs::create_directories(folder_ / "sub");
  Write("sub/index.html", "inside");
  testing::StaticWebServer server(NESTOVA_BUSYBOX, folder_.string());
  HttpClient client(SystemSocketFactory());
  const Outcome outcome = Fetch(client, Url(server, "/sub"));
  EXPECT_EQ(outcome.kind, Outcome::Kind::kProtocol);
  EXPECT_EQ(outcome.number, 302);  // busybox sends "302 Found" to the folder with its slash
  EXPECT_EQ(outcome.body, "");
}

}  // namespace
}  // namespace nestova::http
