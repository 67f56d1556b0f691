#include <gtest/gtest.h>

#include "driver.h"

namespace e2e {
namespace {

class Desktop : public testing::Environment {
 public:
  void SetUp() override { PrepareDesktop(); }
};

const testing::Environment* const kDesktop =
    testing::AddGlobalTestEnvironment(new Desktop);  // gtest owns it

}  // namespace
}  // namespace e2e
