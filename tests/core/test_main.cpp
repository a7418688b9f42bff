#include <gtest/gtest.h>
#include <unicode/uloc.h>

#include <clocale>
#include <cstdlib>

int main(int argc, char** argv) {
    // Headword order follows the user's collation locale: pin it to Japanese.
    setenv("LC_ALL", "ja_JP.UTF-8", 1);
    setenv("TZ", "UTC", 1);
    UErrorCode err = U_ZERO_ERROR;
    uloc_setDefault("ja_JP", &err);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
