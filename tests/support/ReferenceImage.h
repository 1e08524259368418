#pragma once
// Holds a rendered picture to a reference picture a person has looked at and
// committed under tests/references/, within a tolerance: anti-aliasing that
// moves a channel by a few steps passes, a moved, missing or recoloured part
// does not. On a mismatch the actual picture and a difference picture (the
// reference faded, differing pixels red) are written to screenshots/ in the
// test's working folder, to look at.
//
// With OSTREL_UPDATE_REFERENCES=1 in the environment the actual picture
// becomes the reference instead (scripts/update-references.sh does that for
// every screenshot test, on purpose, after a change of look).

#include <gtest/gtest.h>

#include <QImage>
#include <QString>

namespace test_support {

::testing::AssertionResult MatchesReference(const QImage& AActual, const QString& AName, int AChannelTolerance = 8,
                                             int AAllowedPixels = 0);

}  // namespace test_support
