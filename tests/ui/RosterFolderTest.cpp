#include "ui/RosterFolder.h"

#include <QtGlobal>
#include <gtest/gtest.h>

namespace zelkor::ui {
namespace {

TEST(RosterFolder, ArgumentBeforeEnvironmentBeforeWorkingDirectory) {
    const QByteArray saved = qgetenv("ZELKOR_ROSTERS");
    qputenv("ZELKOR_ROSTERS", "/from/environment");
    EXPECT_EQ(rosterFolder({"zelkor", "/from/argument"}).folder, "/from/argument");
    EXPECT_EQ(rosterFolder({"zelkor"}).folder, "/from/environment");
    qunsetenv("ZELKOR_ROSTERS");
    EXPECT_EQ(rosterFolder({"zelkor"}).folder, ".");
    if (!saved.isNull()) {
        qputenv("ZELKOR_ROSTERS", saved);
    }
}

} // namespace
} // namespace zelkor::ui
