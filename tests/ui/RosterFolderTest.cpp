#include "ui/RosterFolder.h"

#include <QtGlobal>
#include <gtest/gtest.h>

namespace zelkor::ui {
namespace {

TEST(RosterFolder, ArgumentBeforeEnvironmentBeforeWorkingDirectory) {
    const QByteArray saved = qgetenv("ZELKOR_ROSTERS");
    qputenv("ZELKOR_ROSTERS", "/from/environment");
    EXPECT_EQ(rosterFolder({"zelkor", "/from/argument"}), "/from/argument");
    EXPECT_EQ(rosterFolder({"zelkor"}), "/from/environment");
    qunsetenv("ZELKOR_ROSTERS");
    EXPECT_EQ(rosterFolder({"zelkor"}), ".");
    if (!saved.isNull()) {
        qputenv("ZELKOR_ROSTERS", saved);
    }
}

} // namespace
} // namespace zelkor::ui
