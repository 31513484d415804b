// The test programs of the windows run inside a Qt application (offscreen platform unless the
// environment asks for another, e.g. xcb under Xvfb for screenshots).
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char* argv[]) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("Faturamento");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
