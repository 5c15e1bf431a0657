#include "stream/progress.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(Progress, PercentAndLabelsCountFromTheStartOfTheJob) {
    // Third file of a job: 2 files of 1 GiB before, sector 262144 (512 MiB).
    const uint64_t pos = jobPositionKiB(262144, 2 * 1048576);
    EXPECT_EQ(pos, 2u * 1048576 + 524288);
    const uint8_t pct = progressPercent(pos, 3 * 1048576);
    EXPECT_EQ(pct, 83);
    EXPECT_EQ(progressPositionLabel(pos, 3 * 1048576, pct), "2560/3072 MB (83%)");
    EXPECT_EQ(progressTitle("Orvane 0.97b", pct), "Orvane - 83%");
}

TEST(Progress, EmptyOrGrownFilesKeepThePercentInRange) {
    EXPECT_EQ(progressPercent(10, 0), 0);
    EXPECT_EQ(progressPercent(5000, 1000), 100);
}

TEST(Progress, RemainingTimeBlendsWithTheLastRate) {
    RemainingTimeEstimator e;
    e.start(0);
    // 20 MiB in 2000 ms: 100 ms per MiB; 80 MiB left.
    EXPECT_EQ(e.update(2000, 20480, 102400), 100 * 80);
    // Next 20 MiB in 2400 ms: 120 ms/MiB, close to 100, so (120 + 200) / 3.
    EXPECT_EQ(e.update(4400, 40960, 102400), 106 * 60);
    // A rate far from the last one is taken as it is.
    EXPECT_EQ(e.update(4400 + 20480, 61440, 102400), 1024 * 40);
    // No progress: counts one KiB.
    EXPECT_GE(e.update(4400 + 20480 + 10, 61440, 102400), 0);
}

}  // namespace
}  // namespace orvane
