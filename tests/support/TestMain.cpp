#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

// One main for every test program: stable locale and a real (offscreen) application object,
// so widgets, fonts and SQL drivers behave as in the product.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
        qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
