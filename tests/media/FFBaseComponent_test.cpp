// Types shared by the media components match FFmpeg's codes.
#include "media/FFBaseComponent.h"

#include <gtest/gtest.h>

#include <cstdint>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
}

using namespace vantrel::media;

TEST(FFBaseComponent, SeekFlagsAndPictureTypesAreFFmpegCodes) {
  EXPECT_EQ(SeekFlagsToInt({}), 0);
  EXPECT_EQ(SeekFlagsToInt({sfBackward}), AVSEEK_FLAG_BACKWARD);
  EXPECT_EQ(SeekFlagsToInt({sfByte}), AVSEEK_FLAG_BYTE);
  EXPECT_EQ(SeekFlagsToInt({sfAny}), AVSEEK_FLAG_ANY);
  EXPECT_EQ(SeekFlagsToInt({sfFrame}), AVSEEK_FLAG_FRAME);
  EXPECT_EQ(SeekFlagsToInt({sfBackward, sfFrame}), AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_FRAME);

  EXPECT_EQ(int(ptUnknown), AV_PICTURE_TYPE_NONE);
  EXPECT_EQ(int(ptI), AV_PICTURE_TYPE_I);
  EXPECT_EQ(int(ptB), AV_PICTURE_TYPE_B);
  EXPECT_EQ(int(ptBI), AV_PICTURE_TYPE_BI);
}
