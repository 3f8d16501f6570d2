// The command line's tests read its texts in English, as `--lang en` shows them; the Chinese ones are read
// from the program itself (program_test.cpp).
#include <QCoreApplication>
#include <gtest/gtest.h>

#include "panel/interface_language.h"

int main(int argc, char* argv[]) {
    ::testing::InitGoogleTest(&argc, argv);
    const QCoreApplication app(argc, argv);
    if (!lq::InstallInterfaceLanguage(lq::InterfaceLanguage::English)) return 1;
    return RUN_ALL_TESTS();
}
