#include "platform/dsound/dsound.h"

#include <gtest/gtest.h>

namespace zandrel::dsound {
namespace {

TEST(MixerGains, Placeholder) { EXPECT_EQ(MixerVolume(0), 128); }

}  // namespace
}  // namespace zandrel::dsound
