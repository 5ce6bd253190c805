#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // Windows of one test must not end the run when they close.
    QApplication::setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
