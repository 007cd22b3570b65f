#include <clocale>

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    // Before the QApplication: also the listing of the cases at build time has no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // QApplication took the number format from the environment; the engine wants "C".
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
